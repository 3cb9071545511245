# Install rules: the shared and the static library, the published headers, a
# pkg-config file and a CMake package giving Quorvane::quorvane (shared) and
# Quorvane::quorvane_static, the Python package, and the README with the
# examples' sources. Both descriptions and the Python package are relocatable:
# they find the prefix from where they were installed, so
# `cmake --install --prefix` and DESTDIR work without reconfiguring.
include(CMakePackageConfigHelpers)

# The outside libraries the static archive needs, read from the subsystems'
# link requirements: PNG::PNG -> the CMake package PNG and the pkg-config
# module libpng. A new kind of dependency stops the configure here instead of
# leaving an installed archive that cannot be linked.
set(quorvane_pc_module_PNG libpng)
set(quorvane_pc_module_JPEG libjpeg)
set(quorvane_pc_module_ZLIB zlib)
set(quorvane_pc_module_Freetype freetype2)
set(QUORVANE_STATIC_PACKAGES "")
set(QUORVANE_STATIC_LINKS "")
set(QUORVANE_PC_REQUIRES "")
foreach(sub ${QUORVANE_LAYERS})
  if(NOT TARGET quorvane_${sub})
    continue()
  endif()
  get_target_property(links quorvane_${sub} INTERFACE_LINK_LIBRARIES)
  foreach(link IN LISTS links)
    if(link MATCHES "^quorvane_" OR link MATCHES "-NOTFOUND$")
      continue()
    endif()
    string(REGEX REPLACE "::.*" "" package "${link}")
    if(NOT link MATCHES "^[A-Za-z0-9_]+::[A-Za-z0-9_]+$" OR NOT DEFINED quorvane_pc_module_${package})
      message(FATAL_ERROR "quorvane_${sub} links ${link}: name its package and pkg-config module in cmake/install.cmake")
    endif()
    if(NOT link IN_LIST QUORVANE_STATIC_LINKS)
      list(APPEND QUORVANE_STATIC_LINKS ${link})
      list(APPEND QUORVANE_STATIC_PACKAGES ${package})
      list(APPEND QUORVANE_PC_REQUIRES ${quorvane_pc_module_${package}})
    endif()
  endforeach()
endforeach()
target_link_libraries(quorvane_static INTERFACE "$<INSTALL_INTERFACE:${QUORVANE_STATIC_LINKS}>")

set_target_properties(quorvane20 PROPERTIES EXPORT_NAME quorvane)
set_target_properties(quorvane_static PROPERTIES EXPORT_NAME quorvane_static)
set(QUORVANE_CMAKE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/Quorvane)

# The folder of the libraries as the install step sees it: the prefix given to
# `cmake --install --prefix` applies. Files are written under DESTDIR; the
# install manifest names them without it.
if(IS_ABSOLUTE "${CMAKE_INSTALL_LIBDIR}")
  set(quorvane_install_libdir "${CMAKE_INSTALL_LIBDIR}")
else()
  set(quorvane_install_libdir "\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_LIBDIR}")
endif()

