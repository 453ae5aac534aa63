# The Debian packages: `cpack -G DEB` in a Release build tree (scripts/package.sh sets Debian's
# build flags) makes two binary packages from the one source:
#   tdxxload-cli  the command-line program, the udev rule, the group and the shared folder, the
#                 system's Location.ini as a conffile, shell completion, the README and the
#                 example files; no toolkit, for machines without a desktop;
#   tdxxload      the window program, its desktop entry, file types, icon and metainfo.
set(TDXX_PACKAGING_DIR ${PROJECT_SOURCE_DIR}/packaging)
set(TDXX_HOMEPAGE "https://github.com/tdxxload/tdxxload")
set(TDXX_MAINTAINER "The tdxxload project <tdxxload@users.noreply.github.com>")

# Man pages and the changelog go in compressed, as Debian's policy asks.
find_program(GZIP_EXECUTABLE gzip)
set(TDXX_GENERATED_DOCS ${CMAKE_BINARY_DIR}/packaging)
file(MAKE_DIRECTORY ${TDXX_GENERATED_DOCS})
set(tdxx_man_component_tdxxload desktop)
set(tdxx_man_component_tdxxload-cli cli)
foreach(program tdxxload tdxxload-cli)
  set(page ${program}.1)
  add_custom_command(OUTPUT ${TDXX_GENERATED_DOCS}/${page}.gz
    COMMAND ${GZIP_EXECUTABLE} -9nc ${TDXX_PACKAGING_DIR}/man/${page} > ${TDXX_GENERATED_DOCS}/${page}.gz
    DEPENDS ${TDXX_PACKAGING_DIR}/man/${page} VERBATIM)
  list(APPEND TDXX_DOC_OUTPUTS ${TDXX_GENERATED_DOCS}/${page}.gz)
  install(FILES ${TDXX_GENERATED_DOCS}/${page}.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1
          COMPONENT ${tdxx_man_component_${program}})
endforeach()
add_custom_command(OUTPUT ${TDXX_GENERATED_DOCS}/changelog.gz
  COMMAND ${GZIP_EXECUTABLE} -9nc ${TDXX_PACKAGING_DIR}/debian/changelog > ${TDXX_GENERATED_DOCS}/changelog.gz
  DEPENDS ${TDXX_PACKAGING_DIR}/debian/changelog VERBATIM)
list(APPEND TDXX_DOC_OUTPUTS ${TDXX_GENERATED_DOCS}/changelog.gz)
add_custom_target(tdxx_docs ALL DEPENDS ${TDXX_DOC_OUTPUTS})

# Each package carries its copyright and changelog; the command-line one also the README and
# the example files, so that `tdxxload-cli --simulate=td-a download` can be tried at once.
install(FILES ${TDXX_GENERATED_DOCS}/changelog.gz ${TDXX_PACKAGING_DIR}/debian/copyright
              ${PROJECT_SOURCE_DIR}/README.md
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/tdxxload-cli COMPONENT cli)
install(DIRECTORY ${PROJECT_SOURCE_DIR}/examples/
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/tdxxload-cli/examples COMPONENT cli)
install(FILES ${TDXX_GENERATED_DOCS}/changelog.gz ${TDXX_PACKAGING_DIR}/debian/copyright
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/tdxxload COMPONENT desktop)
# Lintian's word on what the programs say on purpose (the installed overrides).
install(FILES ${TDXX_PACKAGING_DIR}/debian/tdxxload-cli.lintian-overrides RENAME tdxxload-cli
        DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides COMPONENT cli)
install(FILES ${TDXX_PACKAGING_DIR}/debian/tdxxload.lintian-overrides RENAME tdxxload
        DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides COMPONENT desktop)

# The system's Location.ini: read when none lies beside the program.
install(FILES ${TDXX_PACKAGING_DIR}/Location.ini
        DESTINATION ${CMAKE_INSTALL_FULL_SYSCONFDIR}/tdxxload COMPONENT cli)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tdxxload)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "${TDXX_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${TDXX_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${TDXX_HOMEPAGE}")
set(CPACK_DEBIAN_PACKAGE_SOURCE tdxxload)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

set(CPACK_DEB_COMPONENT_INSTALL ON)
if(TDXX_BUILD_GUI)
  set(CPACK_COMPONENTS_ALL cli desktop)
else()
  set(CPACK_COMPONENTS_ALL cli)
endif()

set(CPACK_DEBIAN_CLI_PACKAGE_NAME tdxxload-cli)
set(CPACK_COMPONENT_CLI_DESCRIPTION
    "file loader for Quorvane programmable USB keypads (command line)\n\
Sends key-definition files, firmware upgrades and flash-drive copies to\n\
the Quorvane family of programmable USB keypads and keyboards, and erases,\n\
reboots and switches them to their bootloader, from scripts and on\n\
machines without a desktop. Includes the udev rule that lets the user at\n\
the seat open the keypads, and the tdxxload group sharing the settings.")
# hidapi is loaded at run time with dlopen, so dpkg-shlibdeps cannot see it; groupadd makes
# the group.
set(CPACK_DEBIAN_CLI_PACKAGE_DEPENDS "libhidapi-hidraw0, passwd")
# The flash-drive method mounts the keypad's drive through udisks2 when nothing else has.
set(CPACK_DEBIAN_CLI_PACKAGE_SUGGESTS udisks2)
# Files under /etc are the administrator's: upgrades keep their changes.
file(WRITE ${TDXX_GENERATED_DOCS}/conffiles "${CMAKE_INSTALL_FULL_SYSCONFDIR}/tdxxload/Location.ini\n")
set(CPACK_DEBIAN_CLI_PACKAGE_CONTROL_EXTRA
    ${TDXX_PACKAGING_DIR}/debian/postinst ${TDXX_PACKAGING_DIR}/debian/postrm
    ${TDXX_GENERATED_DOCS}/conffiles)

set(CPACK_DEBIAN_DESKTOP_PACKAGE_NAME tdxxload)
set(CPACK_COMPONENT_DESKTOP_DESCRIPTION
    "file loader for Quorvane programmable USB keypads (window)\n\
Sends key-definition files, firmware upgrades and flash-drive copies to\n\
the Quorvane family of programmable USB keypads and keyboards, and erases,\n\
reboots and switches them to their bootloader. This package holds the Qt\n\
window with its guide windows, the desktop menu entry, the key-definition\n\
and firmware file types and the software-centre entry.")
# Depends on tdxxload-cli of the same version.
set(CPACK_COMPONENT_DESKTOP_DEPENDS cli)
set(CPACK_DEBIAN_ENABLE_COMPONENT_DEPENDS ON)
set(CPACK_DEBIAN_DESKTOP_PACKAGE_RECOMMENDS udisks2)
set(CPACK_DEBIAN_DESKTOP_PACKAGE_SECTION x11)

set(CPACK_STRIP_FILES ON)
# strip keeps the compilers' .comment and .note sections; Debian's packages drop them.
set(CPACK_TDXX_OBJCOPY "${CMAKE_OBJCOPY}")
set(CPACK_PRE_BUILD_SCRIPTS ${PROJECT_SOURCE_DIR}/cmake/StripUnneededSections.cmake)
# Staged with DESTDIR, so that the files with absolute destinations (/etc, the udev rule) land
# in the package and the install script that makes the shared folder stays out of it.
set(CPACK_SET_DESTDIR ON)
include(CPack)
