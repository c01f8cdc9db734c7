// Literal arguments of mexrun: evaluation, error positions and the host
// arrays they become.
#include "functions.hpp"
#include "literal.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

using mexrun::Value;

namespace {

const double kInf = std::numeric_limits<double>::infinity();
const double kNaN = std::numeric_limits<double>::quiet_NaN();

Value eval(const std::string &text) {
    Value v;
    mexrun::ParseError e;
    EXPECT_TRUE(mexrun::parse_literal(text, v, e)) << text << ": " << e.message << " at " << e.pos;
    return v;
}

// Equal as stored doubles: NaN matches NaN and the sign of zero counts.
bool same(double a, double b) {
    if (std::isnan(a) || std::isnan(b)) return std::isnan(a) && std::isnan(b);
    return a == b && std::signbit(a) == std::signbit(b);
}

void expect_values(const std::string &text, const std::vector<double> &got, const std::vector<double> &want,
                   const char *part) {
    ASSERT_EQ(got.size(), want.size()) << text << " (" << part << ")";
    for (size_t k = 0; k < want.size(); ++k)
        EXPECT_TRUE(same(got[k], want[k])) << text << " " << part << "[" << k << "] = " << got[k] << ", want "
                                           << want[k];
}

class Literal : public ::testing::Test {
protected:
    static void SetUpTestSuite() { mexrun::register_functions(); }
};

struct Case {
    const char *text;
    mxClassID cls;
    std::vector<size_t> dims;
    std::vector<double> re;
    std::vector<double> im; // empty: real
};

TEST_F(Literal, NumbersMatricesAndArithmetic) {
    const Case cases[] = {
        {"3", mxDOUBLE_CLASS, {1, 1}, {3}, {}},
        {"-1.5e-3", mxDOUBLE_CLASS, {1, 1}, {-1.5e-3}, {}},
        {"-0", mxDOUBLE_CLASS, {1, 1}, {-0.0}, {}},
        {"[1 -0]", mxDOUBLE_CLASS, {1, 2}, {1, -0.0}, {}},
        {"0 - 0", mxDOUBLE_CLASS, {1, 1}, {0.0}, {}},
        {"1e400", mxDOUBLE_CLASS, {1, 1}, {kInf}, {}},
        {"-1e400", mxDOUBLE_CLASS, {1, 1}, {-kInf}, {}},
        {"1e-400", mxDOUBLE_CLASS, {1, 1}, {0.0}, {}},
        {".5", mxDOUBLE_CLASS, {1, 1}, {0.5}, {}},
        {"5.", mxDOUBLE_CLASS, {1, 1}, {5}, {}},
        {"1E-3", mxDOUBLE_CLASS, {1, 1}, {1e-3}, {}},
        {"2d2", mxDOUBLE_CLASS, {1, 1}, {200}, {}},
        {"Inf", mxDOUBLE_CLASS, {1, 1}, {kInf}, {}},
        {"-Inf", mxDOUBLE_CLASS, {1, 1}, {-kInf}, {}},
        {"[NaN nan inf]", mxDOUBLE_CLASS, {1, 3}, {kNaN, kNaN, kInf}, {}},
        {"0.1", mxDOUBLE_CLASS, {1, 1}, {0.1}, {}},
        // Blanks in brackets: a sign with a blank before and none after
        // starts an element.
        {"[1 2; 3 4]", mxDOUBLE_CLASS, {2, 2}, {1, 3, 2, 4}, {}},
        {"[1, 2]", mxDOUBLE_CLASS, {1, 2}, {1, 2}, {}},
        {"[1;2;3]", mxDOUBLE_CLASS, {3, 1}, {1, 2, 3}, {}},
        {"[1 2\n3 4]", mxDOUBLE_CLASS, {2, 2}, {1, 3, 2, 4}, {}},
        {"[1 -2]", mxDOUBLE_CLASS, {1, 2}, {1, -2}, {}},
        {"[1 - 2]", mxDOUBLE_CLASS, {1, 1}, {-1}, {}},
        {"[1-2]", mxDOUBLE_CLASS, {1, 1}, {-1}, {}},
        {"[1 +2]", mxDOUBLE_CLASS, {1, 2}, {1, 2}, {}},
        {"[1 -2 + 3]", mxDOUBLE_CLASS, {1, 2}, {1, 1}, {}},
        {"[(1 -2)]", mxDOUBLE_CLASS, {1, 1}, {-1}, {}},
        {"[1 2 3]'", mxDOUBLE_CLASS, {3, 1}, {1, 2, 3}, {}},
        {"[[1 2]' [3 4]']", mxDOUBLE_CLASS, {2, 2}, {1, 2, 3, 4}, {}},
        {"[1 2;]", mxDOUBLE_CLASS, {1, 2}, {1, 2}, {}},
        {"[[] 1 zeros(1,0)]", mxDOUBLE_CLASS, {1, 1}, {1}, {}},
        {"[]", mxDOUBLE_CLASS, {0, 0}, {}, {}},
        {"[2 *3]", mxDOUBLE_CLASS, {1, 1}, {6}, {}},
        {"-2^2", mxDOUBLE_CLASS, {1, 1}, {-4}, {}},
        {"2^-1", mxDOUBLE_CLASS, {1, 1}, {0.5}, {}},
        {"[1 2].^2", mxDOUBLE_CLASS, {1, 2}, {1, 4}, {}},
        {"[1 2; 3 4]*[1; 1]", mxDOUBLE_CLASS, {2, 1}, {3, 7}, {}},
        {"[2 4]/2", mxDOUBLE_CLASS, {1, 2}, {1, 2}, {}},
        {"1/0", mxDOUBLE_CLASS, {1, 1}, {kInf}, {}},
        {"1/-0", mxDOUBLE_CLASS, {1, 1}, {-kInf}, {}},
        {"pi", mxDOUBLE_CLASS, {1, 1}, {3.141592653589793}, {}},
        // Complex entries; a zero imaginary part from arithmetic is dropped.
        {"3i", mxDOUBLE_CLASS, {1, 1}, {0}, {3}},
        {"1+2i", mxDOUBLE_CLASS, {1, 1}, {1}, {2}},
        {"[1+2i 3]", mxDOUBLE_CLASS, {1, 2}, {1, 3}, {2, 0}},
        {"[1 -2j]", mxDOUBLE_CLASS, {1, 2}, {1, -0.0}, {0, -2}},
        {"1 - 2i", mxDOUBLE_CLASS, {1, 1}, {1}, {-2}},
        {"(1+2i)'", mxDOUBLE_CLASS, {1, 1}, {1}, {-2}},
        {"(1+2i).'", mxDOUBLE_CLASS, {1, 1}, {1}, {2}},
        {"(1+2i)*(1-2i)", mxDOUBLE_CLASS, {1, 1}, {5}, {}},
        {"1+0i", mxDOUBLE_CLASS, {1, 1}, {1}, {}},
        {"complex(1,0)", mxDOUBLE_CLASS, {1, 1}, {1}, {0}},
        {"complex([1 2])", mxDOUBLE_CLASS, {1, 2}, {1, 2}, {0, 0}},
    };
    for (const Case &c : cases) {
        const Value v = eval(c.text);
        EXPECT_EQ(v.cls, c.cls) << c.text;
        EXPECT_EQ(v.dims, c.dims) << c.text;
        expect_values(c.text, v.re, c.re, "re");
        expect_values(c.text, v.im, c.im, "im");
    }
}

TEST_F(Literal, ConstructorsRangesAndClasses) {
    const Case cases[] = {
        {"zeros(2,3)", mxDOUBLE_CLASS, {2, 3}, std::vector<double>(6, 0.0), {}},
        {"ones(2)", mxDOUBLE_CLASS, {2, 2}, {1, 1, 1, 1}, {}},
        {"zeros([1 2])", mxDOUBLE_CLASS, {1, 2}, {0, 0}, {}},
        {"zeros(2,1,1)", mxDOUBLE_CLASS, {2, 1}, {0, 0}, {}},
        {"zeros(1,2,2)", mxDOUBLE_CLASS, {1, 2, 2}, {0, 0, 0, 0}, {}},
        {"zeros(-1, 2)", mxDOUBLE_CLASS, {0, 2}, {}, {}},
        {"ones(1,2,'int32')", mxINT32_CLASS, {1, 2}, {1, 1}, {}},
        {"NaN(1,2)", mxDOUBLE_CLASS, {1, 2}, {kNaN, kNaN}, {}},
        {"eye(2,3)", mxDOUBLE_CLASS, {2, 3}, {1, 0, 0, 1, 0, 0}, {}},
        {"linspace(0,1,5)", mxDOUBLE_CLASS, {1, 5}, {0, 0.25, 0.5, 0.75, 1}, {}},
        {"linspace(-1e308,1e308,3)", mxDOUBLE_CLASS, {1, 3}, {-1e308, 0, 1e308}, {}},
        {"linspace(1,2,1)", mxDOUBLE_CLASS, {1, 1}, {2}, {}},
        {"linspace(1,2,0)", mxDOUBLE_CLASS, {1, 0}, {}, {}},
        {"1:3", mxDOUBLE_CLASS, {1, 3}, {1, 2, 3}, {}},
        {"[1:3 5]", mxDOUBLE_CLASS, {1, 4}, {1, 2, 3, 5}, {}},
        {"1:3+1", mxDOUBLE_CLASS, {1, 4}, {1, 2, 3, 4}, {}},
        {"(1:3)'", mxDOUBLE_CLASS, {3, 1}, {1, 2, 3}, {}},
        {"0:0.1:0.3", mxDOUBLE_CLASS, {1, 4}, {0, 0.1, 0.2, 0.3}, {}}, // ends exactly on 0.3
        {"0:0.1:0.25", mxDOUBLE_CLASS, {1, 3}, {0, 0.1, 0.2}, {}},
        {"5:-2:0", mxDOUBLE_CLASS, {1, 3}, {5, 3, 1}, {}},
        {"3:1", mxDOUBLE_CLASS, {1, 0}, {}, {}},
        {"1:0:3", mxDOUBLE_CLASS, {1, 0}, {}, {}},
        {"1:NaN", mxDOUBLE_CLASS, {1, 0}, {}, {}},
        {"'a':'c'", mxCHAR_CLASS, {1, 3}, {97, 98, 99}, {}},
        // Integer classes round half away from zero and saturate; NaN is 0.
        {"int16([1.5 -2.5 40000 -40000 NaN])", mxINT16_CLASS, {1, 5}, {2, -3, 32767, -32768, 0}, {}},
        {"int32([2147483647.5 -Inf])", mxINT32_CLASS, {1, 2}, {2147483647, -2147483648.0}, {}},
        {"uint32([-1 4294967296 7.49])", mxUINT32_CLASS, {1, 3}, {0, 4294967295.0, 7}, {}},
        {"int8(-200):int8(-126)", mxINT8_CLASS, {1, 3}, {-128, -127, -126}, {}},
        {"int16(7)/2", mxINT16_CLASS, {1, 1}, {4}, {}},
        {"[int16(1) 2.6]", mxINT16_CLASS, {1, 2}, {1, 3}, {}},
        {"-uint32(5)", mxUINT32_CLASS, {1, 1}, {0}, {}},
        {"single(0.1)", mxSINGLE_CLASS, {1, 1}, {double(0.1f)}, {}},
        {"single(1e39)", mxSINGLE_CLASS, {1, 1}, {kInf}, {}},
        {"[true false]", mxLOGICAL_CLASS, {1, 2}, {1, 0}, {}},
        {"[true 2]", mxDOUBLE_CLASS, {1, 2}, {1, 2}, {}},
        {"logical([2 0 -1])", mxLOGICAL_CLASS, {1, 3}, {1, 0, 1}, {}},
        {"double('A')", mxDOUBLE_CLASS, {1, 1}, {65}, {}},
        {"int32([1 2]) + 0.5", mxINT32_CLASS, {1, 2}, {2, 3}, {}},
        {"reshape(1:6, 3, [])", mxDOUBLE_CLASS, {3, 2}, {1, 2, 3, 4, 5, 6}, {}},
        {"reshape(1:4, [1 2 2])", mxDOUBLE_CLASS, {1, 2, 2}, {1, 2, 3, 4}, {}},
        {"sparse([0 1; 2 0])", mxDOUBLE_CLASS, {2, 2}, {0, 2, 1, 0}, {}},
        {"sparse([1 2 1], [1 1 1], [3 4 5], 2, 2)", mxDOUBLE_CLASS, {2, 2}, {8, 4, 0, 0}, {}},
        // Strings: '' is a quote, text is UTF-16 code units.
        {"'it''s'", mxCHAR_CLASS, {1, 4}, {105, 116, 39, 115}, {}},
        {"''", mxCHAR_CLASS, {0, 0}, {}, {}},
        {"'\xc3\xa9'", mxCHAR_CLASS, {1, 1}, {233}, {}},
        {"'\xf0\x9f\x98\x80'", mxCHAR_CLASS, {1, 2}, {0xD83D, 0xDE00}, {}},
        {"['ab';'cd']", mxCHAR_CLASS, {2, 2}, {97, 99, 98, 100}, {}},
        {"['a' 66]", mxCHAR_CLASS, {1, 2}, {97, 66}, {}},
    };
    for (const Case &c : cases) {
        const Value v = eval(c.text);
        EXPECT_EQ(v.cls, c.cls) << c.text;
        EXPECT_EQ(v.dims, c.dims) << c.text;
        expect_values(c.text, v.re, c.re, "re");
        expect_values(c.text, v.im, c.im, "im");
    }
    EXPECT_TRUE(eval("sparse([0 1])").sparse);
    EXPECT_FALSE(eval("sparse([0 1]) + 1").sparse);
    EXPECT_TRUE(eval("2 * sparse([0 1])").sparse);
}

TEST_F(Literal, CellsAndHandles) {
    const Value c = eval("{1, 'ab'; [], {2, @sumsq}}");
    ASSERT_EQ(c.cls, mxCELL_CLASS);
    EXPECT_EQ(c.dims, (std::vector<size_t>{2, 2}));
    ASSERT_EQ(c.cells.size(), 4u);
    EXPECT_EQ(c.cells[0].re, std::vector<double>{1});
    EXPECT_EQ(c.cells[1].dims, (std::vector<size_t>{0, 0}));
    EXPECT_EQ(c.cells[2].cls, mxCHAR_CLASS);
    const Value &inner = c.cells[3];
    ASSERT_EQ(inner.cls, mxCELL_CLASS);
    ASSERT_EQ(inner.cells.size(), 2u);
    EXPECT_EQ(inner.cells[1].cls, mxFUNCTION_CLASS);
    EXPECT_EQ(inner.cells[1].name, "sumsq");

    EXPECT_EQ(eval("{}").cls, mxCELL_CLASS);
    EXPECT_EQ(eval("{}").dims, (std::vector<size_t>{0, 0}));
    EXPECT_EQ(eval("{1 -2}").dims, (std::vector<size_t>{1, 2}));
    EXPECT_EQ(eval("[{1} {2 3}]").dims, (std::vector<size_t>{1, 3}));
    EXPECT_EQ(eval("cell(2,1)").cells.size(), 2u);
    EXPECT_EQ(eval("[@neg]").name, "neg");

    // Without the registration check any name is taken.
    Value v;
    mexrun::ParseError e;
    EXPECT_TRUE(mexrun::parse_literal("@not_registered", v, e, false));
    EXPECT_FALSE(mexrun::parse_literal("@not_registered", v, e, true));
}

TEST_F(Literal, MalformedLiteralsNameThePosition) {
    struct Bad {
        const char *text;
        size_t pos; // 0-based
        const char *fragment;
    } cases[] = {
        {"[1 2", 4, "missing ']'"},
        {"{1, 2", 5, "missing '}'"},
        {"[1 2; 3]", 6, "not consistent"},
        {"[1, , 2]", 4, "unexpected ','"},
        {"(1", 2, "expected ')'"},
        {"'abc", 0, "string not terminated"},
        {"1e", 1, "exponent without digits"},
        {"1.2.3", 3, "malformed number"},
        {"3x", 1, "malformed number"},
        {"1 2", 2, "unexpected '2'"},
        {"abc", 0, "unknown name 'abc'"},
        {"foo(1)", 0, "unknown function 'foo'"},
        {"\"s\"", 0, "double-quoted"},
        {"@nosuch", 1, "unknown function '@nosuch'"},
        {"@(x) x", 0, "anonymous functions"},
        {"@", 1, "function name"},
        {"", 0, "empty argument"},
        {"   ", 0, "empty argument"},
        {"[1 2] + [1 2 3]", 6, "sizes do not agree"},
        {"[1 2] * [3 4]", 6, "inner dimensions"},
        {"[1 2] / [3 4]", 6, "matrix division"},
        {"int16(1) + int32(1)", 9, "different classes"},
        {"zeros(1.5)", 6, "integer"},
        {"zeros(NaN)", 6, "NaN"},
        {"zeros(1e5, 1e5)", 0, "literal too large"},
        {"1:1e9", 0, "too many elements"},
        {"1:Inf", 0, "too many elements"},
        {"linspace(1)", 0, "linspace takes 2 to 3 arguments"},
        {"sparse(1, 2, 3, 4)", 0, "1, 2, 3 or 5"},
        {"sparse([1 2], [1 2], [1 2 3])", 21, "equal lengths"},
        {"sparse(0, 1, 1)", 7, "positive integers"},
        {"sparse(2, 2, 1, 1, 1)", 16, "exceeds"},
        {"logical(NaN)", 8, "NaN cannot be converted"},
        {"reshape(1:6, 4, [])", 0, "cannot be inferred"},
        {"reshape(1:6, 4, 2)", 0, "must not change"},
        {"[@sumsq @neg]", 1, "cannot be concatenated"},
        {"[{1} 2]", 5, "non-cell"},
        {"{1} + 1", 4, "not defined for cell"},
        {"pi(2)", 0, "does not take arguments"},
        {"zeros(2,'text')", 8, "unknown class name"},
        {"[1 2](1)", 5, "unexpected '('"},
        {"1 \\ 2", 2, "unexpected '\\'"},
        {"int16(2) * sparse(1)", 9, "sparse values can only be double"},
    };
    for (const Bad &b : cases) {
        Value v;
        mexrun::ParseError e;
        EXPECT_FALSE(mexrun::parse_literal(b.text, v, e)) << b.text;
        EXPECT_EQ(e.pos, b.pos) << b.text << ": " << e.message;
        EXPECT_NE(e.message.find(b.fragment), std::string::npos) << b.text << ": " << e.message;
    }
}

TEST_F(Literal, DeepNestingIsRefusedNotOverflowed) {
    for (const std::string open : {"[", "(", "{", "-"}) {
        std::string text;
        for (int k = 0; k < 100000; ++k) text += open;
        text += "1";
        Value v;
        mexrun::ParseError e;
        EXPECT_FALSE(mexrun::parse_literal(text, v, e)) << open;
        EXPECT_NE(e.message.find("nested too deeply"), std::string::npos) << e.message;
    }
    EXPECT_EQ(eval("[[[[[[1]]]]]]").re, std::vector<double>{1});
}

TEST_F(Literal, ErrorDescriptionHasArgumentPositionAndCaret) {
    mexrun::ParseError e{4, "missing ']'"};
    EXPECT_EQ(mexrun::describe_parse_error("[1 2", 2, e, false), "argument 2, position 5: missing ']'");
    EXPECT_EQ(mexrun::describe_parse_error("[1 2", 2, e, true),
              "argument 2, position 5: missing ']'\n  [1 2\n      ^");
}

// The host arrays built from values: class, storage and raw contents.
TEST_F(Literal, HostArraysHoldTheValuesInTheirClass) {
    auto array = [](const std::string &text) { return mexrun::to_array(eval(text)); };

    auto d = array("[1 2; 3 4]");
    EXPECT_TRUE(mxIsDouble(d.get()));
    EXPECT_EQ(mxGetM(d.get()), 2u);
    EXPECT_EQ(std::vector<double>(mxGetPr(d.get()), mxGetPr(d.get()) + 4), (std::vector<double>{1, 3, 2, 4}));

    auto z = array("-0");
    EXPECT_TRUE(std::signbit(mxGetPr(z.get())[0]));

    auto i16 = array("int16([-40000 3])");
    ASSERT_EQ(mxGetClassID(i16.get()), mxINT16_CLASS);
    EXPECT_EQ(static_cast<int16_t *>(mxGetData(i16.get()))[0], -32768);
    EXPECT_EQ(static_cast<int16_t *>(mxGetData(i16.get()))[1], 3);

    auto i32 = array("int32([-7 2147483648])");
    ASSERT_EQ(mxGetClassID(i32.get()), mxINT32_CLASS);
    EXPECT_EQ(static_cast<int32_t *>(mxGetData(i32.get()))[0], -7);
    EXPECT_EQ(static_cast<int32_t *>(mxGetData(i32.get()))[1], 2147483647);

    auto u32 = array("uint32(4294967295)");
    ASSERT_EQ(mxGetClassID(u32.get()), mxUINT32_CLASS);
    EXPECT_EQ(static_cast<uint32_t *>(mxGetData(u32.get()))[0], 4294967295u);

    auto i64 = array("[int64(1e19) int64(-1e19)]");
    EXPECT_EQ(static_cast<int64_t *>(mxGetData(i64.get()))[0], std::numeric_limits<int64_t>::max());
    EXPECT_EQ(static_cast<int64_t *>(mxGetData(i64.get()))[1], std::numeric_limits<int64_t>::min());
    auto u64 = array("uint64(1e20)");
    EXPECT_EQ(static_cast<uint64_t *>(mxGetData(u64.get()))[0], std::numeric_limits<uint64_t>::max());

    auto cx = array("[1+2i 3]");
    ASSERT_TRUE(mxIsComplex(cx.get()));
    EXPECT_EQ(mxGetPi(cx.get())[0], 2.0);
    EXPECT_EQ(mxGetPi(cx.get())[1], 0.0);

    auto ch = array("'hi'");
    ASSERT_TRUE(mxIsChar(ch.get()));
    EXPECT_EQ(static_cast<mxChar *>(mxGetData(ch.get()))[1], mxChar('i'));

    auto lg = array("[true false true]");
    EXPECT_EQ(mxGetClassID(lg.get()), mxLOGICAL_CLASS);
    EXPECT_EQ(static_cast<uint8_t *>(mxGetData(lg.get()))[2], 1u);

    // Sparse: only nonzeros are stored (NaN counts), in compressed columns.
    auto sp = array("sparse([0 1 NaN; 2 0 0])");
    ASSERT_TRUE(mxIsSparse(sp.get()));
    const mwIndex *ir = mxGetIr(sp.get()), *jc = mxGetJc(sp.get());
    EXPECT_EQ(std::vector<mwIndex>(jc, jc + 4), (std::vector<mwIndex>{0, 1, 2, 3}));
    EXPECT_EQ(std::vector<mwIndex>(ir, ir + 3), (std::vector<mwIndex>{1, 0, 0}));
    EXPECT_EQ(mxGetPr(sp.get())[0], 2.0);
    EXPECT_TRUE(std::isnan(mxGetPr(sp.get())[2]));
    auto spc = array("sparse([0 1i])");
    ASSERT_TRUE(mxIsComplex(spc.get()));
    EXPECT_EQ(mxGetJc(spc.get())[2], 1u);
    EXPECT_EQ(mxGetPi(spc.get())[0], 1.0);

    auto c = array("{1, {'x'}, @neg}");
    ASSERT_TRUE(mxIsCell(c.get()));
    EXPECT_EQ(mxGetN(c.get()), 3u);
    EXPECT_TRUE(mxIsCell(mxGetCell(c.get(), 1)));
    EXPECT_TRUE(mxIsChar(mxGetCell(mxGetCell(c.get(), 1), 0)));
    EXPECT_TRUE(mxIsFunctionHandle(mxGetCell(c.get(), 2)));
    EXPECT_EQ(mexhost::function_handle_name(mxGetCell(c.get(), 2)), "neg");

    auto nd = array("zeros(2,3,4)");
    EXPECT_EQ(mxGetNumberOfDimensions(nd.get()), 3u);
    EXPECT_EQ(mxGetNumberOfElements(nd.get()), 24u);
}

} // namespace

