// Driver of the boxpart plug-in for programs using the embedded host.
//
// A Search owns the state arrays of one DIRECT search over a box, evaluates
// the root, fills the per-level box sizes and calls boxpart through the host
// until one of its stopping rules holds. A finished search can be resumed
// with a larger evaluation budget or iteration limit.
#ifndef OPTIM_DIRECT_DRIVER_HPP
#define OPTIM_DIRECT_DRIVER_HPP

#include "mexhost.hpp"

#include <functional>
#include <string>
#include <vector>

namespace direct {

// Objective in the user's sign at x[0..n-1]. It may throw to abandon the
// search; the exception's message becomes the search error.
using Objective = std::function<double(const double *x, size_t n)>;

// How the size of a box at each level is measured, in units where the
// search box is the unit cube.
enum class SizeMeasure {
    CentreToVertex, // half the diagonal
    LongestSide
};

struct Options {
    std::vector<double> lower, upper; // the search box
    long long max_evaluations = 2000; // budget, the root included
    long long max_iterations = 100000;
    bool use_target = false;          // stop on reaching the target value
    double target = 0.0;              // in the user's sign
    double target_tolerance = 1e-4;   // relative gap to the target that stops
    int size_stop_level = 0;          // stop once the best box reaches this level (0: never)
    long long size_stop_min_evaluations = 0; // ... and at least this many points exist
    double epsilon = 1e-4;            // potential-optimality tolerance (relative)
    bool maximise = false;
    SizeMeasure size_measure = SizeMeasure::CentreToVertex;
    int level_capacity = 0;           // levels kept (0: enough to reach 3^-32 of the box)
    bool first_tie_only = false;      // divide only the lowest-index point of a tied level minimum
    bool skip_hull = false;           // skip the convex-hull pruning of candidate levels
    bool show_progress = false;       // one line per iteration
    // Receives the progress lines; by default they go to standard output.
    std::function<void(const std::string &)> progress_sink;
};

struct Result {
    bool ok = false;
    std::string error;      // when !ok
    std::vector<double> x;  // best point
    double f = 0.0;         // its value, in the user's sign
    long long evaluations = 0;
    long long iterations = 0;
    int status = 0;         // boxpart status code, 1 to 6
    std::string status_text;
};

// Text of a boxpart status code.
const char *status_text(int status);

class Search {
public:
    Search(Objective f, Options options);
    // Objective given as a host function handle or function name, called
    // as objective(x, extra...).
    Search(mexhost::ArrayPtr objective, std::vector<mexhost::ArrayPtr> extra, Options options);

    // Runs until a stopping rule holds (the first call evaluates the root).
    Result run();
    // Continues a finished search with a new budget and iteration limit
    // (values below the current ones keep the current ones).
    Result resume(long long max_evaluations, long long max_iterations);

    const Options &options() const { return options_; }
    // Number of boxpart calls made so far.
    long long calls() const { return calls_; }

private:
    bool start();
    void grow_points(long long capacity);
    void make_level_arrays(long long levels);
    bool grow_levels();
    bool call_boxpart(long long iteration_limit, std::string &error);
    void to_user_sign();
    Result result() const;
    Result failure(const std::string &message);

    Options options_;
    mexhost::ArrayPtr objective_;
    std::vector<mexhost::ArrayPtr> extra_;
    std::string setup_error_;
    bool started_ = false;
    bool failed_ = false;
    long long calls_ = 0;
    long long n_ = 0, capacity_ = 0, levels_ = 0;

    mexhost::ArrayPtr box_width_, root_center_, parent_, offset_, cut_dim_, level_, fval_;
    mexhost::ArrayPtr level_size_, level_min_, params_, intarray_;
    std::string last_error_;
    bool fval_in_user_sign_ = true; // boxpart hands values back in the search sign
};

// One search from start to stop.
Result solve(Objective f, const Options &options);

// Largest level capacity boxpart accepts for n dimensions (the levels of
// divided boxes must stay within 16 bits).
int max_level_capacity(long long n);

} // namespace direct

#endif
