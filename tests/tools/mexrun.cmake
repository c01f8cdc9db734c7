# mexrun: the literal parser and output formats as a library, and the built
# command-line program driven with argument lists.
find_package(nlohmann_json 3 REQUIRED)
add_gtest(mexrun_test SOURCES mexrun_literal_test.cpp LIBRARIES mexrun_core nlohmann_json::nlohmann_json)
