# Fails when code outside the operating-system seam (util/os_*.cpp) talks to
# the system itself. On Windows a narrow fopen, a file stream or a
# std::filesystem path made from a std::string goes through the ANSI code
# page and breaks names in other scripts, and a system header ties the core
# to one platform. The Qt skin, built on Linux only, is not checked.
# Run: cmake -DSOURCE_DIR=<checkout> -P os_seam_check.cmake
if(NOT SOURCE_DIR)
  message(FATAL_ERROR "SOURCE_DIR is not set")
endif()

set(file_calls "(^|[^_A-Za-z0-9])(fopen|_wfopen|freopen)[ ]*\\(|[io]?fstream|std::filesystem|<filesystem>")
# Any header with ".h" between angle brackets is a system header, but the
# compiler's own SIMD intrinsics.
set(system_header "^[ ]*#[ ]*include[ ]*<[^>]+\\.h>")
set(allowed_header "<(emmintrin|immintrin|smmintrin|tmmintrin)\\.h>")

set(faults "")
foreach(folder app engine settings util widgets)
  file(GLOB_RECURSE sources RELATIVE ${SOURCE_DIR} ${SOURCE_DIR}/${folder}/*.cpp ${SOURCE_DIR}/${folder}/*.h)
  foreach(source IN LISTS sources)
    if(source MATCHES "^util/os_[a-z0-9]+\\.cpp$" OR source MATCHES "/qt/")
      continue()
    endif()
    # A skin talks to its own toolkit's headers; only the core is held to none.
    set(core TRUE)
    if(source MATCHES "/win32/")
      set(core FALSE)
    endif()
    # One list element per line: list separators and brackets in the code
    # are masked first.
    file(READ ${SOURCE_DIR}/${source} content)
    string(REPLACE ";" "<semicolon>" content "${content}")
    string(REPLACE "[" "<" content "${content}")
    string(REPLACE "]" ">" content "${content}")
    string(REPLACE "\\" "/" content "${content}")
    string(REPLACE "\n" ";" lines "${content}")
    set(number 0)
    foreach(line IN LISTS lines)
      math(EXPR number "${number} + 1")
      # Comments say what the code does not do; only code counts.
      string(REGEX REPLACE "//.*$" "" code "${line}")
      if(code MATCHES "${file_calls}")
        list(APPEND faults "${source}:${number}: file access outside util/os: ${line}")
      endif()
      if(core AND code MATCHES "${system_header}" AND NOT code MATCHES "${allowed_header}")
        list(APPEND faults "${source}:${number}: system header outside util/os: ${line}")
      endif()
    endforeach()
  endforeach()
endforeach()

if(faults)
  list(JOIN faults "\n" text)
  message(FATAL_ERROR "${text}")
endif()
message(STATUS "No system calls outside util/os")
