// Presenting host arrays: the readable plain display and the JSON form.
#ifndef MEXRUN_OUTPUT_HPP
#define MEXRUN_OUTPUT_HPP

#include "mex.h"

#include <string>
#include <vector>

namespace mexrun {

struct DisplayOptions {
    int precision = 5; // significant digits of floating values (1 to 17)
};

// "name = 2x3 double" followed by the values, one matrix row a line.
std::string display_array(const std::string &name, const mxArray *a, const DisplayOptions &opt);

// One floating value: NaN, Inf, -Inf, or %.<precision>g (so -0 stays "-0").
std::string format_real(double x, int precision);
// "re + imi" or "re - imi".
std::string format_complex(double re, double im, int precision);
// UTF-16 code units as UTF-8; unpaired surrogates become U+FFFD.
std::string utf8_from_units(const mxChar *units, size_t n);

// JSON text of a string (escaped; invalid UTF-8 replaced).
std::string json_string(const std::string &s);
// JSON value of a double: a number at 17 significant digits, or one of the
// strings "NaN", "Inf", "-Inf".
std::string json_number(double x);
// {"class":...,"dims":[...],"complex":...,"sparse":...,"re":...,"im":...}
// plus "ir"/"jc" for sparse arrays, "cells" for cell arrays and "name" for
// function handles. A null array is shown as an empty 0x0 double.
std::string json_array(const mxArray *a);
std::string json_success(const std::vector<const mxArray *> &outputs, const std::vector<std::string> &warnings,
                         const std::string &printed);
std::string json_error(const std::string &message);

} // namespace mexrun

#endif
