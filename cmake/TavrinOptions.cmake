# One interface target carries the language standard, warnings and defines
# that every target of the project links.
add_library(tavrin_options INTERFACE)
target_compile_features(tavrin_options INTERFACE cxx_std_20)
target_compile_options(tavrin_options INTERFACE -Wall -Wextra)
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

# tavrin_include_folder(target scope dir...): gives target an include folder
# of its own that holds, for each header of the folders dir..., a one-line
# header at the path the sources write ("util/os.h") that includes the real
# one. The checkout's root is no include folder, so a target finds only the
# headers of the libraries it links, and a missing link fails to compile
# even where the header needs no library code.
function(tavrin_include_folder target scope)
  set(root ${PROJECT_BINARY_DIR}/include/${target})
  set(wanted "")
  foreach(dir IN LISTS ARGN)
    file(RELATIVE_PATH folder ${PROJECT_SOURCE_DIR} ${dir})
    file(GLOB headers CONFIGURE_DEPENDS ${dir}/*.h)
    foreach(header IN LISTS headers)
      get_filename_component(name ${header} NAME)
      list(APPEND wanted ${root}/${folder}/${name})
      file(CONFIGURE OUTPUT ${root}/${folder}/${name} CONTENT "#include \"${header}\"\n")
    endforeach()
  endforeach()
  # A header that is gone (or moved to another folder) leaves nothing behind.
  file(GLOB_RECURSE present ${root}/*.h)
  foreach(stale IN LISTS present)
    if(NOT stale IN_LIST wanted)
      file(REMOVE ${stale})
    endif()
  endforeach()
  target_include_directories(${target} ${scope} ${root})
endfunction()

# tavrin_library(name DIR dir [LIBS ...]): a static library of the sources in
# dir, whose own include folder holds dir's headers.
function(tavrin_library name)
  cmake_parse_arguments(ARG "" "DIR" "LIBS" ${ARGN})
  file(GLOB cpps CONFIGURE_DEPENDS ${ARG_DIR}/*.cpp)
  file(GLOB other CONFIGURE_DEPENDS ${ARG_DIR}/*.h ${ARG_DIR}/*.qrc)
  if(cpps)
    add_library(${name} STATIC ${cpps} ${other})
    target_link_libraries(${name} PUBLIC tavrin_options ${ARG_LIBS})
    tavrin_include_folder(${name} PUBLIC ${ARG_DIR})
  else()
    # A folder whose layer has no sources yet still gives its dependants a target.
    add_library(${name} INTERFACE)
    target_link_libraries(${name} INTERFACE tavrin_options ${ARG_LIBS})
    tavrin_include_folder(${name} INTERFACE ${ARG_DIR})
  endif()
endfunction()
