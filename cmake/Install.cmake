# Installs the libraries, the public headers and the CMake package that
# find_package(MyCAD CONFIG) reads.
include(CMakePackageConfigHelpers)

set(MYCAD_INSTALL_CMAKEDIR ${CMAKE_INSTALL_LIBDIR}/cmake/MyCAD CACHE STRING
    "Where the CMake package goes, relative to the install prefix")

get_property(mycad_targets GLOBAL PROPERTY MYCAD_INSTALLED_TARGETS)
install(TARGETS ${mycad_targets} EXPORT MyCADTargets
        ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT Development
        LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT Runtime NAMELINK_COMPONENT Development
        RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT Runtime)

# Every header of the library folders, so a new one is installed by being
# there. A header is public when another public header or a host needs it;
# the canvas header pulls in most of the tree, so all of them go.
foreach(folder platform cad ruler widgets)
  install(DIRECTORY ${PROJECT_SOURCE_DIR}/${folder}
          DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/mycad COMPONENT Development
          FILES_MATCHING PATTERN "*.h")
endforeach()
install(FILES ${PROJECT_BINARY_DIR}/generated/mycad/Version.h
        DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/mycad COMPONENT Development)

install(EXPORT MyCADTargets NAMESPACE MyCAD:: DESTINATION ${MYCAD_INSTALL_CMAKEDIR}
        COMPONENT Development)
configure_package_config_file(cmake/MyCADConfig.cmake.in
  ${PROJECT_BINARY_DIR}/MyCADConfig.cmake INSTALL_DESTINATION ${MYCAD_INSTALL_CMAKEDIR})
# Before 1.0 a minor release may change the interface.
write_basic_package_version_file(${PROJECT_BINARY_DIR}/MyCADConfigVersion.cmake
  COMPATIBILITY SameMinorVersion)
install(FILES ${PROJECT_BINARY_DIR}/MyCADConfig.cmake ${PROJECT_BINARY_DIR}/MyCADConfigVersion.cmake
        DESTINATION ${MYCAD_INSTALL_CMAKEDIR} COMPONENT Development)
