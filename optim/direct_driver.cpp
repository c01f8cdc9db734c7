// Driver of the boxpart plug-in: state arrays, root evaluation, level sizes
// and the loop of boxpart calls.
#include "direct_driver.hpp"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <limits>

namespace direct {

namespace {

// Entries of the control vector (1-based in boxpart's documentation).
enum : int {
    kNumPoints = 0,
    kIterations = 1,
    kHighestLevel = 2,
    kBestPoint = 3,
    kStatus = 4,
    kIterationLimit = 5,
    kPrintProgress = 6,
    kDimensions = 7,
    kPointCapacity = 8,
    kLevelCapacity = 9,
    kSizeStopPoints = 10,
    kSizeStopLevel = 11,
    kFirstTieOnly = 12,
    kSkipHull = 13
};

const char *kBadValue = "The objective must return a non-empty numeric value.";

mexhost::ArrayPtr column(mxClassID cls, long long count) {
    return mexhost::make_array({size_t(count), 1}, cls);
}

template <class T> T *data(const mexhost::ArrayPtr &a) { return static_cast<T *>(mxGetData(a.get())); }

// Copies the first `count` elements of `from` into a new column of `size`.
template <class T> mexhost::ArrayPtr regrow(const mexhost::ArrayPtr &from, mxClassID cls, long long size, long long count) {
    mexhost::ArrayPtr to = column(cls, size);
    std::memcpy(mxGetData(to.get()), mxGetData(from.get()), size_t(count) * sizeof(T));
    return to;
}

mexhost::HostFunction wrap(Objective f) {
    return [f](int, mxArray *plhs[], int nrhs, const mxArray *prhs[]) {
        if (nrhs < 1 || !mxIsDouble(prhs[0])) mexErrMsgTxt("The objective expects a double vector.");
        plhs[0] = mxCreateDoubleScalar(f(mxGetPr(prhs[0]), mxGetNumberOfElements(prhs[0])));
    };
}

std::string check_options(const Options &o) {
    const size_t n = o.lower.size();
    if (n == 0) return "The search box needs at least one dimension.";
    if (o.upper.size() != n) return "The lower and upper bounds differ in length.";
    if (n > 32767) return "The search box has more than 32767 dimensions.";
    for (size_t d = 0; d < n; ++d)
        if (!(std::isfinite(o.lower[d]) && std::isfinite(o.upper[d]) && o.lower[d] < o.upper[d]))
            return "Every lower bound must be finite and below its finite upper bound.";
    if (o.max_evaluations < 1 || o.max_evaluations > std::numeric_limits<int32_t>::max())
        return "The evaluation budget must be between 1 and 2147483647.";
    if (o.max_iterations < 0) return "The iteration limit must not be negative.";
    if (o.level_capacity < 0 || o.level_capacity > max_level_capacity((long long)n))
        return "The level capacity is out of range for this number of dimensions.";
    if (o.size_stop_level < 0) return "The size-stop level must not be negative.";
    if (o.use_target && std::isnan(o.target)) return "The target value must not be NaN.";
    return std::string();
}

} // namespace

const char *status_text(int status) {
    switch (status) {
    case 1: return "evaluation budget reached";
    case 2: return "level capacity reached";
    case 3: return "target value reached";
    case 4: return "within the relative tolerance of the target";
    case 5: return "best box reached the size-stop level";
    case 6: return "iteration limit reached";
    default: return "not run";
    }
}

int max_level_capacity(long long n) {
    // A box divided at level L <= W produces levels up to
    // ((W-1)/n + 1)*n + 1, which must stay within 32767.
    return n < 1 ? 0 : int(n * (32766 / n));
}

Search::Search(Objective f, Options options)
    : Search(mexhost::make_function_handle(wrap(std::move(f)), "@objective"), {}, std::move(options)) {}

Search::Search(mexhost::ArrayPtr objective, std::vector<mexhost::ArrayPtr> extra, Options options)
    : options_(std::move(options)), objective_(std::move(objective)), extra_(std::move(extra)) {
    setup_error_ = check_options(options_);
    if (!options_.progress_sink)
        options_.progress_sink = [](const std::string &s) {
            std::fwrite(s.data(), 1, s.size(), stdout);
            std::fflush(stdout);
        };
}

Result Search::failure(const std::string &message) {
    Result r = result();
    r.ok = false;
    r.error = message;
    return r;
}

void Search::make_level_arrays(long long levels) {
    levels_ = levels;
    level_size_ = column(mxDOUBLE_CLASS, levels);
    level_min_ = column(mxDOUBLE_CLASS, levels);
    // Size of a box at each level in units where the search box is the unit
    // cube: at level L, r = (L-1) mod n sides are 3^-(m+1) and the other
    // n - r sides 3^-m long, with m = floor((L-1)/n).
    double *size = data<double>(level_size_);
    for (long long L = 1; L <= levels; ++L) {
        const long long m = (L - 1) / n_, r = (L - 1) % n_;
        const double long_side = std::pow(3.0, -double(m)), short_side = long_side / 3.0;
        if (options_.size_measure == SizeMeasure::LongestSide) {
            size[L - 1] = long_side;
        } else {
            size[L - 1] = 0.5 * std::sqrt(double(r) * short_side * short_side +
                                          double(n_ - r) * long_side * long_side);
        }
    }
}

void Search::grow_points(long long capacity) {
    const long long nf = (long long)mxGetPr(intarray_.get())[kNumPoints];
    parent_ = regrow<int32_t>(parent_, mxINT32_CLASS, capacity, nf);
    offset_ = regrow<double>(offset_, mxDOUBLE_CLASS, capacity, nf);
    cut_dim_ = regrow<int16_t>(cut_dim_, mxINT16_CLASS, capacity, nf);
    level_ = regrow<int16_t>(level_, mxINT16_CLASS, capacity, nf);
    fval_ = regrow<double>(fval_, mxDOUBLE_CLASS, capacity, nf);
    capacity_ = capacity;
}

bool Search::grow_levels() {
    const long long most = max_level_capacity(n_);
    if (levels_ >= most) return false;
    // After the level capacity was exceeded the recorded highest level is
    // clamped; the new arrays must cover every level actually stored.
    const double *ia = mxGetPr(intarray_.get());
    const long long nf = (long long)ia[kNumPoints];
    const int16_t *level = data<int16_t>(level_);
    long long highest = 1;
    for (long long p = 0; p < nf; ++p) highest = std::max<long long>(highest, level[p]);
    if (highest > most) return false;
    make_level_arrays(std::min(most, std::max(2 * levels_, highest)));
    data<double>(intarray_)[kHighestLevel] = double(highest);
    return true;
}

bool Search::start() {
    const Options &o = options_;
    n_ = (long long)o.lower.size();
    box_width_ = column(mxDOUBLE_CLASS, n_);
    root_center_ = column(mxDOUBLE_CLASS, n_);
    for (long long d = 0; d < n_; ++d) {
        data<double>(box_width_)[d] = o.upper[size_t(d)] - o.lower[size_t(d)];
        data<double>(root_center_)[d] = 0.5 * (o.lower[size_t(d)] + o.upper[size_t(d)]);
    }
    capacity_ = o.max_evaluations;
    parent_ = column(mxINT32_CLASS, capacity_);
    offset_ = column(mxDOUBLE_CLASS, capacity_);
    cut_dim_ = column(mxINT16_CLASS, capacity_);
    level_ = column(mxINT16_CLASS, capacity_);
    fval_ = column(mxDOUBLE_CLASS, capacity_);
    // By default keep levels until the boxes shrink to 3^-32 of the search
    // box, far below what double coordinates can resolve.
    const long long levels = o.level_capacity > 0 ? o.level_capacity
                                                  : std::min<long long>(32 * n_ + 1, max_level_capacity(n_));
    make_level_arrays(levels);

    params_ = column(mxDOUBLE_CLASS, 4);
    double *p = data<double>(params_);
    p[0] = o.epsilon;
    p[1] = o.use_target ? o.target : std::numeric_limits<double>::quiet_NaN(); // NaN never stops
    p[2] = o.target_tolerance;
    p[3] = o.maximise ? -1.0 : 1.0;

    intarray_ = column(mxDOUBLE_CLASS, 14);
    double *ia = data<double>(intarray_);
    ia[kNumPoints] = 1;
    ia[kIterations] = 0;
    ia[kHighestLevel] = 1;
    ia[kBestPoint] = 1;
    ia[kDimensions] = double(n_);
    ia[kSizeStopPoints] = double(o.size_stop_min_evaluations);
    ia[kSizeStopLevel] = o.size_stop_level > 0 ? double(o.size_stop_level) : 1e9;
    ia[kFirstTieOnly] = o.first_tie_only ? 1 : 0;
    ia[kSkipHull] = o.skip_hull ? 1 : 0;

    // The root: its value is stored in the user's sign, as boxpart expects
    // of every value on entry (it negates them itself when maximising).
    std::vector<mxArray *> args{objective_.get(), nullptr};
    mexhost::ArrayPtr x = column(mxDOUBLE_CLASS, n_);
    std::memcpy(mxGetPr(x.get()), mxGetPr(root_center_.get()), size_t(n_) * sizeof(double));
    args[1] = x.get();
    for (auto &e : extra_) args.push_back(e.get());
    mxArray *out[1] = {nullptr};
    try {
        mexCallMATLAB(1, out, int(args.size()), args.data(), "feval");
    } catch (const std::exception &e) {
        last_error_ = e.what();
        return false;
    }
    mexhost::ArrayPtr value(out[0]);
    if (!value || mxIsEmpty(value.get()) ||
        !(mxIsNumeric(value.get()) || mxGetClassID(value.get()) == mxLOGICAL_CLASS)) {
        last_error_ = kBadValue;
        return false;
    }
    data<int16_t>(level_)[0] = 1;
    data<double>(fval_)[0] = mxGetScalar(value.get());
    fval_in_user_sign_ = true;
    started_ = true;
    return true;
}

void Search::to_user_sign() {
    if (fval_in_user_sign_) return;
    if (options_.maximise) {
        const long long nf = (long long)mxGetPr(intarray_.get())[kNumPoints];
        double *f = data<double>(fval_);
        for (long long p = 0; p < nf; ++p) f[p] = -f[p];
    }
    fval_in_user_sign_ = true;
}

bool Search::call_boxpart(long long iteration_limit, std::string &error) {
    double *ia = data<double>(intarray_);
    ia[kIterationLimit] = double(iteration_limit);
    ia[kPrintProgress] = options_.show_progress ? 1 : 0;
    ia[kPointCapacity] = double(capacity_);
    ia[kLevelCapacity] = double(levels_);
    to_user_sign();

    std::vector<const mxArray *> in{objective_.get(), box_width_.get(), root_center_.get(), parent_.get(),
                                    offset_.get(),    cut_dim_.get(),   level_.get(),       fval_.get(),
                                    level_size_.get(), level_min_.get(), params_.get(),     intarray_.get()};
    for (auto &e : extra_) in.push_back(e.get());
    mexhost::CallResult r = mexhost::call("boxpart", 0, in);
    ++calls_;
    fval_in_user_sign_ = false;
    if (!r.printed.empty()) options_.progress_sink(r.printed);
    if (!r.ok) error = r.error;
    return r.ok;
}

Result Search::run() { return resume(options_.max_evaluations, options_.max_iterations); }

Result Search::resume(long long max_evaluations, long long max_iterations) {
    if (!setup_error_.empty()) return failure(setup_error_);
    if (failed_) return failure("The search stopped with an error earlier: " + last_error_);
    if (max_evaluations > std::numeric_limits<int32_t>::max())
        return failure("The evaluation budget must be between 1 and 2147483647.");
    options_.max_evaluations = std::max(options_.max_evaluations, max_evaluations);
    options_.max_iterations = std::max(options_.max_iterations, max_iterations);

    if (!started_ && !start()) {
        failed_ = true;
        return failure(last_error_);
    }
    double *ia = data<double>(intarray_);
    const bool grown = options_.max_evaluations > capacity_;
    if (grown) grow_points(options_.max_evaluations);

    // Nothing to do when the budget or iteration limit that stopped the
    // search has not been raised.
    const int last = int(ia[kStatus]);
    if (last == 1 && !grown) return result();
    if (last != 0 && ia[kIterations] >= double(options_.max_iterations)) return result();

    // With progress shown, the iterations run in growing batches so the
    // lines appear as the search goes; the search itself does not depend on
    // how its iterations are split between calls.
    long long batch = 1;
    for (;;) {
        if ((long long)ia[kStatus] == 2 && !grow_levels()) return result();
        long long limit = options_.max_iterations;
        if (options_.show_progress) {
            limit = std::min(limit, (long long)ia[kIterations] + batch);
            batch = std::min<long long>(2 * batch, 1 << 20);
        }
        std::string error;
        if (!call_boxpart(limit, error)) {
            failed_ = true;
            last_error_ = error;
            return failure(error);
        }
        const int status = int(ia[kStatus]);
        if (status == 6 && ia[kIterations] < double(options_.max_iterations)) continue;
        if (status == 2 && levels_ < max_level_capacity(n_)) continue;
        return result();
    }
}

Result Search::result() const {
    Result r;
    if (!started_) return r;
    const double *ia = mxGetPr(intarray_.get());
    const long long best = (long long)ia[kBestPoint];
    r.ok = true;
    r.evaluations = (long long)ia[kNumPoints];
    r.iterations = (long long)ia[kIterations];
    r.status = int(ia[kStatus]);
    r.status_text = status_text(r.status);
    // The best point's centre, rebuilt exactly as boxpart built it: the root
    // centre plus the offsets along the path, added from the root down.
    const int32_t *parent = static_cast<const int32_t *>(mxGetData(parent_.get()));
    const int16_t *cut = static_cast<const int16_t *>(mxGetData(cut_dim_.get()));
    const double *offset = mxGetPr(offset_.get());
    std::vector<long long> path;
    for (long long j = best; j > 1; j = parent[j - 1]) path.push_back(j);
    r.x.assign(mxGetPr(root_center_.get()), mxGetPr(root_center_.get()) + n_);
    for (auto it = path.rbegin(); it != path.rend(); ++it) r.x[size_t(cut[*it - 1] - 1)] += offset[*it - 1];
    const double v = mxGetPr(fval_.get())[best - 1];
    r.f = (options_.maximise && !fval_in_user_sign_) ? -v : v;
    return r;
}

Result solve(Objective f, const Options &options) {
    Search s(std::move(f), options);
    return s.run();
}

} // namespace direct
