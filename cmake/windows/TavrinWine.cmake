# A Windows build made on Linux runs its programs (the tests among them)
# under wine through <build>/wine-run, CMake's emulator for this build.
if(CMAKE_CROSSCOMPILING AND WIN32 AND NOT CMAKE_CROSSCOMPILING_EMULATOR)
  find_program(TAVRIN_WINE wine)
  if(TAVRIN_WINE)
    set(TAVRIN_WINEPREFIX ${CMAKE_BINARY_DIR}/wineprefix)
    configure_file(${CMAKE_CURRENT_LIST_DIR}/wine-run.sh.in ${CMAKE_BINARY_DIR}/wine-run
                   FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ
                                    GROUP_EXECUTE WORLD_READ WORLD_EXECUTE
                   @ONLY)
    set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_BINARY_DIR}/wine-run)
  else()
    message(WARNING "No wine: the Windows programs build, their tests cannot run here")
  endif()
endif()
