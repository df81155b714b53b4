# `cpack -G DEB` in the build folder makes lineminder_<version>_<arch>.deb of what
# `cmake --install` installs, under /usr. dpkg-shlibdeps (dpkg-dev) finds the Qt 6 runtime
# packages from the libraries the program links; the SQLite driver is a plugin that no link
# shows, so it is named here.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME lineminder)
set(CPACK_PACKAGE_VENDOR "The LineMinder developers")
set(CPACK_PACKAGE_CONTACT "The LineMinder developers <lineminder@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "dial-up cost and time monitor")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
    "LineMinder dials your Internet providers through pppd, follows each call and\n"
    "counts the time online: this call, today, this month and all time. It prices\n"
    "every call by your own tariffs, with a holiday calendar, keeps a connection log\n"
    "and report archives, raises time and cost alarms that can hang up, checks for\n"
    "new mail and shows the modem's traffic. A simulated line lets you try it\n"
    "without a modem.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION net)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://github.com/lineminder/lineminder)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6sql6-sqlite")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "ppp, xdg-utils")
include(CPack)
