// direct-search: DIRECT global search of a named test problem through the
// boxpart plug-in, reporting the best point, its value, the evaluations, the
// iterations and the stopping status as text or JSON.
#include "direct_driver.hpp"
#include "direct_problems.hpp"

#include <nlohmann/json.hpp>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <limits>
#include <string>

namespace {

const char *kUsage =
    "Usage: direct-search PROBLEM [options]\n"
    "       direct-search --list\n"
    "\n"
    "Minimises (or maximises) a named test problem over its standard box with\n"
    "the DIRECT method. By default a minimisation stops once the best value is\n"
    "within a relative 1e-4 of the problem's known global minimum.\n"
    "\n"
    "Stopping rules:\n"
    "  --evals N            evaluation budget, the centre included (default 2000)\n"
    "  --iters N            iteration limit (default 100000)\n"
    "  --target F           stop when the best value reaches F or comes within\n"
    "                       the relative tolerance of it\n"
    "  --tol R              relative tolerance on the gap to the target (default 1e-4)\n"
    "  --no-target          no target: run until another rule stops the search\n"
    "  --size-stop L        stop once the best box has reached level L ...\n"
    "  --size-stop-evals N  ... and at least N points are stored (default 0)\n"
    "Search:\n"
    "  --maximise           maximise instead of minimise (no default target)\n"
    "  --epsilon E          potential-optimality tolerance (default 1e-4)\n"
    "  --longest-side       measure boxes by their longest side instead of the\n"
    "                       centre-to-vertex distance\n"
    "  --levels W           level capacity (default: down to 3^-32 of the box)\n"
    "  --first-tie-only     divide only the first of tied level minima\n"
    "  --no-hull            skip the convex-hull pruning of candidate levels\n"
    "  --resume-evals N     after the search stops, resume it with budget N\n"
    "Output:\n"
    "  --progress           print one line per iteration\n"
    "  --json               print the result as a JSON object\n";

[[noreturn]] void usage_error(const std::string &msg) {
    std::cerr << "direct-search: " << msg << "\n\n" << kUsage;
    std::exit(2);
}

double number(const std::string &opt, const char *text) {
    char *end = nullptr;
    const double v = std::strtod(text, &end);
    if (end == text || *end != '\0' || std::isnan(v)) usage_error(opt + " needs a number, not '" + text + "'");
    return v;
}

long long count(const std::string &opt, const char *text) {
    const double v = number(opt, text);
    if (v < 0 || v != std::floor(v) || v > 9e15) usage_error(opt + " needs a non-negative whole number");
    return (long long)v;
}

void list_problems() {
    std::printf("%-16s %-16s %3s  %s\n", "name", "problem", "n", "global minimum");
    for (const auto &p : direct::test_problems())
        std::printf("%-16s %-16s %3zu  %.15g\n", p.name, p.title, p.dimensions(), p.minimum);
}

} // namespace

int main(int argc, char **argv) {
    if (argc < 2) usage_error("no problem named");
    std::string name;
    direct::Options o;
    bool json = false, no_target = false, have_target = false;
    double target = 0.0;
    long long resume_evals = 0;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        auto value = [&]() -> const char * {
            if (i + 1 >= argc) usage_error(a + " needs a value");
            return argv[++i];
        };
        if (a == "--help" || a == "-h") {
            std::cout << kUsage;
            return 0;
        } else if (a == "--list") {
            list_problems();
            return 0;
        } else if (a == "--evals") {
            o.max_evaluations = count(a, value());
        } else if (a == "--iters") {
            o.max_iterations = count(a, value());
        } else if (a == "--target") {
            target = number(a, value());
            have_target = true;
        } else if (a == "--tol") {
            o.target_tolerance = number(a, value());
        } else if (a == "--no-target") {
            no_target = true;
        } else if (a == "--size-stop") {
            o.size_stop_level = int(std::min<long long>(count(a, value()), 1000000));
        } else if (a == "--size-stop-evals") {
            o.size_stop_min_evaluations = count(a, value());
        } else if (a == "--maximise" || a == "--maximize") {
            o.maximise = true;
        } else if (a == "--epsilon") {
            o.epsilon = number(a, value());
        } else if (a == "--longest-side") {
            o.size_measure = direct::SizeMeasure::LongestSide;
        } else if (a == "--levels") {
            o.level_capacity = int(std::min<long long>(count(a, value()), 1000000));
        } else if (a == "--first-tie-only") {
            o.first_tie_only = true;
        } else if (a == "--no-hull") {
            o.skip_hull = true;
        } else if (a == "--resume-evals") {
            resume_evals = count(a, value());
        } else if (a == "--progress") {
            o.show_progress = true;
        } else if (a == "--json") {
            json = true;
        } else if (!a.empty() && a[0] == '-') {
            usage_error("unknown option " + a);
        } else if (name.empty()) {
            name = a;
        } else {
            usage_error("more than one problem named");
        }
    }
    if (name.empty()) usage_error("no problem named");
    const direct::TestProblem *problem = direct::find_problem(name);
    if (!problem) usage_error("unknown problem '" + name + "' (see --list)");

    o.lower = problem->lower;
    o.upper = problem->upper;
    if (have_target) {
        o.use_target = true;
        o.target = target;
    } else if (!no_target && !o.maximise) {
        o.use_target = true;
        o.target = problem->minimum;
    }
    // With JSON on standard output the progress lines go to standard error.
    if (json) o.progress_sink = [](const std::string &s) { std::fputs(s.c_str(), stderr); };

    const auto f = problem->f;
    direct::Search search([f](const double *x, size_t) { return f(x); }, o);
    direct::Result r = search.run();
    if (r.ok && resume_evals > 0) r = search.resume(resume_evals, 0);

    const bool compare = !o.maximise;
    const double rel = compare ? std::fabs(r.f - problem->minimum) / std::fabs(problem->minimum)
                               : std::numeric_limits<double>::quiet_NaN();
    if (json) {
        nlohmann::json j;
        j["problem"] = problem->name;
        j["dimensions"] = problem->dimensions();
        j["maximise"] = o.maximise;
        if (!r.ok) j["error"] = r.error;
        j["x"] = r.x;
        j["f"] = r.f;
        j["evaluations"] = r.evaluations;
        j["iterations"] = r.iterations;
        j["status"] = r.status;
        j["status_text"] = r.status_text;
        j["calls"] = search.calls();
        if (compare) {
            j["known_minimum"] = problem->minimum;
            j["relative_error"] = rel;
        }
        std::cout << j.dump(2) << "\n";
    } else {
        if (!r.ok) std::cerr << "direct-search: " << r.error << "\n";
        std::printf("problem:      %s (%s), %zu dimensions, %s\n", problem->title, problem->name,
                    problem->dimensions(), o.maximise ? "maximised" : "minimised");
        std::printf("best point:  ");
        for (double v : r.x) std::printf(" %.10g", v);
        std::printf("\nbest value:   %.15g\n", r.f);
        if (compare) std::printf("known min:    %.15g (relative error %.3g)\n", problem->minimum, rel);
        std::printf("evaluations:  %lld\niterations:   %lld\nstatus:       %d (%s)\n", r.evaluations, r.iterations,
                    r.status, r.status_text.c_str());
    }
    return r.ok ? 0 : 1;
}
