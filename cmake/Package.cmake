# The Debian package of the program and the headless tool (scripts/package.sh runs cpack):
# velomyra_<version>_<arch>.deb with what the desktop/ folder installs.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME velomyra)
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGE_VENDOR Parvenox)
set(CPACK_PACKAGE_CONTACT "Parvenox <velomyra@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "ELISA analysis for interferon-gamma release assays (research edition)")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
# Only the program's components; nothing else of the build is installed.
set(CPACK_INSTALL_CMAKE_PROJECTS "${PROJECT_BINARY_DIR};${PROJECT_NAME};program;/"
    "${PROJECT_BINARY_DIR};${PROJECT_NAME};desktop;/")
# Folders as the package tools want them, whatever the umask of the build.
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE
    WORLD_READ WORLD_EXECUTE)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The summary is the first line; cpack indents these lines itself and makes the empty one " .".
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Velomyra R&D analyses the ELISA runs of an interferon-gamma release assay
(for research use only): the optical densities of a 96-well plate are laid
out as standards and samples, a standard curve is fitted, quality-control
rules are applied and every sample is converted to IU/mL.

The package holds the desktop program velomyra, which also writes PDF
reports without a display (velomyra report), and the headless tool
velomyra-cli for calculations, summaries and a run archive (SQLite or
PostgreSQL).")
# The libraries the programs link come from dpkg-shlibdeps; the rest is loaded at run time: the
# report fonts, Qt's own translations for the dialogs, and the archive's database drivers.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "fonts-texgyre, fonts-urw-base35, qt6-translations-l10n, libqt6sql6-sqlite, libqt6sql6-psql")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS bash-completion)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

include(CPack)
