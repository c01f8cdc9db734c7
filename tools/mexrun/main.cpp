// mexrun: calls one plug-in with arguments written as MATLAB-style literals
// and shows its outputs, plainly or as one JSON object.
//
// Exit status: 0 success; 1 the call failed (unknown plug-in, error raised
// by the plug-in, unreadable plug-in directory); 2 bad usage or a malformed
// literal.
#include "functions.hpp"
#include "literal.hpp"
#include "output.hpp"

#include "mexhost.hpp"

#include <dirent.h>

#include <cstdio>
#include <cstdlib>
#include <cerrno>
#include <cstring>
#include <string>
#include <vector>

namespace {

const char kUsage[] =
    "Usage: mexrun [options] NAME [ARG...]\n"
    "Calls plug-in NAME with the arguments ARG, written as MATLAB-style literals,\n"
    "and shows its outputs.\n"
    "\n"
    "Options (before NAME):\n"
    "  --nargout N        number of requested outputs (default 1; 0 allowed)\n"
    "  --plugins DIR      directory holding the plug-ins (NAME.mexa64)\n"
    "  --list             list the plug-ins found and exit\n"
    "  --functions        list the functions available as @name and exit\n"
    "  --json             print one JSON object instead of the plain display\n"
    "  --format short|long  5 (short, default) or 17 significant digits\n"
    "  --precision N      significant digits in the plain display (1 to 17)\n"
    "  --help             show this text\n"
    "  --                 end of options\n"
    "\n"
    "Literals: 3  -1.5e-3  Inf  NaN  1+2i  [1 2; 3 4]  1:0.5:3  zeros(2,3)  eye(3)\n"
    "  linspace(0,1,5)  int32([1 2])  sparse([0 1; 2 0])  {1, 'text'}  'text'  @sumsq\n"
    "Exit status: 0 success, 1 the call failed, 2 bad usage or malformed literal.\n"
    "Reference: docs/mexrun.md\n";

struct Options {
    int nargout = 1;
    bool json = false;
    bool list = false;
    bool functions = false;
    bool help = false;
    std::string plugins;
    mexrun::DisplayOptions display;
};

struct UsageError {
    std::string message;
};

void out(const std::string &s) { std::fwrite(s.data(), 1, s.size(), stdout); }
void err(const std::string &s) { std::fwrite(s.data(), 1, s.size(), stderr); }

int parse_int(const std::string &opt, const std::string &text, int lo, int hi) {
    char *end = nullptr;
    errno = 0;
    const long v = std::strtol(text.c_str(), &end, 10);
    if (text.empty() || *end != '\0' || errno != 0 || v < lo || v > hi)
        throw UsageError{opt + " needs an integer from " + std::to_string(lo) + " to " + std::to_string(hi) +
                         ", not '" + text + "'"};
    return int(v);
}

bool is_option(const char *a) { return a[0] == '-' && a[1] == '-'; }

// Parses options up to NAME; returns the index of NAME (argc if absent).
int parse_options(int argc, char **argv, Options &o) {
    int i = 1;
    for (; i < argc; ++i) {
        std::string a = argv[i];
        if (a == "--") return i + 1;
        if (a == "-h") a = "--help";
        if (!is_option(a.c_str())) {
            if (a.size() > 1 && a[0] == '-' && !(a[1] >= '0' && a[1] <= '9') && a[1] != '.')
                throw UsageError{"unknown option '" + a + "'"};
            return i;
        }
        std::string value;
        bool has_value = false;
        const size_t eq = a.find('=');
        if (eq != std::string::npos) {
            value = a.substr(eq + 1);
            a = a.substr(0, eq);
            has_value = true;
        }
        auto take = [&]() -> std::string {
            if (has_value) return value;
            if (i + 1 >= argc) throw UsageError{a + " needs a value"};
            return argv[++i];
        };
        auto no_value = [&]() {
            if (has_value) throw UsageError{a + " takes no value"};
        };
        if (a == "--nargout") o.nargout = parse_int(a, take(), 0, 1000);
        else if (a == "--plugins") o.plugins = take();
        else if (a == "--precision") o.display.precision = parse_int(a, take(), 1, 17);
        else if (a == "--format") {
            const std::string f = take();
            if (f == "short") o.display.precision = 5;
            else if (f == "long") o.display.precision = 17;
            else throw UsageError{"--format must be short or long, not '" + f + "'"};
        } else if (a == "--json") no_value(), o.json = true;
        else if (a == "--list") no_value(), o.list = true;
        else if (a == "--functions") no_value(), o.functions = true;
        else if (a == "--help") no_value(), o.help = true;
        else throw UsageError{"unknown option '" + a + "'"};
    }
    return i;
}

// Whether --json appears among the options, so that even a usage error is
// reported in the JSON form.
bool wants_json(int argc, char **argv) {
    for (int i = 1; i < argc && is_option(argv[i]) && std::strcmp(argv[i], "--") != 0; ++i)
        if (std::strcmp(argv[i], "--json") == 0) return true;
    return false;
}

int fail_with(bool json, const std::string &message, int status, const std::string &plain_detail = "") {
    if (json) out(mexrun::json_error(message) + "\n");
    else err("Error: " + (plain_detail.empty() ? message : plain_detail) + "\n");
    return status;
}

int list_plugins(const Options &o) {
    const std::string dir = mexhost::plugin_dir();
    if (DIR *d = opendir(dir.c_str())) closedir(d);
    else return fail_with(o.json, "cannot read the plug-in directory '" + dir + "'", 1);
    const std::vector<std::string> names = mexhost::list_plugins();
    if (o.json) {
        std::string s = "{\"plugins\":[";
        for (size_t k = 0; k < names.size(); ++k) s += (k ? "," : "") + mexrun::json_string(names[k]);
        out(s + "]}\n");
    } else {
        for (const auto &n : names) out(n + "\n");
    }
    return 0;
}

int list_functions(const Options &o) {
    const auto &fns = mexrun::builtin_functions();
    if (o.json) {
        std::string s = "{\"functions\":[";
        for (size_t k = 0; k < fns.size(); ++k)
            s += std::string(k ? "," : "") + "{\"name\":" + mexrun::json_string(fns[k].name) +
                 ",\"summary\":" + mexrun::json_string(fns[k].summary) + "}";
        out(s + "]}\n");
    } else {
        for (const auto &f : fns) out("@" + std::string(f.name) + "  " + f.summary + "\n");
    }
    return 0;
}

int run(int argc, char **argv, bool json) {
    Options o;
    o.json = json;
    const int first = parse_options(argc, argv, o);
    if (o.help) {
        out(kUsage);
        return 0;
    }
    if (!o.plugins.empty()) mexhost::set_plugin_dir(o.plugins);
    mexrun::register_functions();
    if (o.list) return list_plugins(o);
    if (o.functions) return list_functions(o);
    if (first >= argc) throw UsageError{"no plug-in name given"};
    const std::string name = argv[first];

    std::vector<mexhost::ArrayPtr> inputs;
    for (int i = first + 1; i < argc; ++i) {
        const std::string text = argv[i];
        const size_t index = size_t(i - first);
        mexrun::Value v;
        mexrun::ParseError pe;
        if (!mexrun::parse_literal(text, v, pe))
            return fail_with(o.json, mexrun::describe_parse_error(text, index, pe, false), 2,
                             mexrun::describe_parse_error(text, index, pe, true));
        try {
            inputs.push_back(mexrun::to_array(v));
        } catch (const mexhost::Error &e) {
            return fail_with(o.json, "argument " + std::to_string(index) + ": " + e.what(), 2);
        }
    }

    mexhost::CallResult r = mexhost::call(name, o.nargout, inputs);
    std::vector<const mxArray *> shown;
    if (r.ok) {
        for (size_t k = 0; k < r.outputs.size(); ++k)
            if (k < size_t(o.nargout) || r.outputs[k]) shown.push_back(r.outputs[k].get());
    }
    if (o.json) {
        if (!r.ok) {
            // Stdout carries only the error object; the rest goes to stderr.
            err(r.printed);
            for (const auto &w : r.warnings) err("Warning: " + w + "\n");
            return fail_with(true, r.error, 1);
        }
        out(mexrun::json_success(shown, r.warnings, r.printed) + "\n");
        return 0;
    }
    out(r.printed);
    if (!r.printed.empty() && r.printed.back() != '\n' && !shown.empty()) out("\n");
    std::fflush(stdout);
    for (const auto &w : r.warnings) err("Warning: " + w + "\n");
    if (!r.ok) return fail_with(false, r.error, 1);
    for (size_t k = 0; k < shown.size(); ++k) {
        const std::string label = o.nargout <= 1 ? "ans" : "out" + std::to_string(k + 1);
        out(mexrun::display_array(label, shown[k], o.display));
    }
    return 0;
}

} // namespace

int main(int argc, char **argv) {
    const bool json = wants_json(argc, argv);
    int status;
    try {
        status = run(argc, argv, json);
    } catch (const UsageError &e) {
        status = fail_with(json, e.message, 2, e.message + " (mexrun --help shows the usage)");
    } catch (const std::exception &e) {
        status = fail_with(json, e.what(), 1);
    }
    std::fflush(stdout);
    return status;
}
