# What `cmake --install` puts where, and the Debian package that `cpack -G DEB`
# makes of it. Included at the end of the top-level CMakeLists.txt.

install(TARGETS quorvane RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
# A stripped install (the package's) also drops the compiler's notes, as
# Debian's own packaging does.
function(qv_strip_notes program)
  if(CMAKE_STRIP)
    install(CODE "if(CMAKE_INSTALL_DO_STRIP)
      execute_process(COMMAND \"${CMAKE_STRIP}\" --remove-section=.comment --remove-section=.note
        \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/${program}\")
    endif()")
  endif()
endfunction()
qv_strip_notes(quorvane)

# xscreensaver runs its hacks from its own folder (Debian:
# /usr/libexec/xscreensaver); ours is a relative link to the program, so that
# the tree works wherever DESTDIR puts it.
set(QV_HACK_DIR "${CMAKE_INSTALL_LIBEXECDIR}/xscreensaver")
file(RELATIVE_PATH QV_HACK_TARGET "/prefix/${QV_HACK_DIR}" "/prefix/${CMAKE_INSTALL_BINDIR}/quorvane")
file(MAKE_DIRECTORY "${CMAKE_BINARY_DIR}/packaging")
file(CREATE_LINK "${QV_HACK_TARGET}" "${CMAKE_BINARY_DIR}/packaging/quorvane" SYMBOLIC)
install(FILES "${CMAKE_BINARY_DIR}/packaging/quorvane" DESTINATION ${QV_HACK_DIR})
install(FILES packaging/quorvane.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/xscreensaver/config)

# Debian's documents are compressed, without a name or time stamp inside so
# that the same sources give the same package.
find_program(QV_GZIP gzip REQUIRED)
configure_file(packaging/changelog.in "${CMAKE_BINARY_DIR}/packaging/changelog" @ONLY)
foreach(doc "${CMAKE_SOURCE_DIR}/docs/quorvane.6" "${CMAKE_SOURCE_DIR}/docs/quorvane-config.6"
            "${CMAKE_BINARY_DIR}/packaging/changelog")
  get_filename_component(name "${doc}" NAME)
  add_custom_command(OUTPUT "${CMAKE_BINARY_DIR}/packaging/${name}.gz"
    COMMAND "${QV_GZIP}" -9 -n -c "${doc}" > "${CMAKE_BINARY_DIR}/packaging/${name}.gz"
    DEPENDS "${doc}")
  list(APPEND QV_GZIPPED_DOCS "${CMAKE_BINARY_DIR}/packaging/${name}.gz")
endforeach()
add_custom_target(quorvane_docs ALL DEPENDS ${QV_GZIPPED_DOCS})
add_dependencies(quorvane quorvane_docs)

install(FILES "${CMAKE_BINARY_DIR}/packaging/quorvane.6.gz" DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
install(FILES packaging/copyright "${CMAKE_BINARY_DIR}/packaging/changelog.gz"
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/quorvane)
# The help page goes where the program looks for it (QV_DATA_DIR).
install(FILES docs/quorvane.htm DESTINATION ${CMAKE_INSTALL_DATADIR}/quorvane)
# With the gallery's pictures that the page shows, in gallery/ beside it.
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS "${CMAKE_SOURCE_DIR}/docs/quorvane.htm")
file(STRINGS docs/quorvane.htm QV_HELP_PICTURES REGEX "src=\"gallery/[^\"]*\"")
list(TRANSFORM QV_HELP_PICTURES REPLACE ".*src=\"gallery/([^\"]*)\".*" "docs/gallery/\\1")
install(FILES ${QV_HELP_PICTURES} DESTINATION ${CMAKE_INSTALL_DATADIR}/quorvane/gallery)

if(TARGET quorvane-config)
  install(TARGETS quorvane-config RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  qv_strip_notes(quorvane-config)
  install(FILES packaging/quorvane-config.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES packaging/quorvane.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
  install(FILES "${CMAKE_BINARY_DIR}/packaging/quorvane-config.6.gz" DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
endif()

# The Debian package. It installs under the prefix the program was built for,
# since the help page's folder is compiled in: configure with
# -DCMAKE_INSTALL_PREFIX=/usr for a package of the usual kind.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quorvane)
set(CPACK_PACKAGE_VENDOR Quorvane)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "generative abstract-art screensaver")
set(CPACK_PACKAGE_DESCRIPTION
  "Quorvane paints an endless series of random abstract pictures: pattern and
fractal fills, scattered dots, line figures, distortions of what is on the
screen, your own images, text, 3D shapes and overlapping shapes, coloured from
a palette of smooth bands that can cycle. It runs full screen, in a window, as
an xscreensaver hack, or headless to render stills.")
set(CPACK_PACKAGE_CONTACT "Quorvane developers <developers@quorvane.org>")
set(CPACK_PACKAGING_INSTALL_PREFIX "${CMAKE_INSTALL_PREFIX}")
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION x11)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://www.quorvane.org/")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "xscreensaver, xdg-utils")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# The libraries come from what the program is really linked with; the fonts
# are found by name at run time, so they are named here.
find_program(QV_DPKG_SHLIBDEPS dpkg-shlibdeps)
if(QV_DPKG_SHLIBDEPS)
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-liberation")
else()
  set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "libc6, libstdc++6, libgcc-s1, libsdl2-2.0-0, libpng16-16, libjpeg62-turbo, libfreetype6, libfontconfig1, libx11-6, libxext6, fonts-liberation")
  if(TARGET quorvane-config)
    # The configuration program needs the Qt runtime, never its headers.
    string(APPEND CPACK_DEBIAN_PACKAGE_DEPENDS ", libqt6core6, libqt6gui6, libqt6widgets6")
  endif()
endif()

include(CPack)
