# facetally_add_test(NAME SOURCES ... LIBRARIES ...): one GoogleTest executable, registered with CTest.
function(facetally_add_test name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBRARIES" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBRARIES} facetally_test_support GTest::gtest GTest::gtest_main facetally_warnings)
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests/support)
  target_compile_definitions(${name} PRIVATE
    FACETALLY_ADDON_DIR="${FACETALLY_ADDON_DIR}"
    FACETALLY_SOURCE_DIR="${PROJECT_SOURCE_DIR}"
    FACETALLY_BINARY_DIR="${CMAKE_BINARY_DIR}")
  include(GoogleTest)
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 PROPERTIES TIMEOUT 300)
endfunction()
