include(${CMAKE_CURRENT_LIST_DIR}/HeaderOnlyPackage.cmake)
plurion_header_version(PACKAGE_VERSION NLOHMANN_JSON_VERSION_
    /usr/include/nlohmann/detail/abi_macros.hpp /usr/include/nlohmann/json.hpp)
include(${CMAKE_CURRENT_LIST_DIR}/VersionCheck.cmake)
