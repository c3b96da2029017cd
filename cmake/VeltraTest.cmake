# veltra_add_library(NAME [EXCLUDE regex] LIBS lib...)
# A subsystem's library is every .cpp of its folder (but those matching EXCLUDE).
function(veltra_add_library name)
  cmake_parse_arguments(ARG "" "EXCLUDE" "LIBS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
  if(ARG_EXCLUDE)
    list(FILTER sources EXCLUDE REGEX "${ARG_EXCLUDE}")
  endif()
  if(NOT sources)
    # A subsystem whose first files have not come yet.
    add_library(${name} INTERFACE)
    target_link_libraries(${name} INTERFACE ${ARG_LIBS})
    return()
  endif()
  add_library(${name} STATIC ${sources})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
  target_link_libraries(${name} PUBLIC ${ARG_LIBS})
endfunction()

# veltra_add_tests(LIBS lib...)
# Every tst_*.cpp of the folder is one Qt Test executable (named after the file),
# run by CTest without a display; support files of tests/support are linked in.
function(veltra_add_tests)
  cmake_parse_arguments(ARG "" "" "LIBS" ${ARGN})
  file(GLOB tests CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/tst_*.cpp)
  foreach(test_source ${tests})
    get_filename_component(name ${test_source} NAME_WE)
    add_executable(${name} ${test_source})
    target_link_libraries(${name} PRIVATE Qt6::Test veltra_test_support ${ARG_LIBS})
    add_test(NAME ${name} COMMAND ${name})
    set_tests_properties(${name} PROPERTIES
      ENVIRONMENT "QT_QPA_PLATFORM=offscreen;FIREBIRD_LOCK=${CMAKE_BINARY_DIR}/firebird-lock"
      TIMEOUT 600)
  endforeach()
endfunction()

# veltra_add_server_test(TARGET)
# Runs a test program a second time against the Firebird server that scripts/test.sh starts
# (tests/support/on_server.sh); skipped when the run has none.
function(veltra_add_server_test target)
  add_test(NAME ${target}_server COMMAND bash ${PROJECT_SOURCE_DIR}/tests/support/on_server.sh $<TARGET_FILE:${target}>)
  set_tests_properties(${target}_server PROPERTIES
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;FIREBIRD_LOCK=${CMAKE_BINARY_DIR}/firebird-lock"
    SKIP_RETURN_CODE 77
    TIMEOUT 600)
endfunction()
