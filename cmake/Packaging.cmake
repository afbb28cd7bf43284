# The Debian package: libraries, headers, the CMake package, the Designer
# plugin, MyCAD Studio with its desktop entry and drawing file type, and the
# mycad command. scripts/package builds it (shared libraries, installed
# under /usr).
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME mycad)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "MyCAD")
set(CPACK_PACKAGE_CONTACT "MyCAD developers <mycad@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${PROJECT_DESCRIPTION}")
set(CPACK_PACKAGE_DESCRIPTION
    "MyCAD is a drawing canvas widget (TMyCAD) with rulers that C++ applications
embed; this package holds its libraries, headers and CMake package
(find_package(MyCAD)), a Qt Designer plugin, MyCAD Studio (a drawing editor)
and the mycad command, which inspects, renders and converts drawings.")
set(CPACK_PACKAGING_INSTALL_PREFIX ${CMAKE_INSTALL_PREFIX})
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
# Runtime dependencies come from the binaries; building a host against the
# headers also needs Qt's development files.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS ${PROJECT_BINARY_DIR})
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS ON)
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-base-dev, cmake")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "qt6-tools-dev-tools, designer-qt6")
include(CPack)
