# Test helpers: one GoogleTest executable per core folder, one QtTest
# executable per *_qttest.cpp file, run on the offscreen platform.

# A cross build has no GoogleTest for its target: build it from the sources
# Debian ships, with the same compiler. Its targets carry the GTest:: names.
set(TAVRIN_GTEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest sources for a cross build")
if(TAVRIN_TESTS AND CMAKE_CROSSCOMPILING AND NOT TARGET GTest::gtest)
  if(NOT EXISTS ${TAVRIN_GTEST_SOURCE}/CMakeLists.txt)
    message(FATAL_ERROR "No GoogleTest sources in ${TAVRIN_GTEST_SOURCE} (Debian: googletest)")
  endif()
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
  add_subdirectory(${TAVRIN_GTEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
endif()
# PROPERTIES: more test properties for every test of the executable.
function(tavrin_gtest name)
  cmake_parse_arguments(ARG "" "DIR" "LIBS;PROPERTIES" ${ARGN})
  file(GLOB srcs CONFIGURE_DEPENDS ${ARG_DIR}/*_test.cpp)
  if(NOT srcs)
    return()
  endif()
  if(NOT TARGET GTest::gtest)
    find_package(GTest REQUIRED)
  endif()
  add_executable(${name} ${srcs})
  target_link_libraries(${name} PRIVATE tavrin_options tavrin_test_support ${ARG_LIBS} GTest::gtest GTest::gtest_main GTest::gmock)
  target_compile_definitions(${name} PRIVATE TAVRIN_TEST_DATA="${PROJECT_SOURCE_DIR}/tests/data")
  include(GoogleTest)
  # Under wine the list is read when the tests run, not during the build,
  # and the first program may wait while wine makes its prefix.
  set(discovery DISCOVERY_TIMEOUT 60)
  if(CMAKE_CROSSCOMPILING)
    set(discovery DISCOVERY_TIMEOUT 300 DISCOVERY_MODE PRE_TEST)
  endif()
  gtest_discover_tests(${name} ${discovery} PROPERTIES LABELS core ${ARG_PROPERTIES})
endfunction()

function(tavrin_qttests)
  cmake_parse_arguments(ARG "" "DIR" "LIBS" ${ARGN})
  file(GLOB srcs CONFIGURE_DEPENDS ${ARG_DIR}/*_qttest.cpp)
  foreach(src IN LISTS srcs)
    get_filename_component(base ${src} NAME_WE)
    add_executable(${base} ${src})
    target_link_libraries(${base} PRIVATE tavrin_options tavrin_test_support ${ARG_LIBS} Qt6::Test Qt6::Widgets)
    target_compile_definitions(${base} PRIVATE TAVRIN_TEST_DATA="${PROJECT_SOURCE_DIR}/tests/data")
    add_test(NAME ${base} COMMAND ${base})
    set_tests_properties(${base} PROPERTIES LABELS gui
      ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
  endforeach()
endfunction()
