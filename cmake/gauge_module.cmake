# add_gauge_module(TARGET target NAME module_name RESOURCES file.rc SOURCES ...)
#
# A gauge module: on Windows the DLL NAME.gau with its bitmaps compiled from the resource script by
# windres; on Linux the shared object NAME.so that carries the same bitmaps as the stand-in's resource
# directory. Either way it exports only its records (and, on Linux, that directory).
function(add_gauge_module)
  cmake_parse_arguments(GM "" "TARGET;NAME;RESOURCES" "SOURCES" ${ARGN})
  add_library(${GM_TARGET} SHARED ${GM_SOURCES})
  target_link_libraries(${GM_TARGET} PRIVATE gauge_records win32_standin_headers)
  set_target_properties(${GM_TARGET} PROPERTIES
    OUTPUT_NAME ${GM_NAME}
    PREFIX ""
    CXX_VISIBILITY_PRESET hidden
    VISIBILITY_INLINES_HIDDEN ON
    RUNTIME_OUTPUT_DIRECTORY ${GAUGES_MODULE_DIR}
    LIBRARY_OUTPUT_DIRECTORY ${GAUGES_MODULE_DIR})
  get_filename_component(rc ${GM_RESOURCES} ABSOLUTE)
  get_filename_component(rc_dir ${rc} DIRECTORY)
  if(WIN32)
    set_target_properties(${GM_TARGET} PROPERTIES SUFFIX ".gau")
    if(MSVC)
      target_link_options(${GM_TARGET} PRIVATE /SUBSYSTEM:WINDOWS,5.01)
    else()
      target_link_options(${GM_TARGET} PRIVATE -Wl,--subsystem,windows)
    endif()
    target_sources(${GM_TARGET} PRIVATE ${rc})
    target_include_directories(${GM_TARGET} PRIVATE ${rc_dir})
  else()
    set_target_properties(${GM_TARGET} PROPERTIES SUFFIX ".so")
    # Bind the module's own symbols to itself: two modules never see each other's records.
    target_link_options(${GM_TARGET} PRIVATE -Wl,-Bsymbolic -Wl,--exclude-libs,ALL)
    file(STRINGS ${rc} rc_lines REGEX "BITMAP")
    set(bitmaps)
    foreach(line IN LISTS rc_lines)
      if(line MATCHES "\"([^\"]+)\"")
        list(APPEND bitmaps ${rc_dir}/${CMAKE_MATCH_1})
      endif()
    endforeach()
    set(generated ${CMAKE_CURRENT_BINARY_DIR}/${GM_TARGET}_resources.cpp)
    add_custom_command(
      OUTPUT ${generated}
      COMMAND ${CMAKE_COMMAND} -DRC=${rc} -DOUT=${generated} -P ${PROJECT_SOURCE_DIR}/cmake/embed_resources.cmake
      DEPENDS ${rc} ${bitmaps} ${PROJECT_SOURCE_DIR}/cmake/embed_resources.cmake
      COMMENT "Embedding the bitmaps of ${GM_NAME}")
    target_sources(${GM_TARGET} PRIVATE ${generated})
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${rc})
  endif()
endfunction()
