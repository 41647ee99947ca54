# Fails when docs/ARCHITECTURE.md names a file or folder (a `path/...` in
# backticks, from a top-level folder) that the checkout no longer has, so
# the map keeps up with the house. A name with * stands for the files it
# matches, a name without an ending for its .h and .cpp.
# Run: cmake -DSOURCE_DIR=<checkout> -P architecture_doc_check.cmake
if(NOT SOURCE_DIR)
  message(FATAL_ERROR "SOURCE_DIR is not set")
endif()
file(READ ${SOURCE_DIR}/docs/ARCHITECTURE.md doc)
string(REGEX MATCHALL "`(app|bench|cmake|docs|engine|settings|tests|tools|util|widgets)/[A-Za-z0-9_.*/-]*`"
       names "${doc}")
set(missing "")
set(checked 0)
foreach(quoted IN LISTS names)
  string(REGEX REPLACE "^`(.*)`$" "\\1" name "${quoted}")
  string(REGEX REPLACE "/$" "" name "${name}")
  file(GLOB matches ${SOURCE_DIR}/${name} ${SOURCE_DIR}/${name}.*)
  if(NOT matches)
    list(APPEND missing ${name})
  endif()
  math(EXPR checked "${checked} + 1")
endforeach()
if(checked LESS 15)
  message(FATAL_ERROR "only ${checked} names found in docs/ARCHITECTURE.md; is the pattern still right?")
endif()
if(missing)
  list(JOIN missing "\n  " listed)
  message(FATAL_ERROR "docs/ARCHITECTURE.md names what is not there:\n  ${listed}")
endif()
message(STATUS "${checked} names in docs/ARCHITECTURE.md exist")
