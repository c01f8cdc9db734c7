// The plain display and the JSON form of host arrays.
#include "functions.hpp"
#include "literal.hpp"
#include "output.hpp"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <cmath>
#include <string>

using nlohmann::json;

namespace {

mexhost::ArrayPtr array(const std::string &text) {
    mexrun::Value v;
    mexrun::ParseError e;
    if (!mexrun::parse_literal(text, v, e)) ADD_FAILURE() << text << ": " << e.message;
    return mexrun::to_array(v);
}

json as_json(const std::string &text) { return json::parse(mexrun::json_array(array(text).get())); }

std::string shown(const std::string &text, int precision = 5) {
    mexrun::DisplayOptions opt;
    opt.precision = precision;
    return mexrun::display_array("ans", array(text).get(), opt);
}

class Output : public ::testing::Test {
protected:
    static void SetUpTestSuite() { mexrun::register_functions(); }
};

TEST_F(Output, JsonOfDoubleMatricesIsColumnMajorAtFullPrecision) {
    EXPECT_EQ(mexrun::json_array(array("[0.1 -0; NaN Inf]").get()),
              R"({"class":"double","dims":[2,2],"complex":false,"sparse":false,)"
              R"("re":[0.10000000000000001,"NaN",-0,"Inf"],"im":null})");
    // Every finite value reads back as the same double.
    for (double x : {0.1, 1.0 / 3.0, 5e-324, 1.7976931348623157e308, -2.5e-310, 123456789.123456789}) {
        const std::string s = mexrun::json_number(x);
        EXPECT_EQ(std::strtod(s.c_str(), nullptr), x) << s;
    }
    EXPECT_EQ(mexrun::json_number(-HUGE_VAL), "\"-Inf\"");

    const json c = as_json("[1+2i, 3; -1i, NaN]");
    EXPECT_EQ(c["complex"], true);
    EXPECT_EQ(c["re"], json::parse(R"([1,-0,3,"NaN"])"));
    EXPECT_EQ(c["im"], json::parse(R"([2,-1,0,0])"));

    const json e = as_json("zeros(0,3)");
    EXPECT_EQ(e["dims"], json::parse("[0,3]"));
    EXPECT_EQ(e["re"], json::array());
    EXPECT_EQ(as_json("zeros(2,1,3)")["dims"], json::parse("[2,1,3]"));
}

TEST_F(Output, JsonOfOtherClasses) {
    // Integer classes hold their integer values exactly, 64-bit ones too.
    EXPECT_EQ(mexrun::json_array(array("int16([-32768 7])").get()),
              R"({"class":"int16","dims":[1,2],"complex":false,"sparse":false,"re":[-32768,7],"im":null})");
    EXPECT_EQ(as_json("uint32(4294967295)")["re"], json::parse("[4294967295]"));
    EXPECT_NE(mexrun::json_array(array("[int64(-1e19) int64(1e19)]").get())
                  .find("[-9223372036854775808,9223372036854775807]"),
              std::string::npos);
    EXPECT_EQ(as_json("uint64(1e20)")["re"][0].get<uint64_t>(), 18446744073709551615ull);
    EXPECT_EQ(as_json("[true false]")["re"], json::parse("[1,0]"));
    EXPECT_EQ(as_json("single(0.1)")["re"][0].get<double>(), double(0.1f));

    // Sparse: stored values with 0-based row indices and column starts.
    EXPECT_EQ(mexrun::json_array(array("sparse([0 5; 7 0; 0 -1])").get()),
              R"({"class":"double","dims":[3,2],"complex":false,"sparse":true,)"
              R"("re":[7,5,-1],"im":null,"ir":[1,0,2],"jc":[0,1,3]})");
    EXPECT_EQ(as_json("sparse([0 2i])")["im"], json::parse("[2]"));

    // Char as one string in column-major order; non-ASCII as UTF-8.
    EXPECT_EQ(as_json("'a\"b\\c'")["re"], "a\"b\\c");
    EXPECT_EQ(as_json("['ab';'cd']")["re"], "acbd");
    EXPECT_EQ(as_json("'\xc3\xa9\xf0\x9f\x98\x80'")["re"], "\xc3\xa9\xf0\x9f\x98\x80");
    EXPECT_EQ(as_json("''")["re"], "");

    const json cell = as_json("{1, 'x'; @neg, {}}");
    EXPECT_EQ(cell["class"], "cell");
    EXPECT_EQ(cell["dims"], json::parse("[2,2]"));
    EXPECT_TRUE(cell["re"].is_null());
    ASSERT_EQ(cell["cells"].size(), 4u);
    EXPECT_EQ(cell["cells"][0]["re"], json::parse("[1]"));
    EXPECT_EQ(cell["cells"][1]["class"], "function_handle");
    EXPECT_EQ(cell["cells"][1]["name"], "neg");
    EXPECT_EQ(cell["cells"][2]["re"], "x");
    EXPECT_EQ(cell["cells"][3]["class"], "cell");
    EXPECT_EQ(cell["cells"][3]["cells"], json::array());
    // An unset cell element reads as an empty double.
    EXPECT_EQ(as_json("cell(1,1)")["cells"][0]["class"], "double");
}

TEST_F(Output, JsonDocuments) {
    auto a = array("1");
    const json ok = json::parse(mexrun::json_success({a.get(), nullptr}, {"w1", "w\"2"}, "line\n"));
    EXPECT_EQ(ok["outputs"].size(), 2u);
    EXPECT_EQ(ok["outputs"][1]["dims"], json::parse("[0,0]"));
    EXPECT_EQ(ok["warnings"], json::parse(R"(["w1","w\"2"])"));
    EXPECT_EQ(ok["printed"], "line\n");
    EXPECT_EQ(mexrun::json_success({}, {}, ""), R"({"outputs":[],"warnings":[],"printed":""})");
    EXPECT_EQ(mexrun::json_error("bad \"x\"\n"), R"({"error":"bad \"x\"\n"})");
    // Invalid UTF-8 from a plug-in is replaced rather than breaking the document.
    const json replaced = json::parse(mexrun::json_error("bad \xff byte"));
    EXPECT_EQ(replaced["error"], "bad \xef\xbf\xbd byte");
}

