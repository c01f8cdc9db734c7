// The valid calls listed for the cross-host comparison, parsed into values
// that generated inputs start from.
#ifndef TESTS_FUZZ_SEED_CALLS_HPP
#define TESTS_FUZZ_SEED_CALLS_HPP

#include "literal.hpp"

#include <map>
#include <string>
#include <vector>

namespace fuzz {

struct Seed {
    std::string name;
    int nargout = 1;
    std::vector<mexrun::Value> args;
    std::string text; // the line as written
};

// Calls of `path` ("name | nargout | literal | literal ..."), by plug-in
// name; lines whose literals do not parse are skipped.
std::map<std::string, std::vector<Seed>> read_seed_calls(const std::string &path);

} // namespace fuzz

#endif
