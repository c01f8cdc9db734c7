# mexrun: the literal parser and output formats as a library, and the built
# command-line program driven with argument lists.
find_package(nlohmann_json 3 REQUIRED)
add_gtest(mexrun_test SOURCES mexrun_literal_test.cpp mexrun_output_test.cpp LIBRARIES mexrun_core nlohmann_json::nlohmann_json)

add_gtest(mexrun_cli_test SOURCES mexrun_cli_test.cpp LIBRARIES nlohmann_json::nlohmann_json)
target_compile_definitions(mexrun_cli_test PRIVATE MEXRUN_BIN="$<TARGET_FILE:mexrun>")
add_dependencies(mexrun_cli_test mexrun gausscum hosttest)
