// Recursive-descent evaluator of command-line literals.
//
// Precedence, lowest first: range (a:b, a:s:b); + -; * / .* ./; unary + -;
// ^ .^; postfix transpose ' .'; primaries. Inside [ ] and { } blanks
// separate elements, so a sign with a blank before it and none after starts
// a new element ([1 -2] is two elements, [1 - 2] is -1); inside ( ) and
// function arguments blanks are insignificant again.
#include "literal.hpp"

#include "value_ops.hpp"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <type_traits>

namespace mexrun {
namespace {

constexpr int kMaxDepth = 200;

bool ident_start(char c) { return std::isalpha(static_cast<unsigned char>(c)) != 0; }
bool ident_char(char c) { return std::isalnum(static_cast<unsigned char>(c)) != 0 || c == '_'; }
bool digit(char c) { return c >= '0' && c <= '9'; }
bool blank(char c) { return c == ' ' || c == '\t'; }

// UTF-8 text to UTF-16 code units, as MATLAB char arrays hold them; a byte
// that does not start a valid sequence becomes U+FFFD.
std::vector<double> utf16_units(const std::string &s) {
    std::vector<double> out;
    size_t i = 0;
    while (i < s.size()) {
        const unsigned char c = static_cast<unsigned char>(s[i]);
        unsigned cp = 0xFFFD;
        size_t len = 1;
        if (c < 0x80) {
            cp = c;
        } else {
            const size_t need = c >= 0xF0 && c < 0xF5 ? 4 : c >= 0xE0 ? 3 : c >= 0xC2 ? 2 : 0;
            if (need && i + need <= s.size()) {
                unsigned v = c & (0x7F >> need);
                bool ok = true;
                for (size_t k = 1; k < need && ok; ++k) {
                    const unsigned char t = static_cast<unsigned char>(s[i + k]);
                    ok = (t & 0xC0) == 0x80;
                    v = (v << 6) | (t & 0x3F);
                }
                const unsigned min = need == 2 ? 0x80 : need == 3 ? 0x800 : 0x10000;
                if (ok && v >= min && v <= 0x10FFFF && !(v >= 0xD800 && v <= 0xDFFF)) {
                    cp = v;
                    len = need;
                }
            }
        }
        if (cp >= 0x10000) {
            out.push_back(double(0xD800 + ((cp - 0x10000) >> 10)));
            out.push_back(double(0xDC00 + ((cp - 0x10000) & 0x3FF)));
        } else {
            out.push_back(double(cp));
        }
        i += len;
    }
    return out;
}

struct Arg {
    Value value;
    size_t pos;
};

class Parser {
public:
    Parser(const std::string &text, bool check_handles) : s_(text), check_handles_(check_handles) {}

    Value run() {
        skip_ws();
        if (eof()) fail(0, "empty argument; write [] for an empty matrix or '' for an empty string");
        Value v = expr();
        skip_ws();
        if (!eof()) fail(p_, "unexpected " + here());
        return v;
    }

private:
    const std::string &s_;
    const bool check_handles_;
    size_t p_ = 0;
    bool in_brackets_ = false; // blanks separate elements
    int depth_ = 0;

    struct Depth {
        Parser &p;
        explicit Depth(Parser &q) : p(q) {
            if (++p.depth_ > kMaxDepth) fail(p.p_, "literal nested too deeply");
        }
        ~Depth() { --p.depth_; }
    };

    bool eof() const { return p_ >= s_.size(); }
    char peek(size_t k = 0) const { return p_ + k < s_.size() ? s_[p_ + k] : '\0'; }
    std::string here() const {
        if (eof()) return "end of text";
        return std::string("'") + s_[p_] + "'";
    }
    // Skips blanks, and outside brackets line breaks too; tells whether any
    // were skipped.
    bool skip_ws() {
        const size_t start = p_;
        while (!eof() && (blank(s_[p_]) || (!in_brackets_ && (s_[p_] == '\n' || s_[p_] == '\r')))) ++p_;
        return p_ != start;
    }

    Value expr() {
        Depth guard(*this);
        const size_t start = p_;
        Value a = additive();
        size_t save = p_;
        skip_ws();
        if (peek() != ':') {
            p_ = save;
            return a;
        }
        ++p_;
        skip_ws();
        Value b = additive();
        save = p_;
        skip_ws();
        if (peek() == ':') {
            ++p_;
            skip_ws();
            Value c = additive();
            return range(a, b, c, start);
        }
        p_ = save;
        return range(a, scalar(1.0), b, start);
    }

