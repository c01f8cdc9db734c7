#include "seed_calls.hpp"

#include <cstdlib>
#include <fstream>

namespace fuzz {

namespace {

std::string trim(const std::string &s) {
    const size_t a = s.find_first_not_of(" \t"), b = s.find_last_not_of(" \t\r");
    return a == std::string::npos ? std::string() : s.substr(a, b - a + 1);
}

} // namespace

std::map<std::string, std::vector<Seed>> read_seed_calls(const std::string &path) {
    std::map<std::string, std::vector<Seed>> seeds;
    std::ifstream in(path);
    std::string line;
    while (std::getline(in, line)) {
        line = trim(line);
        if (line.empty() || line[0] == '#') continue;
        std::vector<std::string> parts;
        size_t pos = 0;
        while (true) {
            size_t bar = line.find(" | ", pos);
            parts.push_back(trim(line.substr(pos, bar == std::string::npos ? std::string::npos : bar - pos)));
            if (bar == std::string::npos) break;
            pos = bar + 3;
        }
        if (parts.size() < 2) continue;
        Seed s;
        s.name = parts[0];
        s.nargout = std::atoi(parts[1].c_str());
        s.text = line;
        bool ok = true;
        for (size_t i = 2; i < parts.size() && ok; ++i) {
            mexrun::Value v;
            mexrun::ParseError err;
            ok = mexrun::parse_literal(parts[i], v, err, false);
            s.args.push_back(std::move(v));
        }
        if (ok) seeds[s.name].push_back(std::move(s));
    }
    return seeds;
}

} // namespace fuzz
