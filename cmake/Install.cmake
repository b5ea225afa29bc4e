# What `cmake --install` puts where, and the Debian package made from it by scripts/package.
# An installed program finds its data in ../share/nanazubario beside its bin/ folder (see
# src/settings/AppPaths.h), so the layout below must keep bin/ and share/ side by side.
include(GNUInstallDirs)

set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(APP_ID jp.nanazubario.NanaZubario)
set(PACKAGING ${CMAKE_SOURCE_DIR}/packaging)

install(TARGETS nanazubario nanazubario-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(TARGETS nanazubario_figures LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}/nanazubario)
# The history also as a draw file: a newer package's draws reach a user's own database only
# through the program's import, never by replacing the user's copy.
install(FILES ${SHIPPED_DB} ${HELP_FILES} ${CMAKE_SOURCE_DIR}/data/loto7-draws.csv
    DESTINATION ${CMAKE_INSTALL_DATADIR}/nanazubario)
install(FILES ${PACKAGING}/${APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${PACKAGING}/${APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${PACKAGING}/nanazubario.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
foreach(size 48 128 256)
    install(FILES ${PACKAGING}/nanazubario-${size}.png DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
        RENAME nanazubario.png)
endforeach()

# Manual pages and the changelog go compressed, without a time stamp, as Debian expects.
set(COMPRESSED)
foreach(name nanazubario.1 nanazubario-cli.1 changelog)
    add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/packaging/${name}.gz
        COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/packaging
        COMMAND gzip -9n -c ${PACKAGING}/${name} > ${CMAKE_BINARY_DIR}/packaging/${name}.gz
        DEPENDS ${PACKAGING}/${name})
    list(APPEND COMPRESSED ${CMAKE_BINARY_DIR}/packaging/${name}.gz)
endforeach()
add_custom_target(compressed_docs ALL DEPENDS ${COMPRESSED})
install(FILES ${CMAKE_BINARY_DIR}/packaging/nanazubario.1.gz ${CMAKE_BINARY_DIR}/packaging/nanazubario-cli.1.gz
    DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${CMAKE_BINARY_DIR}/packaging/changelog.gz ${PACKAGING}/copyright
    DESTINATION ${CMAKE_INSTALL_DOCDIR})

# The Debian package. Its library dependencies are computed from the binaries; the fonts, Qt's
# platform plugins and Qt's Japanese translation are loaded at run time, so no linker sees them.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME nanazubario)
set(CPACK_PACKAGE_VENDOR "NanaZubario developers")
set(CPACK_PACKAGE_CONTACT "NanaZubario developers <nanazubario@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Loto 7 draw history analysis and number prediction")
set(CPACK_PACKAGE_DESCRIPTION "ナナズバリオ (NanaZubario) is a desktop program for players of the Japanese
lottery Loto 7. It keeps the history of every draw in a password-protected
database, shows seventeen analyses of that history as coloured grids and
predicts numbers for the next draw. Its screens are in Japanese.
.
Each user's draws and settings are kept in the user's own folders; the draw
history shipped with the package is copied at the user's first start.
nanazubario-cli works on the same files without a window.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# libsqlcipher0 is loaded at run time, where shlibdeps cannot see it.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libsqlcipher0, fonts-ipafont-gothic, qt6-qpa-plugins, qt6-translations-l10n")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_STRIP_FILES ON)
include(CPack)
