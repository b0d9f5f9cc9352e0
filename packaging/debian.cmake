# The Debian package: `cpack -G DEB` in a Release build folder (scripts/package).
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME zentrik)
set(CPACK_PACKAGE_VENDOR "Zentrik")
set(CPACK_PACKAGE_CONTACT "Zentrik developers <zentrik-dev@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Configurator for small USB macro keypads")
set(CPACK_PACKAGE_DESCRIPTION
    "Zentrik finds a macro keypad when it is plugged in, reads its assignments and
lets you give each key and knob direction a keyboard key, a key combination,
a multimedia key, a mouse action or a recorded macro, and set the lighting of
each layer. The changes are saved into the keypad's own memory.")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_INSTALL_DIRECTORY zentrik)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)

# The dependencies are the runtime libraries the executable links: read off
# the binary when dpkg-shlibdeps is at hand, else this list (the Qt Concurrent
# calls are header templates today, so the linker usually drops that library).
find_program(ZENTRIK_DPKG_SHLIBDEPS dpkg-shlibdeps)
if(ZENTRIK_DPKG_SHLIBDEPS)
    set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
else()
    if(ZENTRIK_QT_MAJOR EQUAL 6)
        set(CPACK_DEBIAN_PACKAGE_DEPENDS
            "libc6, libstdc++6, libgcc-s1, libqt6core6, libqt6gui6, libqt6widgets6, libqt6concurrent6, libqt6dbus6, libqt6printsupport6, libhidapi-hidraw0, libudev1")
    else()
        set(CPACK_DEBIAN_PACKAGE_DEPENDS
            "libc6, libstdc++6, libgcc-s1, libqt5core5a, libqt5gui5, libqt5widgets5, libqt5concurrent5, libqt5dbus5, libqt5printsupport5, libhidapi-hidraw0, libudev1")
    endif()
endif()
# Qt finds its Wayland platform plugin only when this is installed; without
# it a Wayland session runs Zentrik through XWayland. "Allow access…" asks
# through pkexec; without it the window shows the commands instead. Qt's
# file and print dialogs speak Chinese only with Qt's translations.
if(ZENTRIK_QT_MAJOR EQUAL 6)
    set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-wayland, pkexec, qt6-translations-l10n")
else()
    set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qtwayland5, pkexec, qttranslations5-l10n")
endif()

# Lets an already plugged-in keypad pick up the new rule without replugging.
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA ${CMAKE_CURRENT_LIST_DIR}/debian/postinst)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

include(CPack)
