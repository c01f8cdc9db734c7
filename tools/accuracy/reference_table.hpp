// Reading the committed reference tables: whitespace-separated numbers, one
// case a line, '#' comments; "nan" and "inf" are accepted.
#ifndef TOOLS_ACCURACY_REFERENCE_TABLE_HPP
#define TOOLS_ACCURACY_REFERENCE_TABLE_HPP

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace accuracy {

inline std::vector<std::vector<double>> read_numbers(const std::string &path) {
    std::ifstream in(path);
    if (!in) throw std::runtime_error("cannot open " + path);
    std::vector<std::vector<double>> rows;
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#') continue;
        std::istringstream ss(line);
        std::vector<double> r;
        std::string tok;
        while (ss >> tok) r.push_back(std::strtod(tok.c_str(), nullptr));
        if (!r.empty()) rows.push_back(r);
    }
    return rows;
}

} // namespace accuracy

#endif
