# The Debian package of both programs: `cpack -G DEB` in a build folder (the release preset's) writes
# stambrix_<version>_<architecture>.deb. The programs, their manual pages, /etc/stambrix/Voorzetsels.txt,
# the desktop entry, the MIME type and the icon come from the install rules; the libraries the binaries
# need are worked out from them (dpkg-shlibdeps), the packages they load at run time are named here.
set(CPACK_PACKAGE_NAME stambrix)
set(CPACK_PACKAGE_VENDOR Wendmoor)
set(CPACK_PACKAGE_CONTACT "Wendmoor <stambrix@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "alphabetical index of a GEDCOM family tree")
set(CPACK_PACKAGE_DESCRIPTION
    "Stambrix reads one GEDCOM file and writes an alphabetical index of it into
the folder Stambrix beside it: the names (surname first, the prefix behind it,
with the first dated life event), the occupations or the places, as
tab-separated text or as HTML pages. It has a desktop program in Dutch
(stambrix) and a command-line program (stambrix-cli).")
set(CPACK_STRIP_FILES ON)
# The compilers' notes go as well, as Debian's own packaging strips them.
set(CPACK_PRE_BUILD_SCRIPTS ${CMAKE_CURRENT_LIST_DIR}/remove_compiler_notes.cmake)
set(CPACK_STAMBRIX_OBJCOPY ${CMAKE_OBJCOPY})
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The desktop program's X11 platform plugin, the SVG plugins that draw its icon, the faces that stand in
# for MS Sans Serif and Comic Sans MS, Qt's own Dutch texts and the system's reasons for a failure in the
# user's language.
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "qt6-qpa-plugins, libqt6svg6, fonts-liberation, fonts-comic-neue, qt6-translations-l10n, libc-l10n")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# The prefix list in /etc is the user's to change: dpkg keeps a changed one on upgrade and on removal,
# until the package is purged.
file(WRITE ${CMAKE_BINARY_DIR}/packaging/conffiles "${CMAKE_INSTALL_FULL_SYSCONFDIR}/stambrix/Voorzetsels.txt\n")
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA ${CMAKE_BINARY_DIR}/packaging/conffiles)

# What Debian asks of every package: the copyright file and a compressed changelog in its doc folder.
set(STAMBRIX_PACKAGE_DOC_DIR ${CMAKE_INSTALL_DATADIR}/doc/${CPACK_PACKAGE_NAME})
configure_file(${CMAKE_CURRENT_LIST_DIR}/changelog ${CMAKE_BINARY_DIR}/packaging/changelog @ONLY)
execute_process(COMMAND gzip -9 -n -c ${CMAKE_BINARY_DIR}/packaging/changelog
                OUTPUT_FILE ${CMAKE_BINARY_DIR}/packaging/changelog.gz COMMAND_ERROR_IS_FATAL ANY)
install(FILES ${CMAKE_CURRENT_LIST_DIR}/copyright ${CMAKE_BINARY_DIR}/packaging/changelog.gz
        DESTINATION ${STAMBRIX_PACKAGE_DOC_DIR})

include(CPack)
