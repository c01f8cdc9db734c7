# direct-search: command-line DIRECT search on the standard test problems,
# running the boxpart plug-in through the embedded host.
find_package(nlohmann_json REQUIRED)
add_executable(direct-search ${CMAKE_CURRENT_LIST_DIR}/direct/direct_search_main.cpp)
target_link_libraries(direct-search PRIVATE direct_driver nlohmann_json::nlohmann_json)
add_dependencies(direct-search boxpart)