    Value additive() {
        Value v = term();
        for (;;) {
            const size_t save = p_;
            const bool ws = skip_ws();
            const char c = peek();
            // In brackets, "a -b" is two elements and "a - b" one.
            if ((c != '+' && c != '-') || (in_brackets_ && ws && !blank(peek(1)))) {
                p_ = save;
                return v;
            }
            const size_t op = p_++;
            skip_ws();
            Value r = term();
            v = binary(c, v, r, op);
        }
    }

    Value term() {
        Value v = unary();
        for (;;) {
            const size_t save = p_;
            skip_ws();
            char op = 0;
            size_t len = 1;
            if (peek() == '*' || peek() == '/') op = peek();
            else if (peek() == '.' && peek(1) == '*') op = 'x', len = 2;
            else if (peek() == '.' && peek(1) == '/') op = 'd', len = 2;
            if (!op) {
                p_ = save;
                return v;
            }
            const size_t at = p_;
            p_ += len;
            skip_ws();
            Value r = unary();
            v = binary(op, v, r, at);
        }
    }

    Value unary() {
        Depth guard(*this);
        const char c = peek();
        if (c == '-' || c == '+') {
            const size_t at = p_++;
            skip_ws();
            Value v = unary();
            return c == '-' ? negate(v, at) : unary_plus(v, at);
        }
        return power();
    }

    Value power() {
        Value b = postfix();
        for (;;) {
            const size_t save = p_;
            skip_ws();
            char op = 0;
            if (peek() == '^') op = '^';
            else if (peek() == '.' && peek(1) == '^') op = 'p';
            if (!op) {
                p_ = save;
                return b;
            }
            const size_t at = p_;
            p_ += op == '^' ? 1 : 2;
            skip_ws();
            Value e = exponent();
            b = binary(op, b, e, at);
        }
    }

    // The operand of ^ may carry signs of its own: 2^-1.
    Value exponent() {
        Depth guard(*this);
        const char c = peek();
        if (c == '-' || c == '+') {
            const size_t at = p_++;
            skip_ws();
            Value v = exponent();
            return c == '-' ? negate(v, at) : unary_plus(v, at);
        }
        return postfix();
    }

    Value postfix() {
        Value v = primary();
        // A quote right after a value transposes it; after a blank it starts
        // a string.
        for (;;) {
            const size_t at = p_;
            if (peek() == '\'') {
                ++p_;
                v = transpose(v, true, at);
            } else if (peek() == '.' && peek(1) == '\'') {
                p_ += 2;
                v = transpose(v, false, at);
            } else {
                return v;
            }
        }
    }

    Value primary() {
        const char c = peek();
        if (eof()) fail(p_, "expected a value, found end of text");
        if (digit(c) || (c == '.' && digit(peek(1)))) return number();
        if (c == '[') return brackets(']');
        if (c == '{') return brackets('}');
        if (c == '(') {
            const size_t open = p_++;
            const bool saved = in_brackets_;
            in_brackets_ = false;
            skip_ws();
            Value v = expr();
            skip_ws();
            if (peek() != ')')
                fail(p_, "expected ')' to close '(' at position " + std::to_string(open + 1) + ", found " + here());
            ++p_;
            in_brackets_ = saved;
            return v;
        }
        if (c == '\'') return string();
        if (c == '"') fail(p_, "double-quoted strings are not supported; write 'text'");
        if (c == '@') return handle();
        if (ident_start(c)) return identifier();
        fail(p_, "unexpected " + here());
    }

