# Install rules. The program finds its help (tavrin.pdf) beside its own
# executable or in share/doc/tavrin, and installs it in both; its settings
# file is beside the executable when that folder is writable, else in the
# user's configuration folder. The desktop entry and the icon go where
# desktops look for them. The licence and the third-party notices go with
# the documentation. Windows has a folder layout of its own, see
# cmake/windows/TavrinPackage.cmake.
if(WIN32)
  include(cmake/windows/TavrinPackage.cmake)
  return()
endif()
include(GNUInstallDirs)

install(TARGETS tavrin-batch RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${PROJECT_SOURCE_DIR}/app/batch/tavrin-batch.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${PROJECT_SOURCE_DIR}/app/batch/tavrin-batch.ja.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/ja/man1
        RENAME tavrin-batch.1)
install(FILES ${PROJECT_SOURCE_DIR}/LICENSE ${PROJECT_SOURCE_DIR}/THIRD-PARTY-NOTICES.md
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/tavrin)
if(TAVRIN_UI STREQUAL "qt")
  install(TARGETS tavrin RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  install(FILES ${TAVRIN_HELP_PDF} DESTINATION ${CMAKE_INSTALL_BINDIR})
  install(FILES ${TAVRIN_HELP_PDF} DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/tavrin)
  install(FILES ${PROJECT_SOURCE_DIR}/app/desktop/tavrin.desktop
          DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES ${PROJECT_SOURCE_DIR}/app/desktop/tavrin.svg
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
endif()

if(TAVRIN_TESTS AND TAVRIN_UI STREQUAL "qt")
  set(install_tests ${PROJECT_SOURCE_DIR}/tests/install)
  add_test(NAME help_pdf
           COMMAND sh ${install_tests}/help_pdf_test.sh ${TAVRIN_HELP_PDF}
                   ${PROJECT_SOURCE_DIR}/app/help/tavrin-help.md)
  find_program(DESKTOP_FILE_VALIDATE desktop-file-validate REQUIRED)
  add_test(NAME desktop_file
           COMMAND ${DESKTOP_FILE_VALIDATE} ${PROJECT_SOURCE_DIR}/app/desktop/tavrin.desktop)
  add_test(NAME install_tree
           COMMAND sh ${install_tests}/install_test.sh ${CMAKE_COMMAND} ${CMAKE_BINARY_DIR})
  set_tests_properties(help_pdf desktop_file install_tree PROPERTIES LABELS install)
endif()
