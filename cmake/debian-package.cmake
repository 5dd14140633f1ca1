# The Debian package: `cpack -G DEB` in the build folder makes
# lotgrid_<version>_amd64.deb from everything `cmake --install` installs, with
# its dependencies worked out by dpkg-shlibdeps (package dpkg-dev) from the
# libraries the programs link.
set(CPACK_PACKAGE_NAME lotgrid)
set(CPACK_PACKAGE_VENDOR "Lotgrid developers")
set(CPACK_PACKAGE_CONTACT "Lotgrid developers <lotgrid@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "six-line (六爻) divination charting assistant")
set(CPACK_PACKAGE_DESCRIPTION
    "Lotgrid charts a six-line divination cast the moment its sixth line is entered:
original and changed hexagram, palace, najia branches, six relatives, world and
response, six spirits of the day stem, month and day builds and the use-god or
hidden-spirit mark, with today's lunar date and solar term beside it. The
interface is in Chinese. Casts are kept in a case journal.
.
lotgrid-chart prints the chart of a cast as text or JSON without a window.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT) # lotgrid_<version>_<architecture>.deb
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Loaded at run time, so no link names them: the journal's SQLite driver and
# OpenCC's conversion profiles (输出繁体); Qt's own texts in Chinese and a font
# for the Chinese interface.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6sql6-sqlite, libopencc-data")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n, fonts-noto-cjk")
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)

# What Debian asks of every package: the copyright and a compressed changelog,
# gzip'ed without a time stamp so that the package builds the same each time.
install(FILES ${PROJECT_SOURCE_DIR}/data/debian/copyright DESTINATION ${CMAKE_INSTALL_DOCDIR})
configure_file(${PROJECT_SOURCE_DIR}/data/debian/changelog.in ${PROJECT_BINARY_DIR}/debian/changelog @ONLY)
find_program(GZIP gzip REQUIRED)
execute_process(COMMAND ${GZIP} -9nc ${PROJECT_BINARY_DIR}/debian/changelog
                OUTPUT_FILE ${PROJECT_BINARY_DIR}/debian/changelog.gz COMMAND_ERROR_IS_FATAL ANY)
install(FILES ${PROJECT_BINARY_DIR}/debian/changelog.gz DESTINATION ${CMAKE_INSTALL_DOCDIR})

include(CPack)