    Value number() {
        const size_t start = p_;
        while (digit(peek())) ++p_;
        // A dot followed by an operator character belongs to the operator
        // (5.*2, 5.^2, 5.'), so it is not part of the number.
        if (peek() == '.' && peek(1) != '*' && peek(1) != '/' && peek(1) != '^' && peek(1) != '\'') {
            ++p_;
            while (digit(peek())) ++p_;
        }
        const char e = peek();
        if (e == 'e' || e == 'E' || e == 'd' || e == 'D') {
            const size_t k = (peek(1) == '+' || peek(1) == '-') ? 2 : 1;
            if (!digit(peek(k))) fail(p_, "malformed number: exponent without digits");
            p_ += k;
            while (digit(peek())) ++p_;
        }
        std::string text = s_.substr(start, p_ - start);
        for (char &ch : text)
            if (ch == 'd' || ch == 'D') ch = 'e';
        // Values beyond the double range become Inf (1e400) or 0 (1e-400).
        const double x = std::strtod(text.c_str(), nullptr);
        bool imaginary = false;
        if ((peek() == 'i' || peek() == 'j' || peek() == 'I' || peek() == 'J') && !ident_char(peek(1))) {
            imaginary = true;
            ++p_;
        }
        if (ident_char(peek()) || (peek() == '.' && digit(peek(1))))
            fail(p_, "malformed number: unexpected " + here() + " after " + s_.substr(start, p_ - start));
        Value v = scalar(imaginary ? 0.0 : x);
        if (imaginary) v.im = {x};
        return v;
    }

    Value string() {
        const size_t open = p_++;
        std::string text;
        for (;;) {
            if (eof()) fail(open, "string not terminated: missing closing '");
            const char c = s_[p_];
            if (c == '\'') {
                if (peek(1) == '\'') {
                    text += '\'';
                    p_ += 2;
                    continue;
                }
                ++p_;
                break;
            }
            text += c;
            ++p_;
        }
        Value v;
        v.cls = mxCHAR_CLASS;
        v.re = utf16_units(text);
        v.dims = {v.re.empty() ? size_t(0) : size_t(1), v.re.size()};
        return v;
    }

    Value handle() {
        const size_t at = p_++;
        if (peek() == '(') fail(at, "anonymous functions are not supported; use @name of a registered function");
        if (!ident_start(peek())) fail(p_, "expected a function name after '@'");
        const size_t start = p_;
        while (ident_char(peek())) ++p_;
        Value v;
        v.cls = mxFUNCTION_CLASS;
        v.dims = {1, 1};
        v.name = s_.substr(start, p_ - start);
        if (check_handles_ && !mexhost::has_function(v.name))
            fail(start, "unknown function '@" + v.name + "' (mexrun --functions lists the registered ones)");
        return v;
    }

    // [ ... ] builds a matrix by concatenation; { ... } a cell array whose
    // elements are the values written.
    Value brackets(char close) {
        const size_t open = p_++;
        const bool saved = in_brackets_;
        in_brackets_ = true;
        std::vector<std::vector<Item>> rows(1);
        std::vector<size_t> row_pos{p_};
        bool after_element = false;
        for (;;) {
            const bool ws = skip_ws();
            if (eof())
                fail(p_, std::string("missing '") + close + "' to close '" + s_[open] + "' at position " +
                             std::to_string(open + 1));
            const char c = peek();
            if (c == close) {
                ++p_;
                break;
            }
            if (c == ';' || c == '\n' || c == '\r') {
                ++p_;
                rows.emplace_back();
                row_pos.push_back(p_);
                after_element = false;
                continue;
            }
            if (c == ',') {
                if (!after_element) fail(p_, "unexpected ','");
                ++p_;
                after_element = false;
                continue;
            }
            if (after_element && !ws) fail(p_, std::string("expected ',', ';' or '") + close + "', found " + here());
            const size_t at = p_;
            Value v = expr();
            if (close == '}') {
                Value cell;
                cell.cls = mxCELL_CLASS;
                cell.dims = {1, 1};
                cell.cells.push_back(std::move(v));
                v = std::move(cell);
            }
            if (rows.back().empty()) row_pos.back() = at;
            rows.back().push_back(Item{std::move(v), at});
            after_element = true;
        }
        in_brackets_ = saved;

        std::vector<Item> stacked;
        for (size_t r = 0; r < rows.size(); ++r)
            if (!rows[r].empty()) stacked.push_back(Item{concatenate(std::move(rows[r]), true), row_pos[r]});
        if (stacked.empty()) {
            Value empty;
            if (close == '}') empty.cls = mxCELL_CLASS;
            return empty;
        }
        return concatenate(std::move(stacked), false);
    }

