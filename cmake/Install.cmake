# Installing Dynoforge as a desktop program, and its Debian package.
#
# Included by the top CMakeLists.txt once the `dynoforge` target exists:
#
#   cmake --install build --prefix ~/.local     # or /usr/local, the default
#   cd build && cpack -G DEB                    # dynoforge_<version>_<arch>.deb
#
# installs bin/dynoforge, the desktop entry share/applications/dynoforge.desktop,
# the tire file type share/mime/packages/dynoforge.xml, the icon in
# share/icons/hicolor/<N>x<N>/apps/dynoforge.png and the user guide in
# share/dynoforge/guide. The desktop id, the icon
# name and the program name are all "dynoforge": Qt names the window after the
# program (the Wayland app id and the X11 window class), and that is how a
# desktop finds the entry, and so the icon, of a running window.

if(NOT TARGET dynoforge)
  return()
endif()

include(GNUInstallDirs)

set(_dynoforge_packaging ${CMAKE_CURRENT_LIST_DIR}/../packaging)

# The icon: the program's own two drawings, made into PNG files at the usual
# sizes of the hicolor theme by a small tool built here.
set(DYNOFORGE_ICON_DRAWING ${PROJECT_SOURCE_DIR}/src/gui/resources/images/dynoforge.xpm)
set(DYNOFORGE_ICON_DRAWING_16 ${PROJECT_SOURCE_DIR}/src/gui/resources/images/dynoforge-16.xpm)

add_executable(dynoforge_make_icons ${_dynoforge_packaging}/MakeIcons.cpp)
target_link_libraries(dynoforge_make_icons PRIVATE Qt6::Gui)

set(DYNOFORGE_ICON_SIZES 16 22 24 32 48 64 128 256)
set(DYNOFORGE_ICON_DIR ${CMAKE_CURRENT_BINARY_DIR}/icons/hicolor)
set(_dynoforge_icons)
foreach(_size IN LISTS DYNOFORGE_ICON_SIZES)
  list(APPEND _dynoforge_icons ${DYNOFORGE_ICON_DIR}/${_size}x${_size}/apps/dynoforge.png)
endforeach()
list(JOIN DYNOFORGE_ICON_SIZES ", " _dynoforge_size_text)
add_custom_command(OUTPUT ${_dynoforge_icons}
  COMMAND dynoforge_make_icons ${DYNOFORGE_ICON_DRAWING} ${DYNOFORGE_ICON_DRAWING_16}
    ${DYNOFORGE_ICON_DIR} dynoforge ${DYNOFORGE_ICON_SIZES}
  DEPENDS dynoforge_make_icons ${DYNOFORGE_ICON_DRAWING} ${DYNOFORGE_ICON_DRAWING_16}
  COMMENT "Making the application icon at ${_dynoforge_size_text} pixels"
  VERBATIM)
add_custom_target(dynoforge_icons ALL DEPENDS ${_dynoforge_icons})
# Building just the program is enough to install it.
add_dependencies(dynoforge dynoforge_icons)

install(TARGETS dynoforge RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${_dynoforge_packaging}/dynoforge.desktop
  DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${_dynoforge_packaging}/dynoforge-mime.xml
  DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages RENAME dynoforge.xml)
foreach(_size IN LISTS DYNOFORGE_ICON_SIZES)
  install(FILES ${DYNOFORGE_ICON_DIR}/${_size}x${_size}/apps/dynoforge.png
    DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${_size}x${_size}/apps)
endforeach()

# The user guide with its pictures, which Help > User Guide shows: the
# program finds it from its own folder, so it holds where bin and share go.
set(DYNOFORGE_GUIDE_INSTALL_DIR ${CMAKE_INSTALL_DATADIR}/dynoforge/guide)
install(FILES ${PROJECT_SOURCE_DIR}/docs/user-guide.md DESTINATION ${DYNOFORGE_GUIDE_INSTALL_DIR})
install(DIRECTORY ${PROJECT_SOURCE_DIR}/docs/images/ DESTINATION ${DYNOFORGE_GUIDE_INSTALL_DIR}/images
  FILES_MATCHING PATTERN "*.png")
file(RELATIVE_PATH _dynoforge_guide_from_program ${CMAKE_INSTALL_FULL_BINDIR}
  ${CMAKE_INSTALL_FULL_DATADIR}/dynoforge/guide)
set_property(SOURCE ${PROJECT_SOURCE_DIR}/src/gui/app/GuideWindow.cpp APPEND PROPERTY COMPILE_DEFINITIONS
  DYNOFORGE_GUIDE_FROM_PROGRAM="${_dynoforge_guide_from_program}")

# The Debian package. Its files land in /usr/share/applications,
# /usr/share/mime/packages and /usr/share/icons/hicolor, which the dpkg
# triggers of desktop-file-utils, shared-mime-info and hicolor-icon-theme
# watch: installing or removing the package refreshes the desktop, MIME and
# icon caches with no maintainer scripts of its own.
set(DYNOFORGE_PACKAGE_MAINTAINER "The Dynoforge developers"
  CACHE STRING "Maintainer field of the Debian package, \"Name <address>\"")
set(CPACK_PACKAGE_NAME dynoforge)
set(CPACK_PACKAGE_VENDOR "The Dynoforge developers")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "${DYNOFORGE_PACKAGE_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "editor for the physics files of racing simulators")
# One paragraph, its lines as in the package's control file.
set(CPACK_PACKAGE_DESCRIPTION [=[
Dynoforge edits the plain-text vehicle physics files of racing simulators:
the torque, power and compression curves and the named parameters of engine
and upgrade files (.ini), and the slip curves of tire files (.tbc). A curve
is drawn next to a table of its rows; drag its points, type values, generate,
rescale or print it. Saving changes only what was edited.]=])
set(CPACK_GENERATOR DEB)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION editors)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The Qt and C++ libraries come from dpkg-shlibdeps; the chart lays out its
# text with Arial's metrics, which fontconfig finds in Liberation Sans.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-liberation")
include(CPack)
