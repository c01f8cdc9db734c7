# mexrun: the command-line host. The literal parser and the output formats
# live in a library of their own so the tests can reach them directly.
find_package(nlohmann_json 3 REQUIRED)

add_library(mexrun_core STATIC
  mexrun/literal.cpp
  mexrun/value_ops.cpp
  mexrun/display.cpp
  mexrun/json_output.cpp
  mexrun/functions.cpp)
target_include_directories(mexrun_core PUBLIC ${CMAKE_CURRENT_SOURCE_DIR}/mexrun)
target_link_libraries(mexrun_core PUBLIC mexhost PRIVATE nlohmann_json::nlohmann_json)

add_executable(mexrun mexrun/main.cpp)
target_link_libraries(mexrun PRIVATE mexrun_core)

# mexrun_all: the host and every plug-in registered so far (all subsystem
# directories come before tools/), which is what the ./mexrun wrapper builds.
get_property(_mexrun_plugins GLOBAL PROPERTY MEX_PLUGINS)
add_custom_target(mexrun_all)
add_dependencies(mexrun_all mexrun ${_mexrun_plugins})
