# Runs a generator into GENERATED and fails unless the result equals the committed file.
#   cmake -DGENERATOR=... -DGENERATED=... -DCOMMITTED=... -P check_generated_file.cmake
foreach(variable GENERATOR GENERATED COMMITTED)
  if(NOT DEFINED ${variable})
    message(FATAL_ERROR "check_generated_file.cmake needs -D${variable}=...")
  endif()
endforeach()

file(REMOVE ${GENERATED})
execute_process(COMMAND ${GENERATOR} ${GENERATED} RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "${GENERATOR} failed: ${result}")
endif()

execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${GENERATED} ${COMMITTED} RESULT_VARIABLE differ)
if(NOT differ EQUAL 0)
  message(FATAL_ERROR "${COMMITTED} is not what its generator draws. Regenerate it with:\n"
                      "  ${GENERATOR} ${COMMITTED}")
endif()
