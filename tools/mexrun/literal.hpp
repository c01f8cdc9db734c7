// MATLAB-style literals for command-line arguments: numbers, matrices, cell
// arrays, strings, ranges, a few constructor functions and handles to
// host-registered functions, evaluated into host arrays.
#ifndef MEXRUN_LITERAL_HPP
#define MEXRUN_LITERAL_HPP

#include "mexhost.hpp"

#include <cstddef>
#include <string>
#include <vector>

namespace mexrun {

// A value under construction. Numbers of every numeric class are held as
// doubles (already rounded and saturated for the integer classes, rounded
// to float for single); sparse values are held full and compressed when
// they become host arrays.
struct Value {
    mxClassID cls = mxDOUBLE_CLASS;
    std::vector<size_t> dims{0, 0}; // at least two entries, no trailing 1 past the second
    std::vector<double> re;         // numeric, logical and char data, column-major
    std::vector<double> im;         // imaginary part; empty for real values
    bool sparse = false;
    std::vector<Value> cells;       // cell elements, column-major
    std::string name;               // function handle: the registered name

    size_t numel() const;
    bool complex() const { return !im.empty(); }
};

// Largest number of elements one literal may build.
constexpr size_t kMaxLiteralElements = 100000000;

struct ParseError {
    size_t pos = 0; // 0-based offset in the text where the problem was found
    std::string message;
};

// Evaluates `text`. On failure returns false and fills `err`. When
// `check_handles` is set, @name must name a function registered with the
// host (mexhost::has_function).
bool parse_literal(const std::string &text, Value &out, ParseError &err, bool check_handles = true);

// The host array holding `v` (owned by the caller).
mexhost::ArrayPtr to_array(const Value &v);

// "argument 2, position 5: <message>" followed by the text and a caret line
// under the offending position.
std::string describe_parse_error(const std::string &text, size_t arg_index, const ParseError &err,
                                 bool with_caret = true);

} // namespace mexrun

#endif
