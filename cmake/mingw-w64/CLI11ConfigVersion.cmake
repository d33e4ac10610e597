include(${CMAKE_CURRENT_LIST_DIR}/HeaderOnlyPackage.cmake)
plurion_header_version(PACKAGE_VERSION CLI11_VERSION_ /usr/include/CLI/Version.hpp)
include(${CMAKE_CURRENT_LIST_DIR}/VersionCheck.cmake)
