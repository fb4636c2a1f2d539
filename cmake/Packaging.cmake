# Desktop integration and the Debian package.

# Commands on the PATH: relative links into the program folder, so that the
# program still finds its manual beside itself.
foreach(command korimo korimo-cli)
  set(link "${CMAKE_CURRENT_BINARY_DIR}/links/${command}")
  file(MAKE_DIRECTORY "${CMAKE_CURRENT_BINARY_DIR}/links")
  file(CREATE_LINK "../${KORIMO_INSTALL_PROGRAM_DIR}/${command}" "${link}" SYMBOLIC)
  install(FILES "${link}" DESTINATION bin)
endforeach()

install(FILES packaging/korimo.desktop DESTINATION share/applications)
install(FILES packaging/korimo.svg DESTINATION share/icons/hicolor/scalable/apps)
install(FILES packaging/korimo-48.png DESTINATION share/icons/hicolor/48x48/apps RENAME korimo.png)
install(FILES packaging/korimo-128.png DESTINATION share/icons/hicolor/128x128/apps
        RENAME korimo.png)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME korimo)
set(CPACK_PACKAGE_VENDOR "Korimo")
set(CPACK_PACKAGE_CONTACT "Korimo developers <korimo@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Colour-difference comparison of measurement files (dE*ab, CIEDE2000)")
set(CPACK_PACKAGE_DESCRIPTION
    "Korimo loads up to three measurement files of one colour chart, computes the
CIE 1976 and CIEDE2000 colour differences patch by patch and shows averages,
maxima, percentiles, histograms, a chart picture with threshold marks and a
sortable results grid. Includes the batch tool korimo-cli.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The window's Japanese fonts, and Qt's own Japanese texts for its dialogs.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-vlgothic, qt6-translations-l10n")
include(CPack)
