# Fails when a source includes a header of a folder its floor may not use.
# The floors, lowest first: util; engine, settings and widgets; app. Each
# may include its own folder and the floors below it, never one beside or
# above. A skin (qt/ or win32/) may include what its folder's core may, and
# the same skin of those folders; the settings dialog's skin also shows the
# widgets' message boxes. The core never includes a skin.
# The compiler finds a header only through the include folders of the
# libraries a target links; so the libraries' links (tavrin_library in each
# folder's CMakeLists.txt) are held to the same floors, and an include that
# climbs out of those folders ("../") or names a folder in angle brackets
# is a fault as well.
# Run: cmake -DSOURCE_DIR=<checkout> -P layering_check.cmake
cmake_minimum_required(VERSION 3.25)
if(NOT SOURCE_DIR)
  message(FATAL_ERROR "SOURCE_DIR is not set")
endif()

set(uses_util util)
set(uses_engine util engine)
set(uses_settings util settings)
set(uses_widgets util widgets)
set(uses_app util engine settings widgets app)

# allowed_for(var folder skin): the folders the folder's core (skin "") or
# its skin may use.
function(allowed_for var folder skin)
  set(allowed ${uses_${folder}})
  if(skin)
    set(skins "")
    foreach(used IN LISTS allowed)
      list(APPEND skins ${used}/${skin})
    endforeach()
    list(APPEND allowed ${skins})
    if(folder STREQUAL "settings")
      list(APPEND allowed widgets widgets/${skin})
    endif()
  endif()
  set(${var} ${allowed} PARENT_SCOPE)
endfunction()

set(faults "")
set(checked 0)
set(folders "util|engine|settings|widgets|app")
foreach(folder util engine settings widgets app)
  file(GLOB_RECURSE sources RELATIVE ${SOURCE_DIR} ${SOURCE_DIR}/${folder}/*.cpp ${SOURCE_DIR}/${folder}/*.h)
  foreach(source IN LISTS sources)
    if(source MATCHES "^${folder}/(qt|win32)/")
      allowed_for(allowed ${folder} ${CMAKE_MATCH_1})
    elseif(source MATCHES "^${folder}/[^/]+$")
      allowed_for(allowed ${folder} "")
    else()
      continue()  # data and resources below the skins' folders
    endif()
    file(STRINGS ${SOURCE_DIR}/${source} includes REGEX "^[ ]*#[ ]*include[ ]*[\"<]")
    foreach(line IN LISTS includes)
      if(line MATCHES "[\"<]\\.\\./")
        list(APPEND faults "${source}: ${line}")
        continue()
      elseif(line MATCHES "<(${folders})/")
        list(APPEND faults "${source}: ${line} (in angle brackets)")
        continue()
      elseif(NOT line MATCHES "\"([a-z0-9_]+)/(([a-z0-9_]+)/)?[^\"]+\"")
        continue()  # a system header, a header beside the source, or a generated one
      endif()
      set(target ${CMAKE_MATCH_1})
      set(subfolder "${CMAKE_MATCH_3}")
      if(subfolder MATCHES "^(qt|win32)$")
        set(target ${target}/${subfolder})
      endif()
      if(NOT target IN_LIST allowed)
        list(APPEND faults "${source}: ${line}")
      endif()
      math(EXPR checked "${checked} + 1")
    endforeach()
  endforeach()
endforeach()

# The libraries' links: tavrin_<folder> is a folder's core, tavrin_<folder>_ui
# its skin, which stands for either skin here.
set(links 0)
foreach(folder util engine settings widgets app)
  file(READ ${SOURCE_DIR}/${folder}/CMakeLists.txt cmake_text)
  # A list the file sets for its links (set(tavrin_ui_layers ...)) is read
  # in place of its name.
  string(REGEX MATCHALL "set\\(tavrin_[a-z_]+ [^)]*\\)" sets "${cmake_text}")
  foreach(set_line IN LISTS sets)
    if(set_line MATCHES "^set\\((tavrin_[a-z_]+) ([^)]*)\\)$")
      string(REPLACE "\${${CMAKE_MATCH_1}}" "${CMAKE_MATCH_2}" cmake_text "${cmake_text}")
    endif()
  endforeach()
  string(REGEX MATCHALL "tavrin_library\\([^)]*\\)" libraries "${cmake_text}")
  foreach(library IN LISTS libraries)
    if(NOT library MATCHES "^tavrin_library\\(tavrin_(${folders})(_ui)? ")
      list(APPEND faults "${folder}/CMakeLists.txt: ${library} (a library named after another folder)")
      continue()
    endif()
    set(skin "")
    if(CMAKE_MATCH_2)
      set(skin ui)
    endif()
    allowed_for(allowed ${folder} "${skin}")
    string(REGEX MATCHALL "tavrin_[a-z]+(_ui)?" linked "${library}")
    list(REMOVE_AT linked 0)
    foreach(lib IN LISTS linked)
      if(NOT lib MATCHES "^tavrin_(${folders})(_ui)?$")
        continue()  # the options target, toolkits and system libraries
      endif()
      set(target ${CMAKE_MATCH_1})
      if(CMAKE_MATCH_2)
        set(target ${target}/ui)
      endif()
      if(NOT target IN_LIST allowed)
        list(APPEND faults "${folder}/CMakeLists.txt: ${library} links ${lib}")
      endif()
      math(EXPR links "${links} + 1")
    endforeach()
  endforeach()
endforeach()
if(links LESS 15)
  message(FATAL_ERROR "only ${links} links were checked; is the pattern still right?")
endif()
if(checked LESS 300)
  message(FATAL_ERROR "only ${checked} includes were checked; is the pattern still right?")
endif()
if(faults)
  list(JOIN faults "\n  " listed)
  message(FATAL_ERROR "includes and links across the floors:\n  ${listed}")
endif()
message(STATUS "${checked} includes and ${links} links keep to the floors")
