# Installation of both programs with their desktop entry, icon and user guide, and the Debian
# package made from it (`cpack -G DEB` in the build folder, or scripts/package).
include(GNUInstallDirs)

install(TARGETS qorv-pr qorv-pr-report RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${PROJECT_SOURCE_DIR}/packaging/qorv-pr.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${PROJECT_SOURCE_DIR}/packaging/qorv-pr.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
# The user guide with the pictures it shows; the about box opens it.
install(FILES ${PROJECT_SOURCE_DIR}/README.md DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/qorv-pr)
install(DIRECTORY ${PROJECT_SOURCE_DIR}/docs/ DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/qorv-pr/docs
        FILES_MATCHING PATTERN "*.png" PATTERN "*.md")
install(DIRECTORY ${PROJECT_SOURCE_DIR}/examples/ DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/qorv-pr/examples
        FILES_MATCHING PATTERN "*.txt")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME qorv-pr)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "Measurement report workbooks from temperature and humidity logger exports")
set(CPACK_PACKAGE_DESCRIPTION
    "Turns the text export of a temperature and humidity data logger into a formatted report\n\
workbook (.xlsx) with a chart and an optional PDF copy. A Russian desktop window (qorv-pr)\n\
and a command-line tool (qorv-pr-report) for batches and automation.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Qorv_Pr developers")
# The shared libraries the programs link come from dpkg-shlibdeps; what they load at run time
# is named here: Qt's platform plugins (the window, and the PDF copy's fonts), the fonts the
# report and the windows use, and Qt's Russian texts.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "fonts-liberation, fonts-liberation2, fonts-dejavu-core, qt6-translations-l10n")
include(CPack)
