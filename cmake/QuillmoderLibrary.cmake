# qm_library(NAME DEPS...): a static library of every .cc file in the calling
# folder; headers are included from src/ as "folder/header.h".
function(qm_library name)
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cc)
  list(FILTER sources EXCLUDE REGEX "/main\\.cc$")
  if(NOT sources)
    # A folder whose code is still to come: headers only.
    add_library(${name} INTERFACE)
    target_include_directories(${name} INTERFACE ${PROJECT_SOURCE_DIR}/src)
    target_link_libraries(${name} INTERFACE ${ARGN})
    return()
  endif()
  add_library(${name} STATIC ${sources})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
  target_link_libraries(${name} PUBLIC ${ARGN})
endfunction()

# qm_test(NAME [OWN_MAIN] DEPS...): one GoogleTest binary made of every *_test.cc
# in the calling folder. OWN_MAIN leaves main() to the tests (for QApplication).
function(qm_test name)
  cmake_parse_arguments(PARSE_ARGV 1 arg "OWN_MAIN" "" "")
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cc)
  if(NOT sources)
    return()
  endif()
  add_executable(${name} ${sources})
  target_link_libraries(${name} PRIVATE qm_test_support ${arg_UNPARSED_ARGUMENTS} GTest::gtest GTest::gmock)
  if(NOT arg_OWN_MAIN)
    target_link_libraries(${name} PRIVATE GTest::gtest_main)
  endif()
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 PROPERTIES TIMEOUT 300)
endfunction()
