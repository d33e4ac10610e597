include(${CMAKE_CURRENT_LIST_DIR}/HeaderOnlyPackage.cmake)
plurion_header_only_package(CLI11::CLI11 CLI)
