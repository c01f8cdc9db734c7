// A deliberately plain model of the DIRECT iterations for the tests: every
// iteration rescans all points to build the per-level minima and their tie
// lists (head, tail and next links), exactly as the method is defined. The
// plug-in keeps those minima in heaps instead; comparing the two on the same
// searches checks that the faster bookkeeping selects and divides the same
// boxes in the same order.
#ifndef TESTS_OPTIM_DIRECT_REFERENCE_HPP
#define TESTS_OPTIM_DIRECT_REFERENCE_HPP

#include "direct_search.hpp"

#include <cmath>
#include <cstdint>
#include <functional>
#include <vector>

namespace directref {

struct State {
    std::vector<double> box_width, root_center;
    std::vector<int32_t> parent;
    std::vector<double> offset;
    std::vector<int16_t> cut_dim, level;
    std::vector<double> fval, level_size, level_min, params, intarray;
};

using Fn = std::function<double(const double *x)>;

inline void run(State &s, const Fn &f, std::vector<long long> *progress_nf = nullptr) {
    auto I = [&](int k) { return (long long)std::trunc(s.intarray[size_t(k - 1)]); };
    const double eps = s.params[0], tol = s.params[2], sign = s.params[3];
    long long nf = I(1), it = I(2), hl = I(3), best = I(4);
    const long long limit = I(6), n = I(8), X = I(9), W = I(10), stop_nf = I(11), stop_level = I(12);
    const bool print = I(7) == 1, first_only = I(13) == 1, no_hull = I(14) == 1;
    const double huge = 1.7e308;

    if (sign == -1.0)
        for (long long p = 0; p < nf; ++p) s.fval[size_t(p)] = -s.fval[size_t(p)];
    double fbest = s.fval[size_t(best - 1)];
    const double target = s.params[1] * sign;

    std::vector<double> third(size_t((W - 1) / n + 2));
    third[0] = 0.3333333333333333;
    for (size_t k = 1; k < third.size(); ++k) third[k] = third[k - 1] / 3.0;
    std::vector<long long> head(static_cast<size_t>(W + 1)), tail(static_cast<size_t>(W + 1)), next(static_cast<size_t>(X + 2));
    std::vector<int32_t> hull(static_cast<size_t>(W));
    std::vector<double> x(s.box_width.size(), 0.0);

    int status = 0;
    while (it < limit && status == 0) {
        ++it;
        for (long long k = 1; k <= hl; ++k) s.level_min[size_t(k - 1)] = huge;
        for (long long p = 1; p <= nf; ++p) {
            const long long k = s.level[size_t(p - 1)];
            const double v = s.fval[size_t(p - 1)];
            double &m = s.level_min[size_t(k - 1)];
            if (m > v) {
                m = v;
                head[size_t(k)] = tail[size_t(k)] = p;
                next[size_t(p)] = 0;
            } else if (v == m && m < huge && !first_only) {
                next[size_t(tail[size_t(k)])] = p;
                tail[size_t(k)] = p;
            }
        }
        const double prod = eps * std::fabs(fbest);
        const double eps_abs = prod >= 1e-8 ? prod : 1e-8;
        long count = 0;
        double least = huge;
        for (long long k = s.level[size_t(best - 1)]; k >= 1; --k) {
            const double m = s.level_min[size_t(k - 1)];
            if (m >= huge) continue;
            const double slope = ((m - fbest) + eps_abs) / s.level_size[size_t(k - 1)];
            if (least > slope) {
                least = slope;
                hull[0] = int32_t(k);
                count = 1;
            } else {
                hull[size_t(count++)] = int32_t(k);
            }
        }
        if (!no_hull) count = direct::lconvhull(s.level_size.data(), s.level_min.data(), hull.data(), count);
        std::vector<long long> selected;
        for (long i = 0; i < count; ++i)
            for (long long p = head[size_t(hull[size_t(i)])]; p != 0; p = next[size_t(p)]) selected.push_back(p);

        for (long long p : selected) {
            const long long L = s.level[size_t(p - 1)], r = (L - 1) % n, c = n - r;
            if (nf + 2 * c > X) {
                status = 1;
                break;
            }
            std::vector<int32_t> dims(static_cast<size_t>(c)), perm(static_cast<size_t>(c));
            for (long long k = 1; k <= c; ++k) dims[size_t(k - 1)] = r ? s.cut_dim[size_t(p + 2 * k - 1)] : int32_t(k);
            const double q = third[size_t((L - 1) / n)];
            for (long long d = 0; d < n; ++d) x[size_t(d)] = s.root_center[size_t(d)];
            std::vector<long long> path;
            for (long long j = p; j > 1; j = s.parent[size_t(j - 1)]) path.push_back(j);
            for (auto j = path.rbegin(); j != path.rend(); ++j)
                x[size_t(s.cut_dim[size_t(*j - 1)] - 1)] += s.offset[size_t(*j - 1)];
            std::vector<double> fp(static_cast<size_t>(c)), fm(static_cast<size_t>(c)), side(static_cast<size_t>(c));
            for (long long k = 0; k < c; ++k) {
                const size_t d = size_t(dims[size_t(k)] - 1);
                const double v = x[d], step = q * s.box_width[d];
                x[d] = v + step;
                fp[size_t(k)] = sign * f(x.data());
                x[d] = v - step;
                fm[size_t(k)] = sign * f(x.data());
                x[d] = v;
                side[size_t(k)] = fp[size_t(k)] <= fm[size_t(k)] ? fp[size_t(k)] : fm[size_t(k)];
                perm[size_t(k)] = int32_t(k + 1);
            }
            direct::quicksortind(side.data(), perm.data(), 1, long(c));
            if (fbest > side[0]) {
                fbest = side[0];
                best = side[0] == fp[size_t(perm[0] - 1)] ? nf + 1 : nf + 2;
            }
            for (long long j = 1; j <= c; ++j) {
                const size_t k = size_t(perm[size_t(j - 1)] - 1);
                const int32_t d = dims[k];
                const double step = q * s.box_width[size_t(d - 1)];
                for (int side_index = 0; side_index < 2; ++side_index) {
                    const size_t at = size_t(nf + 2 * j - 2 + side_index);
                    s.parent[at] = int32_t(p);
                    s.offset[at] = side_index == 0 ? step : -step;
                    s.cut_dim[at] = int16_t(d);
                    s.fval[at] = side_index == 0 ? fp[k] : fm[k];
                    s.level[at] = int16_t(L + j);
                }
            }
            nf += 2 * c;
            s.level[size_t(p - 1)] = int16_t(L + c);
            if (L + c > hl) hl = L + c;
        }
        if (hl > W) {
            hl = W;
            status = 2;
        }
        if (target >= fbest) status = 3;
        else if (tol > (fbest - target) / std::fabs(target)) status = 4;
        if (s.level[size_t(best - 1)] >= stop_level && nf >= stop_nf) status = 5;
        if (print && progress_nf) progress_nf->push_back(nf);
    }
    if (it >= limit) status = 6;
    s.intarray[0] = double(nf);
    s.intarray[1] = double(it);
    s.intarray[2] = double(hl);
    s.intarray[3] = double(best);
    s.intarray[4] = double(status);
}

} // namespace directref

#endif
