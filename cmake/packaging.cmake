# What an administrator installs: on Windows a zip that works unpacked into PRTG's EXE/XML folder, on
# Linux a .tar.gz and a .deb with the program and its library side by side.
set(doc_files ${CMAKE_SOURCE_DIR}/packaging/Sample.Prf)

if(WIN32)
  if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    set(package_system win32)
  else()
    set(package_system win64)
  endif()
  install(TARGETS kestrova RUNTIME DESTINATION .)
  install(TARGETS morvane RUNTIME DESTINATION . LIBRARY DESTINATION .)
  install(FILES ${CMAKE_SOURCE_DIR}/packaging/Kestrova.Host ${doc_files}
                ${CMAKE_SOURCE_DIR}/packaging/README.txt DESTINATION .)
  set(CPACK_GENERATOR ZIP)
  set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
else()
  set(package_system linux-${CMAKE_SYSTEM_PROCESSOR})
  # The program finds Morvane.Dll beside its own executable, so both live in one directory, a
  # private one that the dynamic linker's cache need not know (no ldconfig when installing).
  install(TARGETS kestrova RUNTIME DESTINATION libexec/kestrova)
  install(TARGETS morvane LIBRARY DESTINATION libexec/kestrova)
  file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/packaging)
  file(CREATE_LINK ../libexec/kestrova/kestrova ${CMAKE_BINARY_DIR}/packaging/kestrova SYMBOLIC)
  install(FILES ${CMAKE_BINARY_DIR}/packaging/kestrova DESTINATION bin)
  install(FILES ${doc_files} ${CMAKE_SOURCE_DIR}/README.md DESTINATION share/doc/kestrova)
  # The .deb installs below /usr (its generator's default); the .tar.gz unpacks to one directory
  # holding bin, libexec and share, to be put wherever the administrator likes.
  set(CPACK_GENERATOR TGZ DEB)
  set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Kestrova developers")
  # The C++ runtime is linked in; dpkg-shlibdeps names the C library and libgcc_s with the versions
  # the build needs.
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  set(CPACK_DEBIAN_PACKAGE_SECTION net)
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
endif()

set(CPACK_PACKAGE_NAME kestrova)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Kestrova")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Custom sensor that reports a device's TCP ports over SNMP")
set(CPACK_PACKAGE_FILE_NAME kestrova-${PROJECT_VERSION}-${package_system})
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_SOURCE_DIR}/build/packages)
set(CPACK_STRIP_FILES ON)
include(CPack)
