# Install rules and the Debian package (cpack -G DEB).
#
# An installed copy keeps the programs in bin/ and the program folder in share/quobel/,
# where the programs look for it when cfg.ini is not beside them. Included after every
# target is defined, so the window's rules apply only once it is built.
include(GNUInstallDirs)

set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(QUOBEL_INSTALL_PROGRAM_DIR ${CMAKE_INSTALL_DATADIR}/quobel)
# Relative to the prefix: udev reads /usr/lib/udev/rules.d and /usr/local/lib/udev/rules.d.
set(QUOBEL_UDEV_RULES_DIR lib/udev/rules.d CACHE STRING "Folder of the installed udev rule")

set(_src ${CMAKE_SOURCE_DIR})
set(_gen ${CMAKE_BINARY_DIR}/install-gen)

# Man pages and the changelog are installed compressed; -n keeps the package reproducible.
set(_compressed)
function(quobel_gzip src out)
  add_custom_command(OUTPUT ${out}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${_gen}
    COMMAND sh -c "gzip -9nc '${src}' > '${out}'"
    DEPENDS ${src} VERBATIM)
  set(_compressed ${_compressed} ${out} PARENT_SCOPE)
endfunction()
quobel_gzip(${_src}/data/man/quobelctl.1 ${_gen}/quobelctl.1.gz)
quobel_gzip(${_src}/data/man/quobel.1 ${_gen}/quobel.1.gz)
quobel_gzip(${_src}/packaging/changelog ${_gen}/changelog.gz)
add_custom_target(quobel_install_files ALL DEPENDS ${_compressed})

# The programs.
install(TARGETS quobelctl RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${_gen}/quobelctl.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${_src}/data/completion/quobelctl DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions)
if(TARGET quobel)
  install(TARGETS quobel RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  install(FILES ${_gen}/quobel.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
  install(FILES ${_src}/data/quobel.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES ${_src}/data/quobel.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
endif()

# The program folder: what the build copies and draws into bin/, without the programs.
install(FILES ${_src}/data/cfg.ini ${_src}/data/text.xml DESTINATION ${QUOBEL_INSTALL_PROGRAM_DIR})
install(DIRECTORY ${_src}/data/Text ${_src}/data/examples DESTINATION ${QUOBEL_INSTALL_PROGRAM_DIR})
if(TARGET quobel_skin)
  install(DIRECTORY ${QUOBEL_PROGRAM_DIR}/skins DESTINATION ${QUOBEL_INSTALL_PROGRAM_DIR})
  install(FILES ${QUOBEL_PROGRAM_DIR}/DrvSound.wav ${QUOBEL_PROGRAM_DIR}/appico.png ${QUOBEL_PROGRAM_DIR}/appico.ico
          DESTINATION ${QUOBEL_INSTALL_PROGRAM_DIR})
  install(DIRECTORY ${QUOBEL_ICON_DIR}/hicolor DESTINATION ${CMAKE_INSTALL_DATADIR}/icons)
endif()

# Device access for the user at the seat, and the package's documents.
install(FILES ${_src}/data/70-quobel.rules DESTINATION ${QUOBEL_UDEV_RULES_DIR})
install(FILES ${_src}/packaging/copyright ${_gen}/changelog.gz DESTINATION ${CMAKE_INSTALL_DOCDIR})

# The Debian package. Its dependencies come from the binaries (dpkg-shlibdeps).
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quobel)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "quobel developers")
set(CPACK_PACKAGE_CONTACT "quobel developers <quobel@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "configuration utility for USB gaming devices")
set(CPACK_PACKAGE_DESCRIPTION
  "quobel configures a family of USB gaming devices: a mouse, a keyboard and a\n"
  "lighted mouse pad. It edits profiles (buttons and keys, macros, DPI levels,\n"
  "report rates, lighting, per-key colours, pointer settings), writes them to the\n"
  "devices and switches profiles when a given program runs.\n"
  "\n"
  "The package holds the skinned window quobel, the command-line tool quobelctl\n"
  "and a udev rule that lets the user at the seat open the devices.")
string(REPLACE ";" "" CPACK_PACKAGE_DESCRIPTION "${CPACK_PACKAGE_DESCRIPTION}")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n")
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA ${_src}/packaging/postinst ${_src}/packaging/postrm)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)

if(QUOBEL_TESTS)
  add_test(NAME InstalledCopyRuns
    COMMAND ${CMAKE_COMMAND} -DBUILD=${CMAKE_BINARY_DIR} -DROOT=${CMAKE_BINARY_DIR}/install-test
            -DLIST=${_src}/packaging/installed-files -DWINDOW=$<TARGET_EXISTS:quobel>
            -P ${_src}/cmake/InstallTest.cmake)
endif()
