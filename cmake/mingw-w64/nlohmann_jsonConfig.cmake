include(${CMAKE_CURRENT_LIST_DIR}/HeaderOnlyPackage.cmake)
plurion_header_only_package(nlohmann_json::nlohmann_json nlohmann)
