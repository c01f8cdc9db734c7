// Mutations of valid calls: every call of the cross-host list, with one to
// three of its arguments changed (a value replaced by NaN, an infinity, a
// signed zero, a huge, subnormal, negative or fractional number; the shape
// emptied or transposed; the class changed; an argument dropped, added or
// replaced by a generated one) and any output count. This reaches the code
// behind each plug-in's argument checks, which fully random argument lists
// rarely pass.
#include "arg_generator.hpp"
#include "functions.hpp"
#include "literal.hpp"
#include "seed_calls.hpp"
#include "test_util.hpp"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <map>
#include <random>
#include <sstream>

namespace {

using fuzz::Seed;

size_t calls_per_plugin() {
    const char *env = std::getenv("FUZZ_CALLS");
    return env && *env ? size_t(std::strtoull(env, nullptr, 10)) : 2000;
}

class Mutator {
public:
    explicit Mutator(uint64_t seed) : rng_(seed), gen_(seed ^ 0x9e3779b97f4a7c15ULL) {}

    size_t pick(size_t n) { return std::uniform_int_distribution<size_t>(0, n - 1)(rng_); }

    double special_value() {
        static const double v[] = {std::numeric_limits<double>::quiet_NaN(),
                                   std::numeric_limits<double>::infinity(),
                                   -std::numeric_limits<double>::infinity(),
                                   0.0, -0.0, -1.0, 0.5, 1e308, -1e308, 5e-324, 1e-300,
                                   2147483648.0, 4294967296.0, 65536.0, 1e5, 3.0, 1.0};
        return v[pick(sizeof v / sizeof v[0])];
    }

    // Changes one argument in place; returns a short description.
    std::string mutate_value(mexrun::Value &v) {
        const size_t n = v.numel();
        switch (pick(6)) {
        case 0: case 1: case 2: { // a special value at one or all positions
            if (n == 0 || !v.cells.empty() || v.cls == mxFUNCTION_CLASS) break;
            const double x = special_value();
            if (pick(4) == 0) {
                for (auto &e : v.re) e = x;
            } else {
                v.re[pick(n)] = x;
            }
            std::ostringstream os;
            os << "value " << x;
            return os.str();
        }
        case 3: // transposed or emptied
            if (pick(2) == 0 && v.dims.size() == 2) {
                std::swap(v.dims[0], v.dims[1]);
                return "shape swapped";
            }
            v.dims = {pick(2), 0};
            v.re.clear();
            v.im.clear();
            v.cells.clear();
            return "emptied";
        case 4: { // another class
            if (!v.cells.empty() || v.cls == mxFUNCTION_CLASS) break;
            static const mxClassID cls[] = {mxINT32_CLASS, mxSINGLE_CLASS, mxUINT8_CLASS, mxCHAR_CLASS, mxINT16_CLASS};
            if (pick(3) == 0 && v.cls == mxDOUBLE_CLASS && v.dims.size() == 2) {
                v.sparse = !v.sparse;
                return "sparse toggled";
            }
            if (pick(3) == 0 && v.cls == mxDOUBLE_CLASS) {
                v.im.assign(n, 1.0);
                return "made complex";
            }
            v.cls = cls[pick(5)];
            v.sparse = false;
            v.im.clear();
            // Integer and char data hold values in their class's range: a
            // double out of range has no defined conversion.
            double lo = -32768.0, hi = 32767.0;
            if (v.cls == mxUINT8_CLASS) lo = 0.0, hi = 255.0;
            if (v.cls == mxCHAR_CLASS) lo = 0.0, hi = 65535.0;
            for (auto &e : v.re) e = std::isnan(e) ? 0.0 : std::trunc(std::max(lo, std::min(e, hi)));
            return "class changed";
        }
        default:
            break;
        }
        return "unchanged";
    }