TEST_F(Output, PlainDisplay) {
    struct Case {
        const char *text;
        int precision;
        const char *want;
    } cases[] = {
        {"[1 -2.5; 30 4]", 5, "ans = 2x2 double\n     1  -2.5\n    30     4\n"},
        {"[0.1 NaN -Inf -0]", 5, "ans = 1x4 double\n   0.1   NaN  -Inf    -0\n"},
        {"1/3", 17, "ans = 1x1 double\n  0.33333333333333331\n"},
        {"1/3", 3, "ans = 1x1 double\n  0.333\n"},
        {"[1+2i 3-4i]", 5, "ans = 1x2 complex double\n  1 + 2i  3 - 4i\n"},
        {"[]", 5, "ans = 0x0 double\n  []\n"},
        {"int32([-7 100])", 5, "ans = 1x2 int32\n   -7  100\n"},
        {"[true false]", 5, "ans = 1x2 logical\n  1  0\n"},
        {"['ab';'cd']", 5, "ans = 2x2 char\n  'ab'\n  'cd'\n"},
        {"''", 5, "ans = 0x0 char\n  ''\n"},
        {"sparse([0 1.5; 2 0])", 5, "ans = 2x2 sparse double\n  (2,1)    2\n  (1,2)  1.5\n"},
        {"sparse(2,2)", 5, "ans = 2x2 sparse double\n  (no stored entries)\n"},
        {"reshape(1:4,1,2,2)", 5, "ans = 1x2x2 double\n  (:,:,1)\n  1  2\n  (:,:,2)\n  3  4\n"},
        {"{1, 'x'}", 5, "ans = 1x2 cell\n  {1,1} = 1x1 double\n    1\n  {1,2} = 1x1 char\n    'x'\n"},
        {"{{@sumsq}}", 5, "ans = 1x1 cell\n  {1,1} = 1x1 cell\n    {1,1} = 1x1 function_handle\n      @sumsq\n"},
    };
    for (const Case &c : cases) EXPECT_EQ(shown(c.text, c.precision), c.want) << c.text;
    EXPECT_EQ(mexrun::display_array("out2", nullptr, {}), "out2 = 0x0 double\n  []\n");
}

} // namespace
