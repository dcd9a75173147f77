# A Debian package of the installed files: `cpack -G DEB` in a build folder after a full build
# gives kivo_VERSION_ARCH.deb, to be installed with `apt-get install ./kivo_*.deb`.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME kivo)
set(CPACK_PACKAGE_VENDOR "The Kivo developers")
set(CPACK_PACKAGE_CONTACT "The Kivo developers <maintainers@kivoproject.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "catalogue of ZX Spectrum tapes that starts them in an emulator")
# Each line becomes a line of the control file's description: under 80 columns with its indent.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Kivo keeps a catalogue of ZX Spectrum tape images and snapshots (TZX, TAP,
Z80, SNA) with their names, publishers, years, authors, game types, notes,
music and screenshots, starts an entry in the emulator of your choice and its
music in your player, and lists the blocks of a tape. It comes with a demo
catalogue, sample language files and kivo-cli, the catalogue and tape logic
for scripts.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
# The package is native: its version is the project's, and the changelog's newest entry must say
# so (the package installs it as /usr/share/doc/kivo/changelog.gz).
file(STRINGS ${PROJECT_SOURCE_DIR}/data/package/changelog kivo_changelog_top LIMIT_COUNT 1)
if(NOT kivo_changelog_top MATCHES "^kivo \\(([^)]*)\\) " OR
   NOT CMAKE_MATCH_1 STREQUAL PROJECT_VERSION)
    message(FATAL_ERROR "data/package/changelog starts with \"${kivo_changelog_top}\"; "
                        "its newest entry must be for kivo ${PROJECT_VERSION}")
endif()
# Debian's section for emulators and their tools; "games" would want the programs in /usr/games.
set(CPACK_DEBIAN_PACKAGE_SECTION otherosfs)
set(CPACK_STRIP_FILES ON)
# The Qt libraries come from the programs' own links when dpkg-shlibdeps is there to read them;
# the platform plugins and the SQLite driver of the library file are loaded at run time, so no
# link names them.
find_program(KIVO_DPKG_SHLIBDEPS dpkg-shlibdeps)
if(KIVO_DPKG_SHLIBDEPS)
    set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
    set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, libqt6sql6-sqlite")
else()
    set(CPACK_DEBIAN_PACKAGE_DEPENDS
        "libqt6core6 (>= 6.4), libqt6gui6 (>= 6.4), libqt6widgets6 (>= 6.4), libqt6sql6 (>= 6.4), libqt6sql6-sqlite, qt6-qpa-plugins, libzip4 (>= 1.7), zlib1g (>= 1:1.2), libstdc++6 (>= 12), libc6 (>= 2.34)")
endif()
# Double-clicking a demo entry starts its tape in Fuse on the free ROM.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fuse-emulator-sdl | fuse-emulator-gtk, opense-basic")
include(CPack)
