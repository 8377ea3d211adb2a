# Runs a generator that writes its files into a folder, and fails unless it writes exactly FILES
# and each equals the committed file of the same name.
#   cmake -DGENERATOR=... -DGENERATED_DIR=... -DCOMMITTED_DIR=... -DFILES=a.bmp,b.bmp -P check_generated_folder.cmake
# GENERATED_DIR is emptied first.
foreach(variable GENERATOR GENERATED_DIR COMMITTED_DIR FILES)
  if(NOT DEFINED ${variable})
    message(FATAL_ERROR "check_generated_folder.cmake needs -D${variable}=...")
  endif()
endforeach()
string(REPLACE "," ";" files "${FILES}")

file(REMOVE_RECURSE ${GENERATED_DIR})
file(MAKE_DIRECTORY ${GENERATED_DIR})
execute_process(COMMAND ${GENERATOR} ${GENERATED_DIR} RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "${GENERATOR} failed: ${result}")
endif()

file(GLOB written RELATIVE ${GENERATED_DIR} ${GENERATED_DIR}/*)
list(SORT written)
set(expected ${files})
list(SORT expected)
if(NOT written STREQUAL expected)
  message(FATAL_ERROR "${GENERATOR} wrote [${written}], expected [${expected}]")
endif()

set(stale "")
foreach(name IN LISTS files)
  execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${GENERATED_DIR}/${name} ${COMMITTED_DIR}/${name}
                  RESULT_VARIABLE differ)
  if(NOT differ EQUAL 0)
    list(APPEND stale ${name})
  endif()
endforeach()
if(stale)
  list(JOIN stale ", " stale)
  message(FATAL_ERROR "Not what the generator draws, in ${COMMITTED_DIR}: ${stale}. Regenerate them with:\n"
                      "  ${GENERATOR} ${COMMITTED_DIR}")
endif()