namespace {

// Random token soup: every input is either evaluated or refused with a
// position inside the text, never read past its end.
TEST_F(Literal, ArbitraryTextIsEvaluatedOrRefused) {
    const char *tokens[] = {"1",   "2",     "0",      ".5",      "-",      "+",    "*",    "/",   "^",   ".^",
                            "'",   ".'",    ":",      "[",       "]",      "{",    "}",    "(",   ")",   ",",
                            ";",   " ",     "\n",     "i",       "e3",     "zeros(", "eye(", "sparse(", "int16(",
                            "'a'", "@neg",  "Inf",    "NaN",     "reshape(", "linspace(", "complex(", "\"", "@", "."};
    const size_t ntok = sizeof tokens / sizeof tokens[0];
    uint64_t state = 0x9E3779B97F4A7C15ull;
    auto next = [&]() {
        state ^= state << 13;
        state ^= state >> 7;
        state ^= state << 17;
        return state;
    };
    size_t accepted = 0;
    for (int round = 0; round < 20000; ++round) {
        std::string text;
        const size_t len = 1 + next() % 12;
        for (size_t k = 0; k < len; ++k) text += tokens[next() % ntok];
        Value v;
        mexrun::ParseError e;
        if (mexrun::parse_literal(text, v, e)) {
            ++accepted;
            EXPECT_EQ(v.numel(), v.cls == mxCELL_CLASS ? v.cells.size() : v.cls == mxFUNCTION_CLASS ? 1 : v.re.size())
                << text;
            (void)mexrun::to_array(v);
        } else {
            EXPECT_LE(e.pos, text.size()) << text;
            EXPECT_FALSE(e.message.empty()) << text;
        }
    }
    EXPECT_GT(accepted, 100u);
}

} // namespace