# The shared library is installed as libquorvane20.so.<version> with
# libquorvane20.so a link to it. Its SONAME stays the plain libquorvane20.so, so
# the run-time loader opens the link and the link editor reads the same file.
# A link left by an earlier install goes first, so the new file is not copied
# through it into the old one.
install(CODE "
  set(quorvane_link \"\$ENV{DESTDIR}${quorvane_install_libdir}/libquorvane20.so\")
  if(IS_SYMLINK \"\${quorvane_link}\")
    file(REMOVE \"\${quorvane_link}\")
  endif()" COMPONENT runtime)
install(TARGETS quorvane20 EXPORT QuorvaneTargets
  LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT runtime)
install(CODE "
  set(quorvane_dir \"\$ENV{DESTDIR}${quorvane_install_libdir}\")
  set(quorvane_file libquorvane20.so.${PROJECT_VERSION})
  file(RENAME \"\${quorvane_dir}/libquorvane20.so\" \"\${quorvane_dir}/\${quorvane_file}\")
  file(CREATE_LINK \"\${quorvane_file}\" \"\${quorvane_dir}/libquorvane20.so\" SYMBOLIC)
  message(STATUS \"Renamed: \${quorvane_dir}/\${quorvane_file} (libquorvane20.so links to it)\")
  list(APPEND CMAKE_INSTALL_MANIFEST_FILES \"${quorvane_install_libdir}/\${quorvane_file}\")"
  COMPONENT runtime)
install(TARGETS quorvane_static EXPORT QuorvaneStaticTargets
  ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT development)
install(FILES ${QUORVANE_INCLUDE}/quorvane.h ${QUORVANE_INCLUDE}/quorvane_ptr.h
  DESTINATION ${CMAKE_INSTALL_INCLUDEDIR} COMPONENT development)

install(EXPORT QuorvaneTargets NAMESPACE Quorvane:: DESTINATION ${QUORVANE_CMAKE_DIR}
  COMPONENT development)
install(EXPORT QuorvaneStaticTargets NAMESPACE Quorvane:: DESTINATION ${QUORVANE_CMAKE_DIR}
  COMPONENT development)
configure_package_config_file(${CMAKE_CURRENT_LIST_DIR}/QuorvaneConfig.cmake.in
  ${PROJECT_BINARY_DIR}/QuorvaneConfig.cmake
  INSTALL_DESTINATION ${QUORVANE_CMAKE_DIR})
write_basic_package_version_file(${PROJECT_BINARY_DIR}/QuorvaneConfigVersion.cmake
  COMPATIBILITY SameMajorVersion)
install(FILES ${PROJECT_BINARY_DIR}/QuorvaneConfig.cmake
              ${PROJECT_BINARY_DIR}/QuorvaneConfigVersion.cmake
  DESTINATION ${QUORVANE_CMAKE_DIR} COMPONENT development)

# pkg-config: the prefix is reached from the .pc file's own folder.
set(pc_dir ${CMAKE_INSTALL_LIBDIR}/pkgconfig)
foreach(kind LIBDIR INCLUDEDIR)
  if(IS_ABSOLUTE "${CMAKE_INSTALL_${kind}}")
    set(QUORVANE_PC_${kind} "${CMAKE_INSTALL_${kind}}")
  else()
    set(QUORVANE_PC_${kind} "\${prefix}/${CMAKE_INSTALL_${kind}}")
  endif()
endforeach()
if(IS_ABSOLUTE "${pc_dir}")
  set(QUORVANE_PC_PREFIX "${CMAKE_INSTALL_PREFIX}")
else()
  file(RELATIVE_PATH up "/${pc_dir}" "/")
  string(REGEX REPLACE "/$" "" up "${up}")
  set(QUORVANE_PC_PREFIX "\${pcfiledir}/${up}")
endif()
list(JOIN QUORVANE_PC_REQUIRES " " QUORVANE_PC_REQUIRES)
configure_file(${CMAKE_CURRENT_LIST_DIR}/quorvane.pc.in ${PROJECT_BINARY_DIR}/quorvane.pc @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/quorvane.pc DESTINATION ${pc_dir} COMPONENT development)

# The Python package, with _library.txt beside it naming the shared library
# relative to the package's folder, so a moved prefix keeps working.
set(QUORVANE_PYTHON_DIR lib/python3/dist-packages CACHE STRING
  "Where the Python package is installed, under the prefix unless absolute")
set(python_package ${QUORVANE_PYTHON_DIR}/quorvane)
if(IS_ABSOLUTE "${python_package}" OR IS_ABSOLUTE "${CMAKE_INSTALL_LIBDIR}")
  # Either folder fixed outside the prefix: the library's full path.
  set(library_from_package "${CMAKE_INSTALL_FULL_LIBDIR}/libquorvane20.so")
else()
  file(RELATIVE_PATH library_from_package "/${python_package}" "/${CMAKE_INSTALL_LIBDIR}/libquorvane20.so")
endif()
file(WRITE ${PROJECT_BINARY_DIR}/python/_library.txt "${library_from_package}\n")
file(GLOB python_sources ${PROJECT_SOURCE_DIR}/bindings/python/quorvane/*.py
  ${PROJECT_SOURCE_DIR}/bindings/python/quorvane/*.pyi ${PROJECT_SOURCE_DIR}/bindings/python/quorvane/py.typed)
install(FILES ${python_sources} ${PROJECT_BINARY_DIR}/python/_library.txt DESTINATION ${python_package}
  COMPONENT python)

# The README, the change log, the licence and the examples' sources.
install(FILES ${PROJECT_SOURCE_DIR}/README.md ${PROJECT_SOURCE_DIR}/CHANGELOG.md ${PROJECT_SOURCE_DIR}/LICENSE
  DESTINATION ${CMAKE_INSTALL_DOCDIR} COMPONENT development)
install(DIRECTORY ${PROJECT_SOURCE_DIR}/examples/ DESTINATION ${CMAKE_INSTALL_DOCDIR}/examples
  COMPONENT development PATTERN __pycache__ EXCLUDE PATTERN node_modules EXCLUDE)
