# Install rules: the shared and the static library, the published headers, a
# pkg-config file and a CMake package giving Quorvane::quorvane (shared) and
# Quorvane::quorvane_static. Both descriptions are relocatable: they find the
# prefix from where they were installed, so `cmake --install --prefix` and
# DESTDIR work without reconfiguring.
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

# The SONAME is the plain libquorvane20.so (no version suffix): the real file
# carries that name, so the run-time loader and the link editor find the same one.
install(TARGETS quorvane20 EXPORT QuorvaneTargets
  LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR})
install(TARGETS quorvane_static EXPORT QuorvaneStaticTargets
  ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR})
install(FILES ${QUORVANE_INCLUDE}/quorvane.h ${QUORVANE_INCLUDE}/quorvane_ptr.h
  DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})

install(EXPORT QuorvaneTargets NAMESPACE Quorvane:: DESTINATION ${QUORVANE_CMAKE_DIR})
install(EXPORT QuorvaneStaticTargets NAMESPACE Quorvane:: DESTINATION ${QUORVANE_CMAKE_DIR})
configure_package_config_file(${CMAKE_CURRENT_LIST_DIR}/QuorvaneConfig.cmake.in
  ${PROJECT_BINARY_DIR}/QuorvaneConfig.cmake
  INSTALL_DESTINATION ${QUORVANE_CMAKE_DIR})
write_basic_package_version_file(${PROJECT_BINARY_DIR}/QuorvaneConfigVersion.cmake
  COMPATIBILITY SameMajorVersion)
install(FILES ${PROJECT_BINARY_DIR}/QuorvaneConfig.cmake
              ${PROJECT_BINARY_DIR}/QuorvaneConfigVersion.cmake
  DESTINATION ${QUORVANE_CMAKE_DIR})

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
install(FILES ${PROJECT_BINARY_DIR}/quorvane.pc DESTINATION ${pc_dir})
