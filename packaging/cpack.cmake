# The Debian package: cpack -G DEB in the build tree, or the "package" workflow preset.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME velandra)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Velandra developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "body surface area calculator (Mosteller formula)")
set(CPACK_PACKAGE_DESCRIPTION
    "Velandra computes a person's body surface area (BSA) in square metres from the weight in\n\
kilograms and the height in centimetres, by the Mosteller formula: the square root of\n\
weight x height / 3600. Its one window is in Italian.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Velandra developers <maintainers@velandra.example>")
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Loaded at run time, so not found by shlibdeps: Qt's Italian texts and the fonts that stand
# in for the window's own.
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "qt6-translations-l10n, fonts-liberation2, fonts-ebgaramond, fonts-dejavu-core")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

include(CPack)
