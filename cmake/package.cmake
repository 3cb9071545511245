# Debian packages through CPack (`make deb`), from a build configured with
# the prefix /usr and QUORVANE_DEB=ON. The install components become three
# packages, split as Debian splits a library:
#   libquorvane20      runtime: the versioned shared library and its link
#   libquorvane-dev    development: headers, static archive, pkg-config and
#                      CMake files, README, change log and examples
#   python3-quorvane   python: the Python package
# Each carries its copyright file in /usr/share/doc/<package>/. The runtime
# package's dependencies are read from the library by dpkg-shlibdeps; the
# others name theirs.
set(QUORVANE_DEB_PACKAGES libquorvane20 libquorvane-dev python3-quorvane)
set(QUORVANE_DEB_COMPONENTS runtime development python)

foreach(package component IN ZIP_LISTS QUORVANE_DEB_PACKAGES QUORVANE_DEB_COMPONENTS)
  install(FILES ${CMAKE_CURRENT_LIST_DIR}/deb/copyright
    DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/${package} COMPONENT ${component})
  string(TOUPPER ${component} upper)
  set(CPACK_DEBIAN_${upper}_PACKAGE_NAME ${package})
endforeach()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quorvane)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The Quorvane developers")
set(CPACK_PACKAGE_CONTACT "The Quorvane developers <quorvane@localhost>")
set(CPACK_PACKAGING_INSTALL_PREFIX ${CMAKE_INSTALL_PREFIX})
set(CPACK_STRIP_FILES ON)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL ${QUORVANE_DEB_COMPONENTS})
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)

set(CPACK_COMPONENT_RUNTIME_DESCRIPTION
  "chart drawing library for servers\nXY charts (bar, line, area, high-low-open-close) and pie charts\ndrawn as PNG, GIF, JPEG or WBMP images with their HTML image maps.")
set(CPACK_DEBIAN_RUNTIME_PACKAGE_SECTION libs)
set(CPACK_DEBIAN_RUNTIME_PACKAGE_SHLIBDEPS ON)
# Gives the package the ldconfig calls a shared library needs.
set(CPACK_DEBIAN_RUNTIME_PACKAGE_GENERATE_SHLIBS ON)
set(CPACK_DEBIAN_RUNTIME_PACKAGE_RECOMMENDS "fonts-liberation2, fonts-dejavu-core")

set(CPACK_COMPONENT_DEVELOPMENT_DESCRIPTION
  "chart drawing library for servers (development files)\nHeaders, static library, pkg-config and CMake package files, and the\nexamples for building programs with Quorvane.")
set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_SECTION libdevel)
set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_DEPENDS
  "libquorvane20 (= ${PROJECT_VERSION}), libpng-dev, libjpeg-dev, zlib1g-dev, libfreetype-dev")

set(CPACK_COMPONENT_PYTHON_DESCRIPTION
  "chart drawing library for servers (Python 3 binding)\nThe quorvane package: charts and drawing areas reached by method name\nthrough the library's scripting entry point.")
set(CPACK_DEBIAN_PYTHON_PACKAGE_SECTION python)
set(CPACK_DEBIAN_PYTHON_PACKAGE_ARCHITECTURE all)
set(CPACK_DEBIAN_PYTHON_PACKAGE_DEPENDS "libquorvane20 (= ${PROJECT_VERSION}), python3")
set(CPACK_DEBIAN_PYTHON_PACKAGE_CONTROL_EXTRA ${CMAKE_CURRENT_LIST_DIR}/deb/prerm)

include(CPack)