    std::vector<Arg> arguments() {
        const size_t open = p_++;
        const bool saved = in_brackets_;
        in_brackets_ = false;
        std::vector<Arg> args;
        skip_ws();
        if (peek() == ')') {
            ++p_;
        } else {
            for (;;) {
                skip_ws();
                const size_t at = p_;
                args.push_back(Arg{expr(), at});
                skip_ws();
                if (peek() == ',') {
                    ++p_;
                    continue;
                }
                if (peek() == ')') {
                    ++p_;
                    break;
                }
                fail(p_, "expected ',' or ')' in the argument list opened at position " + std::to_string(open + 1) +
                             ", found " + here());
            }
        }
        in_brackets_ = saved;
        return args;
    }

    Value identifier() {
        const size_t at = p_;
        while (ident_char(peek())) ++p_;
        const std::string name = s_.substr(at, p_ - at);
        // In brackets "zeros (2)" is two elements, as in MATLAB.
        const size_t save = p_;
        if (!in_brackets_) skip_ws();
        const bool call = peek() == '(';
        if (!call) p_ = save;
        std::vector<Arg> args;
        if (call) args = arguments();
        return call_function(name, at, args, call);
    }

    Value call_function(const std::string &name, size_t at, std::vector<Arg> &args, bool call);

    Value range(const Value &a, const Value &step, const Value &b, size_t at);
};

// Integer-valued, finite, real scalar; negative sizes count as 0.
size_t size_arg(const Arg &a, const std::string &fn) {
    const Value &v = a.value;
    if (!is_arithmetic(v) || v.complex() || v.numel() != 1)
        fail(a.pos, fn + ": each size must be a real scalar");
    const double x = v.re[0];
    if (std::isnan(x)) fail(a.pos, fn + ": size must not be NaN");
    if (std::isinf(x)) fail(a.pos, fn + ": size must be finite");
    if (x != std::floor(x)) fail(a.pos, fn + ": size must be an integer");
    if (x <= 0) return 0;
    if (x > double(kMaxLiteralElements)) fail(a.pos, "literal too large: size " + std::to_string(x));
    return size_t(x);
}

// Sizes given as n (n-by-n), m, n, p, ... or one vector [m n p ...].
std::vector<size_t> size_args(const std::vector<Arg> &args, size_t first, size_t end, const std::string &fn,
                              size_t at) {
    std::vector<size_t> dims;
    const size_t count = end - first;
    if (count == 0) return {1, 1};
    if (count == 1 && args[first].value.numel() != 1) {
        const Value &v = args[first].value;
        if (is_arithmetic(v) && v.numel() == 0) return {0, 0};
        if (!is_arithmetic(v) || v.complex() || v.numel() == 0)
            fail(args[first].pos, fn + ": the size vector must hold real numbers");
        for (double x : v.re) dims.push_back(size_arg(Arg{scalar(x), args[first].pos}, fn));
        if (dims.size() == 1) fail(args[first].pos, fn + ": the size vector needs at least two elements");
    } else {
        for (size_t k = first; k < end; ++k) dims.push_back(size_arg(args[k], fn));
        if (dims.size() == 1) dims.push_back(dims[0]);
    }
    dims = normal_dims(dims);
    checked_numel(dims, at);
    return dims;
}

// A trailing class name argument, as in zeros(2, 3, 'int32').
mxClassID class_arg(std::vector<Arg> &args, const std::string &fn) {
    if (args.empty() || args.back().value.cls != mxCHAR_CLASS) return mxDOUBLE_CLASS;
    std::string name;
    for (double c : args.back().value.re) name += char(c < 128 ? c : '?');
    const mxClassID cls = class_from_name(name);
    if (cls == mxUNKNOWN_CLASS || cls == mxCHAR_CLASS)
        fail(args.back().pos, fn + ": unknown class name '" + name + "'");
    args.pop_back();
    return cls;
}

double real_scalar(const Arg &a, const std::string &what) {
    const Value &v = a.value;
    if (!is_arithmetic(v) || v.complex() || v.numel() != 1) fail(a.pos, what + " must be a real scalar");
    return v.re[0];
}

void expect_count(const std::vector<Arg> &args, size_t lo, size_t hi, const std::string &fn, size_t at) {
    if (args.size() < lo || args.size() > hi)
        fail(at, fn + " takes " +
                     (lo == hi ? std::to_string(lo) : std::to_string(lo) + " to " + std::to_string(hi)) +
                     " argument" + (hi == 1 ? "" : "s") + ", not " + std::to_string(args.size()));
}

Value linspace(const std::vector<Arg> &args, size_t at) {
    expect_count(args, 2, 3, "linspace", at);
    const double a = real_scalar(args[0], "linspace: the start");
    const double b = real_scalar(args[1], "linspace: the end");
    double nd = args.size() == 3 ? real_scalar(args[2], "linspace: the count") : 100.0;
    if (std::isnan(nd)) fail(args[2].pos, "linspace: the count must not be NaN");
    nd = std::floor(nd);
    if (nd > double(kMaxLiteralElements)) fail(args[2].pos, "literal too large: linspace count");
    const size_t n = nd < 1 ? 0 : size_t(nd);
    Value v;
    v.dims = {1, n};
    v.re.resize(n);
    if (n == 0) return v;
    const double steps = double(n - 1);
    const double step = (b - a) / steps;
    for (size_t k = 0; k + 1 < n; ++k) {
        const double t = double(k);
        // b - a overflows for ends of opposite sign near the double limit;
        // then interpolate from both ends instead.
        v.re[k] = std::isfinite(step) ? a + t * step : a - t * (a / steps) + t * (b / steps);
    }
    v.re[n - 1] = b;
    return v;
}

// sparse(A), sparse(m, n), sparse(i, j, v) or sparse(i, j, v, m, n); held
// full here and compressed when it becomes a host array.
Value sparse_value(const std::vector<Arg> &args, size_t at) {
    if (args.size() == 1) {
        const Value &a = args[0].value;
        if (!is_arithmetic(a) || (a.cls != mxDOUBLE_CLASS && a.cls != mxLOGICAL_CLASS))
            fail(args[0].pos, "sparse: the matrix must be double or logical");
        if (a.dims.size() > 2) fail(args[0].pos, "sparse: the matrix must be 2-D");
        Value r = a;
        r.cls = mxDOUBLE_CLASS;
        r.sparse = true;
        return r;
    }
    if (args.size() == 2) {
        Value r = filled({size_arg(args[0], "sparse"), size_arg(args[1], "sparse")}, mxDOUBLE_CLASS, 0.0, at);
        r.sparse = true;
        return r;
    }
    if (args.size() != 3 && args.size() != 5) fail(at, "sparse takes 1, 2, 3 or 5 arguments");
    const Value &iv = args[0].value, &jv = args[1].value, &vv = args[2].value;
    for (size_t k = 0; k < 3; ++k) {
        const Value &x = args[k].value;
        if (!is_arithmetic(x) || (k < 2 && x.complex()) || x.sparse)
            fail(args[k].pos, k < 2 ? "sparse: indices must be real numbers" : "sparse: values must be numeric");
    }
    size_t len = 1;
    for (size_t k = 0; k < 3; ++k) {
        const size_t n = args[k].value.numel();
        if (n != 1) {
            if (len != 1 && n != len) fail(args[k].pos, "sparse: index and value vectors must have equal lengths");
            len = n;
        }
    }
    if (iv.numel() == 0 || jv.numel() == 0 || vv.numel() == 0) len = 0;
    auto index = [&](const Arg &a, size_t k) {
        const double x = a.value.re[a.value.numel() == 1 ? 0 : k];
        if (!(x >= 1) || x != std::floor(x) || x > double(kMaxLiteralElements))
            fail(a.pos, "sparse: indices must be positive integers");
        return size_t(x) - 1;
    };
    size_t m = 0, n = 0;
    for (size_t k = 0; k < len; ++k) {
        m = std::max(m, index(args[0], k) + 1);
        n = std::max(n, index(args[1], k) + 1);
    }
    if (args.size() == 5) {
        const size_t mm = size_arg(args[3], "sparse"), nn = size_arg(args[4], "sparse");
        if (mm < m || nn < n) fail(args[mm < m ? 3 : 4].pos, "sparse: an index exceeds the given size");
        m = mm;
        n = nn;
    }
    Value r = filled({m, n}, mxDOUBLE_CLASS, 0.0, at);
    r.sparse = true;
    if (vv.complex()) r.im.assign(r.re.size(), 0.0);
    // Repeated positions add up.
    for (size_t k = 0; k < len; ++k) {
        const size_t pos = index(args[0], k) + m * index(args[1], k);
        const size_t src = vv.numel() == 1 ? 0 : k;
        r.re[pos] += vv.re[src];
        if (vv.complex()) r.im[pos] += vv.im[src];
    }
    return r;
}

Value complex_value(const std::vector<Arg> &args, size_t at) {
    expect_count(args, 1, 2, "complex", at);
    for (const Arg &a : args)
        if (!is_arithmetic(a.value) || a.value.complex() || a.value.cls == mxCHAR_CLASS ||
            a.value.cls == mxLOGICAL_CLASS)
            fail(a.pos, "complex: the parts must be real numbers");
    Value r = args[0].value;
    if (args.size() == 1) {
        r.im.assign(r.re.size(), 0.0);
        return r;
    }
    const Value &b = args[1].value;
    if (r.numel() == 1 && b.numel() != 1) {
        Value grown = b;
        grown.cls = r.cls;
        std::fill(grown.re.begin(), grown.re.end(), r.re[0]);
        grown.sparse = r.sparse;
        r = grown;
    } else if (b.numel() != 1 && b.dims != r.dims) {
        fail(args[1].pos, "complex: the parts must have the same size");
    }
    r.im.resize(r.re.size());
    for (size_t k = 0; k < r.im.size(); ++k) r.im[k] = to_class(r.cls, b.re[b.numel() == 1 ? 0 : k]);
    return r;
}

Value reshape_value(const std::vector<Arg> &args, size_t at) {
    if (args.size() < 2) fail(at, "reshape takes an array and the new size");
    const Value &a = args[0].value;
    std::vector<size_t> dims;
    size_t unknown = size_t(-1);
    if (args.size() == 2) {
        dims = size_args(args, 1, 2, "reshape", at);
    } else {
        for (size_t k = 1; k < args.size(); ++k) {
            if (args[k].value.numel() == 0 && unknown == size_t(-1)) {
                unknown = dims.size();
                dims.push_back(1);
            } else {
                dims.push_back(size_arg(args[k], "reshape"));
            }
        }
    }
    const size_t n = a.numel();
    if (unknown != size_t(-1)) {
        size_t rest = 1;
        for (size_t k = 0; k < dims.size(); ++k)
            if (k != unknown) rest *= dims[k];
        if (rest == 0 || n % rest != 0) fail(at, "reshape: the size cannot be inferred for " + std::to_string(n) +
                                                     " elements");
        dims[unknown] = n / rest;
    }
    dims = normal_dims(dims);
    if (checked_numel(dims, at) != n)
        fail(at, "reshape: the number of elements must not change (" + dims_text(a.dims) + " to " + dims_text(dims) +
                     ")");
    if (a.sparse && dims.size() > 2) fail(at, "reshape: sparse arrays must stay 2-D");
    Value r = a;
    r.dims = dims;
    return r;
}

Value Parser::range(const Value &a, const Value &step, const Value &b, size_t at) {
    for (const Value *v : {&a, &step, &b}) {
        if (!is_arithmetic(*v) || v->complex()) fail(at, "range bounds and step must be real numbers");
        if (v->numel() > 1) fail(at, "range bounds and step must be scalars");
    }
    mxClassID cls = mxDOUBLE_CLASS;
    if (a.cls == mxCHAR_CLASS && b.cls == mxCHAR_CLASS) cls = mxCHAR_CLASS;
    for (const Value *v : {&a, &step, &b})
        if (is_integer_class(v->cls)) {
            if (cls != mxDOUBLE_CLASS && cls != v->cls)
                fail(at, "range bounds of different integer classes cannot be combined");
            cls = v->cls;
        }
    Value r;
    r.cls = cls;
    r.dims = {1, 0};
    if (a.numel() == 0 || step.numel() == 0 || b.numel() == 0) return r;
    const double lo = a.re[0], s = step.re[0], hi = b.re[0];
    if (std::isnan(lo) || std::isnan(s) || std::isnan(hi) || s == 0 || (s > 0 && lo > hi) || (s < 0 && lo < hi))
        return r;
    const double q = (hi - lo) / s;
    if (!std::isfinite(q) || q >= double(kMaxLiteralElements))
        fail(at, "range has too many elements (at most " + std::to_string(kMaxLiteralElements) + ")");
    // (hi - lo)/s carries rounding error relative to the bounds: 0:0.1:0.3
    // gives q = 2.9999999999999996 and must still reach 0.3.
    const double eps = 2.220446049250313e-16;
    const double tol = 4 * eps * std::max({1.0, std::fabs(q), std::max(std::fabs(lo), std::fabs(hi)) / std::fabs(s)});
    const size_t n = size_t(std::floor(q + tol)) + 1;
    r.dims = {1, n};
    r.re.resize(n);
    for (size_t k = 0; k < n; ++k) {
        double x = lo + double(k) * s;
        if ((s > 0 && x > hi) || (s < 0 && x < hi)) x = hi; // never overshoot the end
        r.re[k] = to_class(cls, x);
    }
    return r;
}

Value Parser::call_function(const std::string &name, size_t at, std::vector<Arg> &args, bool call) {
    auto no_args = [&]() {
        if (call) fail(at, name + " does not take arguments");
    };
    if (name == "pi" || name == "eps") {
        no_args();
        return scalar(name == "pi" ? 3.141592653589793 : 2.220446049250313e-16);
    }
    if (name == "i" || name == "j") {
        no_args();
        Value v = scalar(0.0);
        v.im = {1.0};
        return v;
    }
    // Fill functions: zeros, ones, Inf, NaN, true, false.
    struct Fill {
        const char *name;
        double value;
        bool class_name_allowed;
    };
    static const Fill fills[] = {{"zeros", 0.0, true}, {"ones", 1.0, true},   {"Inf", HUGE_VAL, true},
                                 {"inf", HUGE_VAL, true}, {"NaN", NAN, true}, {"nan", NAN, true},
                                 {"true", 1.0, false},  {"false", 0.0, false}};
    for (const Fill &f : fills) {
        if (name != f.name) continue;
        mxClassID cls = f.class_name_allowed ? class_arg(args, name) : mxLOGICAL_CLASS;
        if ((name == "Inf" || name == "inf" || name == "NaN" || name == "nan") && cls != mxDOUBLE_CLASS &&
            cls != mxSINGLE_CLASS)
            fail(at, name + ": the class must be double or single");
        return filled(size_args(args, 0, args.size(), name, at), cls, f.value, at);
    }
    if (name == "eye") {
        const mxClassID cls = class_arg(args, name);
        std::vector<size_t> dims = size_args(args, 0, args.size(), name, at);
        if (dims.size() > 2) fail(at, "eye: the size must be 2-D");
        Value v = filled(dims, cls, 0.0, at);
        for (size_t k = 0; k < std::min(dims[0], dims[1]); ++k) v.re[k + dims[0] * k] = 1.0;
        return v;
    }
    if (name == "cell") {
        Value v;
        v.cls = mxCELL_CLASS;
        if (args.empty()) return v;
        v.dims = size_args(args, 0, args.size(), name, at);
        v.cells.assign(v.numel(), Value{});
        return v;
    }
    if (!call) {
        if (class_from_name(name) != mxUNKNOWN_CLASS || name == "linspace" || name == "sparse" || name == "complex" ||
            name == "reshape")
            fail(at, name + " needs arguments in parentheses");
        fail(at, "unknown name '" + name + "' (strings are written in single quotes: '" + name + "')");
    }
    if (name == "linspace") return linspace(args, at);
    if (name == "sparse") return sparse_value(args, at);
    if (name == "complex") return complex_value(args, at);
    if (name == "reshape") return reshape_value(args, at);
    const mxClassID cls = class_from_name(name);
    if (cls != mxUNKNOWN_CLASS) {
        expect_count(args, 1, 1, name, at);
        return convert(args[0].value, cls, args[0].pos);
    }
    fail(at, "unknown function '" + name + "'");
}

// Writes v's values into a numeric host array of class T.
template <typename T> void store(mxArray *a, const std::vector<double> &src, bool imag) {
    T *d = static_cast<T *>(imag ? mxGetImagData(a) : mxGetData(a));
    for (size_t k = 0; k < src.size(); ++k) {
        const double x = src[k];
        if constexpr (std::is_floating_point<T>::value) {
            d[k] = static_cast<T>(x);
        } else {
            // Values are already rounded and within range, except the 64-bit
            // bounds 2^63 and 2^64, which are not representable and clamp here.
            if (x >= 9223372036854775808.0 && std::is_signed<T>::value) d[k] = std::numeric_limits<T>::max();
            else if (x >= 18446744073709551616.0) d[k] = std::numeric_limits<T>::max();
            else if (x <= -9223372036854775808.0 && std::is_signed<T>::value) d[k] = std::numeric_limits<T>::min();
            else d[k] = static_cast<T>(x);
        }
    }
}

void store_numeric(mxArray *a, const Value &v) {
    for (int part = 0; part < (v.complex() ? 2 : 1); ++part) {
        const std::vector<double> &src = part ? v.im : v.re;
        const bool imag = part == 1;
        switch (v.cls) {
        case mxDOUBLE_CLASS: store<double>(a, src, imag); break;
        case mxSINGLE_CLASS: store<float>(a, src, imag); break;
        case mxINT8_CLASS: store<int8_t>(a, src, imag); break;
        case mxUINT8_CLASS: case mxLOGICAL_CLASS: store<uint8_t>(a, src, imag); break;
        case mxINT16_CLASS: store<int16_t>(a, src, imag); break;
        case mxUINT16_CLASS: case mxCHAR_CLASS: store<uint16_t>(a, src, imag); break;
        case mxINT32_CLASS: store<int32_t>(a, src, imag); break;
        case mxUINT32_CLASS: store<uint32_t>(a, src, imag); break;
        case mxINT64_CLASS: store<int64_t>(a, src, imag); break;
        case mxUINT64_CLASS: store<uint64_t>(a, src, imag); break;
        default: break;
        }
    }
}

} // namespace

bool parse_literal(const std::string &text, Value &out, ParseError &err, bool check_handles) {
    try {
        Parser parser(text, check_handles);
        out = parser.run();
        return true;
    } catch (const LiteralFailure &f) {
        err.pos = f.pos;
        err.message = f.message;
        return false;
    } catch (const std::bad_alloc &) {
        err.pos = 0;
        err.message = "out of memory while building the literal";
        return false;
    }
}

mexhost::ArrayPtr to_array(const Value &v) {
    if (v.cls == mxFUNCTION_CLASS) return mexhost::make_function_handle(v.name);
    if (v.cls == mxCELL_CLASS) {
        mexhost::ArrayPtr c(mxCreateCellArray(v.dims.size(), v.dims.data()));
        for (size_t k = 0; k < v.cells.size(); ++k) mxSetCell(c.get(), k, to_array(v.cells[k]).release());
        return c;
    }
    if (v.sparse) {
        // Compressed columns of the nonzero entries (NaN counts as nonzero).
        const size_t m = v.dims[0], n = v.dims[1];
        std::vector<size_t> ir, jc{0};
        std::vector<double> re, im;
        for (size_t j = 0; j < n; ++j) {
            for (size_t i = 0; i < m; ++i) {
                const size_t k = i + m * j;
                const double x = v.re[k], y = v.complex() ? v.im[k] : 0.0;
                if (x == 0.0 && y == 0.0) continue;
                ir.push_back(i);
                re.push_back(x);
                if (v.complex()) im.push_back(y);
            }
            jc.push_back(ir.size());
        }
        if (v.complex() && im.empty() && !re.empty()) im.assign(re.size(), 0.0);
        mexhost::ArrayPtr a(mxCreateSparse(m, n, re.size(), v.complex() ? mxCOMPLEX : mxREAL));
        std::copy(re.begin(), re.end(), mxGetPr(a.get()));
        if (v.complex()) std::copy(im.begin(), im.end(), mxGetPi(a.get()));
        std::copy(ir.begin(), ir.end(), mxGetIr(a.get()));
        std::copy(jc.begin(), jc.end(), mxGetJc(a.get()));
        return a;
    }
    mexhost::ArrayPtr a = mexhost::make_array(v.dims, v.cls, v.complex());
    store_numeric(a.get(), v);
    return a;
}

std::string describe_parse_error(const std::string &text, size_t arg_index, const ParseError &err,
                                 bool with_caret) {
    std::string s = "argument " + std::to_string(arg_index) + ", position " + std::to_string(err.pos + 1) + ": " +
                    err.message;
    if (!with_caret) return s;
    std::string shown = text;
    for (char &c : shown)
        if (c == '\n' || c == '\r' || c == '\t') c = ' ';
    s += "\n  " + shown + "\n  " + std::string(std::min(err.pos, shown.size()), ' ') + "^";
    return s;
}

} // namespace mexrun