    // A mutated argument list of `s`.
    std::vector<mexhost::ArrayPtr> mutate(const Seed &s, std::string &what) {
        std::vector<mexrun::Value> args = s.args;
        std::vector<mexhost::ArrayPtr> generated(args.size() + 1);
        const size_t count = 1 + pick(3);
        for (size_t k = 0; k < count; ++k) {
            const size_t kind = pick(10);
            if (kind == 0 && !args.empty()) {
                args.pop_back();
                what += " [dropped last]";
            } else if (kind == 1) {
                args.push_back(args.empty() ? mexrun::Value{} : args[pick(args.size())]);
                what += " [extra argument]";
            } else if (kind == 2 && !args.empty()) {
                const size_t i = pick(args.size());
                std::string d;
                generated.resize(std::max(generated.size(), args.size()));
                generated[i] = gen_.array(d, 64);
                what += " [arg " + std::to_string(i + 1) + " := " + d + "]";
            } else if (!args.empty()) {
                const size_t i = pick(args.size());
                what += " [arg " + std::to_string(i + 1) + ": " + mutate_value(args[i]) + "]";
            }
        }
        std::vector<mexhost::ArrayPtr> out;
        for (size_t i = 0; i < args.size(); ++i)
            out.push_back(i < generated.size() && generated[i] ? std::move(generated[i]) : mexrun::to_array(args[i]));
        return out;
    }

private:
    std::mt19937_64 rng_;
    fuzz::ArgGenerator gen_;
};

const std::map<std::string, std::vector<Seed>> &seeds() {
    static const auto s = fuzz::read_seed_calls(SEED_CALLS_FILE);
    return s;
}

class MutatedCalls : public ::testing::TestWithParam<std::string> {};

TEST_P(MutatedCalls, AnswerSafely) {
    const std::string name = GetParam();
    const auto it = seeds().find(name);
    if (it == seeds().end()) GTEST_SKIP() << "no seed call for " << name;
    mexrun::register_functions();
    mexhost::register_function("fuzz_objective", [](int, mxArray *plhs[], int, const mxArray *[]) {
        plhs[0] = mxCreateDoubleScalar(0.25);
    });
    mexhost::set_plugin_dir(MEX_PLUGIN_DIR);
    // Generated sizes must not turn into gigabytes of output on a test machine.
    mexhost::set_allocation_limit(size_t(1) << 28);
    Mutator mut(std::hash<std::string>{}(name));
    const size_t before_arrays = mexhost::live_array_count(), before_blocks = mexhost::live_block_count();
    size_t accepted = 0;
    for (size_t i = 0; i < calls_per_plugin(); ++i) {
        const Seed &s = it->second[mut.pick(it->second.size())];
        std::string what;
        std::vector<mexhost::ArrayPtr> args = mut.mutate(s, what);
        const int nargout = mut.pick(4) == 0 ? int(mut.pick(5)) : s.nargout;
        const auto t0 = std::chrono::steady_clock::now();
        mexhost::CallResult r = mexhost::call(name, nargout, args);
        const double secs = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
        const std::string desc = s.text + what + " nargout=" + std::to_string(nargout);
        EXPECT_LT(secs, 1.0) << desc;
        if (!r.ok) {
            EXPECT_FALSE(r.error.empty()) << desc;
        } else {
            ++accepted;
        }
    }
    RecordProperty("accepted", int(accepted));
    mexhost::set_allocation_limit(size_t(1) << 39);
    EXPECT_EQ(mexhost::live_array_count(), before_arrays);
    EXPECT_EQ(mexhost::live_block_count(), before_blocks);
}

std::vector<std::string> plugins() {
    mexhost::set_plugin_dir(MEX_PLUGIN_DIR);
    return mexhost::list_plugins();
}

INSTANTIATE_TEST_SUITE_P(Fuzz, MutatedCalls, ::testing::ValuesIn(plugins()),
                         [](const ::testing::TestParamInfo<std::string> &p) { return p.param; });

} // namespace
