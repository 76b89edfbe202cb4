# The Debian package. script/package builds it with VELLORIN_SYSTEM_LAYOUT=ON: the program in
# /usr/lib/vellorin, the desktop entry, icon, AppStream metadata and manual pages where the
# system looks for them, the copyright and changelog in /usr/share/doc/vellorin. From an
# ordinary build, cpack packs the self-contained directory into /opt/vellorin instead.

if(VELLORIN_SYSTEM_LAYOUT)
    # The program knows it is installed for the whole system, wherever its files were unpacked.
    target_compile_definitions(vellorin_core PRIVATE VELLORIN_SYSTEM_LAYOUT)

    find_program(GZIP gzip REQUIRED)
    set(packaged "${PROJECT_BINARY_DIR}/packaged")
    # Compressed as Debian wants them: the best compression, no name or time inside.
    set(compressed)
    foreach(pair "data/man/vellorin.1:man/vellorin.1.gz" "data/man/vellorin.fr.1:man/fr/vellorin.1.gz"
                 "data/debian/changelog:doc/changelog.gz")
        string(REPLACE ":" ";" pair "${pair}")
        list(GET pair 0 source)
        list(GET pair 1 target)
        get_filename_component(target_dir "${packaged}/${target}" DIRECTORY)
        add_custom_command(OUTPUT "${packaged}/${target}"
            COMMAND ${CMAKE_COMMAND} -E make_directory "${target_dir}"
            COMMAND ${GZIP} -9nc "${PROJECT_SOURCE_DIR}/${source}" > "${packaged}/${target}"
            DEPENDS "${PROJECT_SOURCE_DIR}/${source}" VERBATIM)
        list(APPEND compressed "${packaged}/${target}")
    endforeach()
    add_custom_target(packaged_documents ALL DEPENDS ${compressed})

    configure_file(data/vellorin.metainfo.xml.in "${packaged}/${VELLORIN_APP_ID}.metainfo.xml" @ONLY)
    install(FILES "${packaged}/${VELLORIN_APP_ID}.metainfo.xml" DESTINATION share/metainfo)
    install(FILES "${packaged}/man/vellorin.1.gz" DESTINATION share/man/man1)
    install(FILES "${packaged}/man/fr/vellorin.1.gz" DESTINATION share/man/fr/man1)
    install(FILES data/debian/copyright "${packaged}/doc/changelog.gz" README.md DESTINATION share/doc/vellorin)
endif()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME vellorin)
set(CPACK_PACKAGE_VENDOR "Vellorin")
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}.0")
set(CPACK_PACKAGE_CONTACT "Vellorin <contact@vellorin.invalid>")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "stock of a general practitioner's medicine kit
Vellorin keeps the stock of a doctor's medicine kit: every medicine with its
route of administration, its presentation, its expiry date, the quantity in
the kit, its critical threshold and whether it is indispensable.

It lists the whole stock or only what has expired or runs low, forecasts what
expires within one to six months, prints lists and purchase orders, exports
lists to spreadsheets and expiry dates to calendars, reads boxes with a barcode
scanner and converts a stock file of an older layout. Its interface is in
French; each user's data lives in ~/.local/share/Vellorin.")
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${VELLORIN_HOMEPAGE}")
if(VELLORIN_SYSTEM_LAYOUT)
    set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
else()
    set(CPACK_PACKAGING_INSTALL_PREFIX /opt/vellorin)
endif()
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The debugging symbols are dropped: the program is stripped.
set(CPACK_STRIP_FILES ON)
# The window system's plugin and the fonts (the reports' condensed face) are loaded at run
# time, not linked.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, fonts-dejavu-core, fonts-dejavu-extra")
include(CPack)
