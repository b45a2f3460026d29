# Desktop integration, manuals, bash completion and the Debian package
# (scripts/package builds it with cpack from these install rules).
include(GNUInstallDirs)

set(QX7_APP_ID org.qx7.qx7)
# Change with the version: the AppStream release and the package's changelog.
set(QX7_RELEASE_DATE 2026-12-09)
set(QX7_RELEASE_DATE_RFC2822 "Wed, 09 Dec 2026 12:00:00 +0000")
set(QX7_MAINTAINER "The QX7 developers <qx7@qx7.invalid>" CACHE STRING
    "Maintainer field of the Debian package")
set(QX7_SCREENSHOT_URL "https://qx7.invalid/screenshots" CACHE STRING
    "Where the pictures of scripts/screenshot are published, for the AppStream data")

set(pkg_src ${PROJECT_SOURCE_DIR}/packaging)
set(pkg_out ${PROJECT_BINARY_DIR}/packaging)
set(pkg_outputs "")
set(qx7_gzip sh -c "gzip -9nc \"$0\" > \"$1\"")

# The icon: our SVG, and PNGs rendered from it for desktops that want them.
find_program(QX7_RSVG_CONVERT rsvg-convert)
set(icon_svg ${pkg_src}/${QX7_APP_ID}.svg)
set(icon_dir ${CMAKE_INSTALL_DATADIR}/icons/hicolor)
install(FILES ${icon_svg} DESTINATION ${icon_dir}/scalable/apps)
if(QX7_RSVG_CONVERT)
    foreach(size 16 24 32 48 64 128 256)
        set(png ${pkg_out}/icons/${size}/${QX7_APP_ID}.png)
        add_custom_command(OUTPUT ${png}
            COMMAND ${CMAKE_COMMAND} -E make_directory ${pkg_out}/icons/${size}
            COMMAND ${QX7_RSVG_CONVERT} -w ${size} -h ${size} -o ${png} ${icon_svg}
            DEPENDS ${icon_svg} VERBATIM)
        install(FILES ${png} DESTINATION ${icon_dir}/${size}x${size}/apps)
        list(APPEND pkg_outputs ${png})
    endforeach()
else()
    message(WARNING "rsvg-convert is missing (Debian package librsvg2-bin, which scripts/setup "
        "installs): the icon is installed as SVG only, without its PNG sizes")
endif()

# Manual pages, compressed as Debian keeps them.
foreach(page qx7 qx7ctl qx7-console qx7-sim qx7d)
    set(gz ${pkg_out}/man/${page}.1.gz)
    add_custom_command(OUTPUT ${gz}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${pkg_out}/man
        COMMAND ${qx7_gzip} ${pkg_src}/man/${page}.1 ${gz}
        DEPENDS ${pkg_src}/man/${page}.1 VERBATIM)
    install(FILES ${gz} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
    list(APPEND pkg_outputs ${gz})
endforeach()

configure_file(${pkg_src}/${QX7_APP_ID}.metainfo.xml.in
    ${pkg_out}/${QX7_APP_ID}.metainfo.xml @ONLY)
configure_file(${pkg_src}/changelog.in ${pkg_out}/changelog @ONLY)
add_custom_command(OUTPUT ${pkg_out}/changelog.gz
    COMMAND ${qx7_gzip} ${pkg_out}/changelog ${pkg_out}/changelog.gz
    DEPENDS ${pkg_out}/changelog VERBATIM)
list(APPEND pkg_outputs ${pkg_out}/changelog.gz)
add_custom_target(qx7_package_files ALL DEPENDS ${pkg_outputs})

install(FILES ${pkg_src}/${QX7_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${pkg_out}/${QX7_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${pkg_src}/qx7.bash DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions
    RENAME qx7)
install(FILES ${pkg_src}/qx7ctl.bash DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions
    RENAME qx7ctl)
install(FILES ${pkg_src}/qx7d.bash DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions
    RENAME qx7d)
# A user service; systemd looks for those under /usr/lib/systemd/user.
install(FILES ${pkg_src}/qx7d.service DESTINATION lib/systemd/user)
install(FILES ${pkg_src}/copyright ${pkg_out}/changelog.gz
    DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/qx7)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME qx7)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The QX7 developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "control program of the QX7 audio processor")
# Lines of at most 80 characters, as Debian wants them.
string(JOIN "\n" CPACK_PACKAGE_DESCRIPTION
    "Edits every setting of the QX7 multi-channel home-theatre and karaoke audio"
    "processor: equalisers with a live frequency-response graph, crossovers,"
    "inputs, effects, routing and presets. Includes qx7ctl for scripts,"
    "qx7-console, the simulated device qx7-sim, the service qx7d (an HTTP API and a"
    "phone page), and a udev rule that gives the logged-in user access to the"
    "device on USB.")
# Staged as an install to /usr under DESTDIR, whatever the build's own prefix:
# the install rules then put the udev rule where system packages keep theirs.
set(CPACK_SET_DESTDIR ON)
set(CPACK_INSTALL_PREFIX /usr)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${QX7_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION sound)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The window needs a Qt platform plugin, which no binary links against.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
# The Chinese texts of the window.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-wqy-microhei")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
include(CPack)
