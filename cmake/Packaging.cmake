# The Debian package: `cpack -G DEB` in a Release build tree. Both programs, the udev rule, the
# desktop integration, man pages, the system's Location.ini as a conffile, and maintainer
# scripts that make the tdxxload group and the shared folder.
include(GNUInstallDirs)

set(TDXX_PACKAGING_DIR ${PROJECT_SOURCE_DIR}/packaging)

# Man pages and the changelog go in compressed, as Debian's policy asks.
find_program(GZIP_EXECUTABLE gzip)
set(TDXX_GENERATED_DOCS ${CMAKE_BINARY_DIR}/packaging)
file(MAKE_DIRECTORY ${TDXX_GENERATED_DOCS})
foreach(page tdxxload.1 tdxxload-cli.1)
  add_custom_command(OUTPUT ${TDXX_GENERATED_DOCS}/${page}.gz
    COMMAND ${GZIP_EXECUTABLE} -9nc ${TDXX_PACKAGING_DIR}/man/${page} > ${TDXX_GENERATED_DOCS}/${page}.gz
    DEPENDS ${TDXX_PACKAGING_DIR}/man/${page} VERBATIM)
  list(APPEND TDXX_DOC_OUTPUTS ${TDXX_GENERATED_DOCS}/${page}.gz)
  install(FILES ${TDXX_GENERATED_DOCS}/${page}.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endforeach()
add_custom_command(OUTPUT ${TDXX_GENERATED_DOCS}/changelog.gz
  COMMAND ${GZIP_EXECUTABLE} -9nc ${TDXX_PACKAGING_DIR}/debian/changelog > ${TDXX_GENERATED_DOCS}/changelog.gz
  DEPENDS ${TDXX_PACKAGING_DIR}/debian/changelog VERBATIM)
list(APPEND TDXX_DOC_OUTPUTS ${TDXX_GENERATED_DOCS}/changelog.gz)
add_custom_target(tdxx_docs ALL DEPENDS ${TDXX_DOC_OUTPUTS})
install(FILES ${TDXX_GENERATED_DOCS}/changelog.gz ${TDXX_PACKAGING_DIR}/debian/copyright
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/tdxxload)

# The system's Location.ini: read when none lies beside the program.
install(FILES ${TDXX_PACKAGING_DIR}/Location.ini DESTINATION ${CMAKE_INSTALL_FULL_SYSCONFDIR}/tdxxload)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tdxxload)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "tdxxload maintainers <maintainers@users.noreply.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "file loader for Quorvane programmable USB keypads")
set(CPACK_PACKAGE_DESCRIPTION
    "Sends key-definition files, firmware upgrades and flash-drive copies to\n\
the Quorvane family of programmable USB keypads and keyboards, and erases,\n\
reboots and switches them to their bootloader. A Qt window and a scriptable\n\
command-line front end.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Loaded at run time with dlopen, so dpkg-shlibdeps cannot see it.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libhidapi-hidraw0, passwd")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "udisks2")
# Files under /etc are the administrator's: upgrades keep their changes.
file(WRITE ${TDXX_GENERATED_DOCS}/conffiles "${CMAKE_INSTALL_FULL_SYSCONFDIR}/tdxxload/Location.ini\n")
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA
    ${TDXX_PACKAGING_DIR}/debian/postinst ${TDXX_PACKAGING_DIR}/debian/postrm
    ${TDXX_GENERATED_DOCS}/conffiles)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_STRIP_FILES ON)
# Staged with DESTDIR, so that the files with absolute destinations (/etc, the udev rule) land
# in the package and the install script that makes the shared folder stays out of it.
set(CPACK_SET_DESTDIR ON)
include(CPack)
