#include "noncentral_chi2.hpp"

#include "gamma_family.hpp"
#include "incomplete_gamma.hpp"
#include "numeric_foundations.hpp"

#include <cmath>

namespace dist {

namespace {

const double kRelTol = 1e-5;   // relative summation tolerance
const double kFloor = 1e-20;   // sums below this are negligible
const int kShortCap = 1000;    // the earlier per-pass cap (1001 terms)
const double kTwoPi = 6.283185307179586;

enum class Rules { TailBound, Capped };

// Whether a pass may end after adding `term` (previous term `prev`, running
// sum `sum`, at most `left` terms still to come in this direction).
//
// The terms w_j * P(chi2(df + 2j) <= x) form a log-concave sequence in j
// (Poisson weights are log-concave, and so is P(Gamma(a + j) <= h) in j), so
// once a term is smaller than its predecessor the ratio r = term/prev can
// only fall further along the pass, and everything left is at most
// term * r/(1 - r). Only a shrinking term can end a pass: while the terms
// still grow the mass lies ahead.
bool may_stop(double term, double prev, double sum, double left) {
    if (!(term < prev) && term > 0.0) return false;
    double rest = term > 0.0 ? term : 0.0;
    if (term > 0.0 && prev > 0.0) {
        const double r = term / prev;
        double factor = r / (1.0 - r);
        if (factor > left) factor = left;
        // Never end earlier than at a term below the tolerance itself.
        if (factor < 1.0) factor = 1.0;
        rest = term * factor;
    }
    if (sum + rest < kFloor) return true;
    return rest < kRelTol * sum;
}

void sum_series(const double *x, const double *df, const double *pnonc, double *cum, double *ccum, Rules rules) {
    if (!(*x > 0.0)) {
        *cum = 0.0;
        *ccum = 1.0;
        return;
    }
    if (!(*pnonc > 1e-10)) {
        chisquare_tails(x, df, cum, ccum);
        return;
    }
    const bool bounded = rules == Rules::TailBound;
    if (bounded && std::isinf(*x)) {
        *cum = 1.0;
        *ccum = 0.0;
        return;
    }
    if (bounded && !(*pnonc <= kMaxNoncentrality)) {
        *cum = std::nan("");
        *ccum = std::nan("");
        return;
    }

    const double lambda = *pnonc * 0.5;
    // Centre: the index of largest Poisson weight. Held as a double: beyond
    // 2^31 it no longer fits a 32-bit int but stays an exact integer.
    double c;
    if (lambda < 2147483648.0 || !bounded) {
        c = trunc_to_int(&lambda);
    } else {
        c = std::floor(lambda);
    }
    if (c == 0.0) c = 1.0;
    const double h = *x * 0.5;

    const bool huge_centre = c >= 2147483648.0;
    const double c1 = c + 1.0;
    double wc;
    if (!huge_centre) {
        wc = std::exp(c * std::log(lambda) - lambda - log_gamma_rational(&c1));
    } else {
        // c ln(lambda) - lambda - ln Gamma(c+1) is the small difference of
        // numbers near 1e13 and more; with Stirling's series and
        // delta = lambda - c in [0, 1) it is formed without cancellation.
        const double delta = lambda - c;
        wc = std::exp(c * std::log1p(delta / c) - delta - 0.5 * std::log(kTwoPi * c) - 1.0 / (12.0 * c));
    }

    const double dfc = *df + 2.0 * c;
    double pc, scratch;
    chisquare_tails(x, &dfc, &pc, &scratch);
    if (pc == 2.0) { // the central chi-square failed
        *cum = 2.0;
        return;
    }

    // A = h^d e^-h / Gamma(d + 1), d = (df + 2c)/2: the drop of the chi-square
    // distribution function when the degrees of freedom rise by 2.
    double d = dfc * 0.5;
    const double d1 = 1.0 + d;
    double a0;
    if (!huge_centre) {
        a0 = std::exp(d * std::log(h) - h - log_gamma_rational(&d1));
    } else {
        // The same quantity as -d (h/d - 1 - ln(h/d)) - ln sqrt(2 pi d) - 1/(12 d).
        const double ratio = h / d;
        a0 = std::exp(-d * x_minus_one_minus_log(&ratio) - 0.5 * std::log(kTwoPi * d) - 1.0 / (12.0 * d));
    }

    double sum = wc * pc;
    const double central_term = sum;

    // The cap only bounds the work: Poisson weights beyond 40 standard
    // deviations of the centre are below e^-800 of the central one.
    double cap = kShortCap;
    if (bounded) {
        const double spread = std::ceil(40.0 * std::sqrt(lambda));
        if (spread > cap) cap = spread;
    }

    // Downward pass, j = c-1 down to 0: P(chi2(df + 2j) <= x) grows by adj
    // at each step.
    {
        double count = 0.0, s = 0.0, adj = a0, wt = wc, i = c, prev = central_term;
        for (;;) {
            d = (*df + 2.0 * i) * 0.5;
            adj = adj * d / h;
            s = s + adj;
            const double pterm = pc + s;
            wt = wt * (i / lambda);
            const double term = wt * pterm;
            sum = sum + term;
            i = i - 1.0;
            count = count + 1.0;
            if (count > cap) break;
            if (bounded) {
                if (i == 0.0) break;
                if (may_stop(term, prev, sum, i)) break;
                prev = term;
            } else {
                if (sum < kFloor || term < kRelTol * sum || i == 0.0) break;
            }
        }
    }

    // Upward pass, j = c+1 onward: P(chi2(df + 2j) <= x) falls by adj.
    {
        double count = 0.0, s = a0, adj = a0, wt = wc, i = c, prev = central_term;
        for (;;) {
            wt = wt * (lambda / (i + 1.0));
            const double pterm = pc - s;
            const double term = wt * pterm;
            sum = sum + term;
            i = i + 1.0;
            d = (*df + 2.0 * i) * 0.5;
            adj = adj * h / d;
            s = s + adj;
            count = count + 1.0;
            if (count > cap) break;
            if (bounded) {
                if (may_stop(term, prev, sum, HUGE_VAL)) break;
                prev = term;
            } else {
                if (sum < kFloor || term < kRelTol * sum) break;
            }
        }
    }

    *cum = sum;
    *ccum = 0.5 + (0.5 - *cum);
}

} // namespace

void noncentral_chi2_tails(const double *x, const double *df, const double *pnonc, double *cum, double *ccum) {
    sum_series(x, df, pnonc, cum, ccum, Rules::TailBound);
}

void noncentral_chi2_tails_capped(const double *x, const double *df, const double *pnonc, double *cum,
                                  double *ccum) {
    sum_series(x, df, pnonc, cum, ccum, Rules::Capped);
}

} // namespace dist
