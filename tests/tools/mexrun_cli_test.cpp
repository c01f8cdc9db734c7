// The built mexrun program: argument lists in, stdout, stderr and exit
// status out. Uses the gausscum plug-in and the host's test plug-in.
#include "test_util.hpp"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

extern char **environ;

using nlohmann::json;

namespace {

struct Outcome {
    int status = -1;
    std::string out, err;
};

std::string slurp(const std::string &path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

// Runs mexrun with `args` (no shell involved), capturing both streams.
Outcome mexrun(const std::vector<std::string> &args) {
    const std::string base = ::testing::TempDir() + "mexrun_cli_" + std::to_string(getpid());
    const std::string out_path = base + ".out", err_path = base + ".err";
    posix_spawn_file_actions_t fa;
    posix_spawn_file_actions_init(&fa);
    posix_spawn_file_actions_addopen(&fa, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&fa, 1, out_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    posix_spawn_file_actions_addopen(&fa, 2, err_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    std::vector<char *> argv{const_cast<char *>(MEXRUN_BIN)};
    for (const auto &a : args) argv.push_back(const_cast<char *>(a.c_str()));
    argv.push_back(nullptr);
    Outcome r;
    pid_t pid;
    if (posix_spawn(&pid, MEXRUN_BIN, &fa, nullptr, argv.data(), environ) == 0) {
        int st = 0;
        waitpid(pid, &st, 0);
        r.status = WIFEXITED(st) ? WEXITSTATUS(st) : 128 + WTERMSIG(st);
    }
    posix_spawn_file_actions_destroy(&fa);
    r.out = slurp(out_path);
    r.err = slurp(err_path);
    std::remove(out_path.c_str());
    std::remove(err_path.c_str());
    return r;
}

std::vector<std::string> testmex(std::vector<std::string> args) {
    args.insert(args.begin(), {"--plugins", TEST_PLUGIN_DIR});
    return args;
}

bool contains(const std::string &s, const std::string &part) { return s.find(part) != std::string::npos; }

TEST(MexrunCli, JsonFormOfAPluginCall) {
    const Outcome r = mexrun({"--json", "gausscum", "[0 -1 NaN]"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "");
    ASSERT_FALSE(r.out.empty());
    EXPECT_EQ(r.out.back(), '\n');
    EXPECT_EQ(std::count(r.out.begin(), r.out.end(), '\n'), 1);
    const json j = json::parse(r.out);
    ASSERT_EQ(j.size(), 3u);
    EXPECT_EQ(j["warnings"], json::array());
    EXPECT_EQ(j["printed"], "");
    ASSERT_EQ(j["outputs"].size(), 1u);
    const json &o = j["outputs"][0];
    EXPECT_EQ(o["class"], "double");
    EXPECT_EQ(o["dims"], json::parse("[1,3]"));
    EXPECT_EQ(o["complex"], false);
    EXPECT_EQ(o["sparse"], false);
    EXPECT_TRUE(o["im"].is_null());
    // The printed digits read back as exactly the plug-in's result.
    auto x = testutil::row({-1.0});
    auto direct = testutil::call("gausscum", 1, {x.get()});
    ASSERT_TRUE(direct.ok);
    EXPECT_EQ(o["re"][0].get<double>(), 0.5);
    EXPECT_EQ(o["re"][1].get<double>(), mxGetPr(direct.outputs[0].get())[0]);
    EXPECT_EQ(o["re"][2], "NaN");
}

TEST(MexrunCli, PlainDisplay) {
    Outcome r = mexrun({"gausscum", "[-1.96 0 1.96]"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "ans = 1x3 double\n  0.024998       0.5     0.975\n");
    r = mexrun(testmex({"--format", "long", "hosttest", "5", "0.1"}));
    EXPECT_EQ(r.out, "ans = 1x1 double\n  0.10000000000000001\n");
    r = mexrun(testmex({"--precision=2", "hosttest", "5", "[1/3 -0]"}));
    EXPECT_EQ(r.out, "ans = 1x2 double\n  0.33    -0\n");
}

TEST(MexrunCli, FailuresGiveMessageAndStatus) {
    struct Case {
        std::vector<std::string> args;
        int status;
        bool on_stdout; // the JSON error object; otherwise "Error: ..." on stderr
        const char *fragment;
    } cases[] = {
        {{"gausscum", "[1 2"}, 2, false, "Error: argument 1, position 5: missing ']'"},
        {{"gausscum", "1", "3x"}, 2, false, "argument 2, position 2: malformed number"},
        {{"--json", "gausscum", "1", "[1 2"}, 2, true, "argument 2, position 5: missing ']'"},
        {{"nosuch", "1"}, 1, false, "Error: Undefined function 'nosuch'"},
        {{"--json", "nosuch"}, 1, true, "Undefined function 'nosuch'"},
        {{"gausscum", "1", "2"}, 1, false, "Error: Too many input arguments."},
        {{"--json", "gausscum", "'x'"}, 1, true, "Function not defined for variables of input class"},
        {{}, 2, false, "no plug-in name given"},
        {{"--nargout", "-1", "gausscum"}, 2, false, "--nargout needs an integer"},
        {{"--nargout"}, 2, false, "--nargout needs a value"},
        {{"--bogus", "gausscum"}, 2, false, "unknown option '--bogus'"},
        {{"-x", "gausscum"}, 2, false, "unknown option '-x'"},
        {{"--json", "--format", "wide", "gausscum"}, 2, true, "--format must be short or long"},
        {{"--plugins", "/nonexistent/dir", "--list"}, 1, false, "cannot read the plug-in directory"},
        {testmex({"hosttest", "4", "@error", "'boom'"}), 1, false, "Error: boom"},
        {testmex({"hosttest", "4", "@nosuch"}), 2, false, "unknown function '@nosuch'"},
        {testmex({"--nargout", "2", "hosttest", "3"}), 1, false, "Output argument 2 was not assigned"},
    };
    for (const Case &c : cases) {
        const Outcome r = mexrun(c.args);
        std::string where;
        for (const auto &a : c.args) where += a + " ";
        EXPECT_EQ(r.status, c.status) << where << r.out << r.err;
        if (c.on_stdout) {
            const json j = json::parse(r.out);
            ASSERT_EQ(j.size(), 1u) << where;
            EXPECT_TRUE(contains(j["error"].get<std::string>(), c.fragment)) << where << r.out;
        } else {
            EXPECT_EQ(r.out, "") << where;
            EXPECT_TRUE(contains(r.err, c.fragment)) << where << r.err;
        }
    }
}

TEST(MexrunCli, WarningsPrintedTextAndOutputCounts) {
    Outcome r = mexrun(testmex({"hosttest", "2"}));
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, "Warning: careful\n");
    EXPECT_EQ(r.out, "ans = 1x1 double\n  42\n");
    json j = json::parse(mexrun(testmex({"--json", "hosttest", "2"})).out);
    EXPECT_EQ(j["warnings"], json::parse(R"(["careful"])"));

    r = mexrun(testmex({"hosttest", "6"}));
    EXPECT_EQ(r.out, "x=7 ok\nans = 0x0 double\n  []\n");
    j = json::parse(mexrun(testmex({"--json", "hosttest", "6"})).out);
    EXPECT_EQ(j["printed"], "x=7 ok\n");

    // nargout 0 still shows a first output the plug-in filled.
    r = mexrun(testmex({"--nargout", "0", "hosttest", "2"}));
    EXPECT_EQ(r.out, "ans = 1x1 double\n  42\n");
    j = json::parse(mexrun(testmex({"--json", "--nargout=0", "hosttest", "2"})).out);
    EXPECT_EQ(j["outputs"].size(), 1u);

    r = mexrun(testmex({"--nargout", "2", "hosttest", "7", "[2 3 4]"}));
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(contains(r.out, "out1 = 1x4 double\n   2  12  24   3\n")) << r.out;
    EXPECT_TRUE(contains(r.out, "out2 = 2x3x4 double\n")) << r.out;
    j = json::parse(mexrun(testmex({"--json", "--nargout", "2", "hosttest", "7", "[2 3 4]"})).out);
    ASSERT_EQ(j["outputs"].size(), 2u);
    EXPECT_EQ(j["outputs"][1]["dims"], json::parse("[2,3,4]"));
}

TEST(MexrunCli, ArgumentsReachThePluginIntact) {
    // hosttest 5 hands back a copy of its second argument.
    json j = json::parse(mexrun(testmex({"--json", "hosttest", "5", "{int32([1 -2]), 'it''s', -0, sparse([0 2])}"})).out);
    const json &c = j["outputs"][0];
    ASSERT_EQ(c["cells"].size(), 4u);
    EXPECT_EQ(c["cells"][0]["class"], "int32");
    EXPECT_EQ(c["cells"][0]["re"], json::parse("[1,-2]"));
    EXPECT_EQ(c["cells"][1]["re"], "it's");
    EXPECT_TRUE(contains(mexrun(testmex({"--json", "hosttest", "5", "-0"})).out, "\"re\":[-0]"));
    EXPECT_EQ(c["cells"][3]["ir"], json::parse("[0]"));
    EXPECT_EQ(c["cells"][3]["jc"], json::parse("[0,0,1]"));

    // Registered functions through the plug-in's feval callback.
    j = json::parse(mexrun(testmex({"--json", "hosttest", "4", "@sumsq", "[1 2; 3 4]", "99"})).out);
    EXPECT_EQ(j["outputs"][0]["re"], json::parse("[30]"));
    j = json::parse(mexrun(testmex({"--json", "hosttest", "4", "@neg", "[1-2i 0]"})).out);
    EXPECT_EQ(j["outputs"][0]["re"], json::parse("[-1,-0]"));
    EXPECT_EQ(j["outputs"][0]["im"], json::parse("[2,-0]"));
    j = json::parse(mexrun(testmex({"--json", "hosttest", "4", "@identity", "'abc'"})).out);
    EXPECT_EQ(j["outputs"][0]["re"], "abc");
}

TEST(MexrunCli, ListingsAndHelp) {
    Outcome r = mexrun(testmex({"--list"}));
    EXPECT_EQ(r.status, 0);
    EXPECT_TRUE(contains("\n" + r.out, "\nhosttest\n")) << r.out;
    EXPECT_TRUE(contains(json::parse(mexrun(testmex({"--json", "--list"})).out)["plugins"].dump(), "\"hosttest\""));
    r = mexrun({"--functions"});
    for (const char *f : {"@sumsq", "@neg", "@identity", "@error"}) EXPECT_TRUE(contains(r.out, f)) << f;
    r = mexrun({"--help"});
    EXPECT_EQ(r.status, 0);
    EXPECT_TRUE(contains(r.out, "Usage: mexrun [options] NAME [ARG...]"));
    // "--" ends the options, so a name starting with dashes is still a name.
    r = mexrun({"--", "--json"});
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(contains(r.err, "Undefined function '--json'"));
}

} // namespace
