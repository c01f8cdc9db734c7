// Operations on literal values: class conversion, arithmetic, transposition
// and concatenation, following MATLAB's rules for the cases a command-line
// literal needs. Failures throw LiteralFailure with the offending position.
#ifndef MEXRUN_VALUE_OPS_HPP
#define MEXRUN_VALUE_OPS_HPP

#include "literal.hpp"

#include <string>
#include <vector>

namespace mexrun {

struct LiteralFailure {
    size_t pos;
    std::string message;
};
[[noreturn]] void fail(size_t pos, std::string message);

bool is_integer_class(mxClassID c);
// Numeric, logical or char: the classes arithmetic accepts.
bool is_arithmetic(const Value &v);
const char *class_name(mxClassID c);
// Class named by a MATLAB class name ("int16"), or mxUNKNOWN_CLASS.
mxClassID class_from_name(const std::string &name);
std::string dims_text(const std::vector<size_t> &dims);

// The stored form of `x` in class `cls`: rounded half away from zero and
// saturated for the integer classes (NaN becomes 0), rounded to float for
// single, 0/1 for logical, a code unit for char.
double to_class(mxClassID cls, double x);

// Element count of `dims`, failing at `pos` past kMaxLiteralElements.
size_t checked_numel(const std::vector<size_t> &dims, size_t pos);
// Pads to two entries and drops trailing singleton dimensions past the second.
std::vector<size_t> normal_dims(std::vector<size_t> dims);

Value scalar(double x);
Value filled(const std::vector<size_t> &dims, mxClassID cls, double x, size_t pos);
Value convert(const Value &v, mxClassID cls, size_t pos);

// op: '+', '-', '*' (matrix product), '/' (division by a scalar), '^'
// (scalar power), 'x' (.*), 'd' (./), 'p' (.^).
Value binary(char op, const Value &a, const Value &b, size_t pos);
Value negate(const Value &v, size_t pos);
Value unary_plus(const Value &v, size_t pos);
Value transpose(const Value &v, bool conjugate, size_t pos);

struct Item {
    Value value;
    size_t pos;
};
// [a, b, ...] (horizontal) or [a; b; ...] (vertical).
Value concatenate(std::vector<Item> items, bool horizontal);

} // namespace mexrun

#endif
