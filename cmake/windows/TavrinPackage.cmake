# The Windows files beside the executables and the two packages made from
# them by `cmake --build <build> --target package`:
#   tavrin-<version>-win64.zip        a portable folder
#   tavrin-<version>-win64-setup.exe  an installer (when makensis is found)
# Everything sits in one folder, as the program finds its help and its
# settings file beside itself.

# tavrin_windows_text(<source> <output>): a text file as Notepad reads it
# best: UTF-8 with a byte-order mark, CR LF line ends; @VARIABLES@ filled in.
function(tavrin_windows_text src dst)
  file(READ ${src} text)
  string(ASCII 239 187 191 bom)
  file(CONFIGURE OUTPUT ${dst} CONTENT "${bom}${text}" @ONLY NEWLINE_STYLE CRLF)
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${src})
endfunction()

set(tavrin_windows_docs ${CMAKE_BINARY_DIR}/windows)
if(TARGET tavrin)
  # Substituted after the line ends were set: its own must be CR LF.
  set(TAVRIN_README_WINDOW "  tavrin.exe          本体（ウィンドウ）\r\n")
else()
  set(TAVRIN_README_WINDOW "")
endif()
tavrin_windows_text(${CMAKE_CURRENT_LIST_DIR}/README.txt.in ${tavrin_windows_docs}/README.txt)
tavrin_windows_text(${PROJECT_SOURCE_DIR}/LICENSE ${tavrin_windows_docs}/LICENSE.txt)
tavrin_windows_text(${PROJECT_SOURCE_DIR}/THIRD-PARTY-NOTICES.md
                    ${tavrin_windows_docs}/THIRD-PARTY-NOTICES.txt)

install(TARGETS tavrin-batch RUNTIME DESTINATION .)
if(TARGET tavrin)
  install(TARGETS tavrin RUNTIME DESTINATION .)
endif()
if(TARGET help_pdf)
  install(FILES ${TAVRIN_HELP_PDF} DESTINATION .)
endif()
install(FILES ${tavrin_windows_docs}/README.txt ${tavrin_windows_docs}/LICENSE.txt
              ${tavrin_windows_docs}/THIRD-PARTY-NOTICES.txt
        DESTINATION .)

set(CPACK_PACKAGE_NAME tavrin)
set(CPACK_PACKAGE_VENDOR "The Tavrin developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Counts distinct lines of Japanese text and finds differently written ones")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_INSTALL_DIRECTORY Tavrin)
set(CPACK_PACKAGE_FILE_NAME tavrin-${PROJECT_VERSION}-win64)
set(CPACK_RESOURCE_FILE_LICENSE ${tavrin_windows_docs}/LICENSE.txt)
set(CPACK_STRIP_FILES ON)
set(CPACK_GENERATOR ZIP)
find_program(TAVRIN_MAKENSIS makensis)
if(TAVRIN_MAKENSIS)
  list(APPEND CPACK_GENERATOR NSIS)
  set(CPACK_NSIS_EXECUTABLE ${TAVRIN_MAKENSIS})
else()
  message(STATUS "No makensis: the package target makes the zip only")
endif()
# The installer's own script (cmake/windows/NSIS.template.in) and its name.
set(CPACK_MODULE_PATH ${CMAKE_CURRENT_LIST_DIR})
configure_file(${CMAKE_CURRENT_LIST_DIR}/CPackOptions.cmake.in
               ${CMAKE_BINARY_DIR}/CPackOptions.cmake @ONLY)
set(CPACK_PROJECT_CONFIG_FILE ${CMAKE_BINARY_DIR}/CPackOptions.cmake)
include(CPack)
