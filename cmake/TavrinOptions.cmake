# One interface target carries the language standard, warnings and defines
# that every target of the project links.
add_library(tavrin_options INTERFACE)
target_compile_features(tavrin_options INTERFACE cxx_std_20)
target_compile_options(tavrin_options INTERFACE -Wall -Wextra)
target_include_directories(tavrin_options INTERFACE ${PROJECT_SOURCE_DIR})
target_compile_definitions(tavrin_options INTERFACE
  QT_NO_KEYWORDS QT_NO_CAST_FROM_ASCII QT_NO_NARROWING_CONVERSIONS_IN_CONNECT)

# Our code builds without a warning in every build type, with GCC and
# Clang; TAVRIN_WERROR makes a new one fail the build (the test script turns
# it on). Only our targets link tavrin_options, so third-party code is spared.
option(TAVRIN_WERROR "Treat compiler warnings in the project's targets as errors" OFF)
if(TAVRIN_WERROR)
  target_compile_options(tavrin_options INTERFACE -Werror)
endif()

if(TAVRIN_SANITIZE)
  target_compile_options(tavrin_options INTERFACE
    -fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
  target_link_options(tavrin_options INTERFACE -fsanitize=address,undefined)
endif()

# tavrin_library(name DIR dir [LIBS ...]): a static library of the sources in dir.
function(tavrin_library name)
  cmake_parse_arguments(ARG "" "DIR" "LIBS" ${ARGN})
  file(GLOB cpps CONFIGURE_DEPENDS ${ARG_DIR}/*.cpp)
  file(GLOB other CONFIGURE_DEPENDS ${ARG_DIR}/*.h ${ARG_DIR}/*.qrc)
  if(cpps)
    add_library(${name} STATIC ${cpps} ${other})
    target_link_libraries(${name} PUBLIC tavrin_options ${ARG_LIBS})
  else()
    # A folder whose layer has no sources yet still gives its dependants a target.
    add_library(${name} INTERFACE)
    target_link_libraries(${name} INTERFACE tavrin_options ${ARG_LIBS})
  endif()
endfunction()
