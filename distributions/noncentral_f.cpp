#include "noncentral_f.hpp"

#include "beta_family.hpp"
#include "incbeta_ratio.hpp"
#include "numeric_foundations.hpp"

#include <cmath>
#include <limits>

namespace dist {

namespace {

const double kTolerance = 1e-4; // relative stopping tolerance of the sum
const double kFloor = 1e-20;    // sums below this are not refined further
// Share of the tolerance each direction may leave out, so that the two
// remainders together stay within it.
const double kHalfTolerance = 0.5 * kTolerance;

double lgr(double v) { return log_gamma_rational(&v); }

// The pieces every evaluation of the sum shares.
struct MixtureSetup {
    double xnonc;  // pnonc / 2, the Poisson mean
    double icent;  // index of the central term, an integer >= 1
    double centwt; // its Poisson weight
    double xx, yy; // argument of the incomplete beta ratios and 1 - xx
    double a;      // dfn / 2 + icent
    double b;      // dfd / 2
    double betcent; // I_xx(a, b)
    const NoncentralFParameters *p; // the log-gamma values of the parameters
};

// Term j = 0 onwards, for a central incomplete beta value so small that the
// backward recurrence would start from an underflowed difference term: the
// terms that matter then lie at small j, and the sum starts there with
// I_xx(dfn/2, b) and runs forward. Everything left out after term j is at
// most I_xx(dfn/2 + j + 1, b) times the Poisson mass beyond j.
double sum_from_zero(const MixtureSetup &m, double dfn) {
    double a = dfn / 2;
    double bet, bet1;
    int ierr;
    incbeta_ratio(&a, &m.b, &m.xx, &m.yy, &bet, &bet1, &ierr);
    // Difference I(a) - I(a + 1) = Gamma(a + b)/(Gamma(a + 1) Gamma(b)) x^a y^b.
    double diff = std::exp(m.p->lg_zero + a * std::log(m.xx) + m.b * std::log(m.yy));
    double weight = std::exp(-m.xnonc);
    // Past a Poisson mean of about 745 the weight of term 0 underflows, and
    // every later weight, obtained from it by the ratio recurrence, is 0 as
    // well: the sum is 0 (NaN for a NaN beta value), and the loop below would
    // only search, through up to as many terms as the mean, for where to stop.
    if (weight == 0.0) return weight * bet;
    double sum = weight * bet, last = sum;
    double bet_direct = bet; // the last value not obtained by subtraction
    for (double j = 0;; j = j + 1) {
        // Move to term j + 1.
        bet = bet - diff;
        diff = ((a + m.b) * m.xx / (a + 1)) * diff;
        a = a + 1;
        if (bet < 1e-12 * bet_direct) {
            // The subtraction has cancelled most digits; what is left would
            // be rounding error scaled up by the growing Poisson weights.
            incbeta_ratio(&a, &m.b, &m.xx, &m.yy, &bet, &bet1, &ierr);
            bet_direct = bet;
        }
        // Poisson mass beyond j: at most 1, and geometric once past the mean.
        const double mass = j + 1 > m.xnonc ? weight * (m.xnonc / (j + 1 - m.xnonc)) : 1.0;
        const double rest = bet * mass;
        if (!(bet > 0) || sum + rest < kFloor) break;
        if (last < kTolerance * sum && !(rest >= kHalfTolerance * sum)) break;
        weight = weight * (m.xnonc / (j + 1));
        last = weight * bet;
        sum = sum + last;
    }
    return sum;
}

} // namespace

void noncentral_f_prepare(NoncentralFStopping rule, const double *dfn, const double *dfd, const double *pnonc,
                          NoncentralFParameters *p) {
    *p = NoncentralFParameters{};
    p->rule = rule;
    p->dfn = *dfn;
    p->dfd = *dfd;
    p->pnonc = *pnonc;
    const double inf = std::numeric_limits<double>::infinity();
    // The central index must fit a 32-bit integer, and the recurrences need
    // finite parameters.
    p->in_range = *pnonc < 4294967296.0 && *dfn != inf && *dfd != inf;
    if (*pnonc < 1e-10 || !p->in_range) return;
    // Everything below depends on the parameters alone: the central term
    // and the log-gamma sums that start the difference recurrences.
    p->xnonc = *pnonc / 2;
    p->icent = std::trunc(p->xnonc);
    if (p->icent == 0) p->icent = 1;
    p->centwt = std::exp(-p->xnonc + p->icent * std::log(p->xnonc) - lgr(p->icent + 1));
    p->b = *dfd / 2;
    p->a = *dfn / 2 + p->icent;
    const double b = p->b, adn = p->a, aup = p->a;
    p->lg_down = lgr(adn + b) - lgr(adn + 1) - lgr(b);
    p->lg_up = lgr(aup - 1 + b) - lgr(aup) - lgr(b);
    const double a0 = *dfn / 2;
    p->lg_zero = lgr(a0 + b) - lgr(a0 + 1) - lgr(b);
}

void noncentral_f_tails_prepared(const NoncentralFParameters &p, const double *f, double *cum, double *ccum) {
    if (!(*f > 0.0)) {
        *cum = 0.0;
        *ccum = 1.0;
        return;
    }
    if (p.pnonc < 1e-10) {
        fisher_f_tails(f, &p.dfn, &p.dfd, cum, ccum);
        return;
    }
    if (!p.in_range) {
        *cum = std::numeric_limits<double>::quiet_NaN();
        *ccum = *cum;
        return;
    }
    const double inf = std::numeric_limits<double>::infinity();
    const bool bounded = p.rule == NoncentralFStopping::remainder_bound;
    if (bounded && *f == inf) {
        *cum = 1.0;
        *ccum = 0.0;
        return;
    }

    MixtureSetup m;
    m.p = &p;
    m.xnonc = p.xnonc;
    m.icent = p.icent;
    m.centwt = p.centwt;

    const double prod = p.dfn * *f;
    const double dsum = p.dfd + prod;
    m.yy = p.dfd / dsum;
    if (m.yy > 0.5) {
        m.xx = prod / dsum;
        m.yy = 1.0 - m.xx;
    } else {
        m.xx = 1.0 - m.yy;
    }
    if (m.xx == 0.0) {
        // dfn f underflowed: every incomplete beta value of the sum is 0.
        *cum = 0.0;
        *ccum = 1.0;
        return;
    }
    m.b = p.b;
    m.a = p.a;
    double w1;
    int ierr;
    incbeta_ratio(&m.a, &m.b, &m.xx, &m.yy, &m.betcent, &w1, &ierr);

    const double b = m.b, xx = m.xx, xnonc = m.xnonc;
    double sum = m.centwt * m.betcent;

    if (bounded && m.betcent < 1e-280) {
        // The backward recurrence would start from an underflowed
        // difference; the central term itself is negligible.
        sum = sum_from_zero(m, p.dfn);
    } else {
        // Backward towards j = 0: I_xx(adn, b) grows by the difference term.
        double xmult = m.centwt, i = m.icent, adn = m.a, betdn = m.betcent;
        const double log_xx = std::log(xx), log_yy = std::log(m.yy);
        double dnterm = std::exp(p.lg_down + adn * log_xx + b * log_yy);
        if (!bounded) {
            while (sum >= kFloor && xmult * betdn >= kTolerance * sum && i > 0) {
                xmult = xmult * (i / xnonc);
                i = i - 1;
                adn = adn - 1;
                dnterm = (adn + 1) / ((adn + b) * xx) * dnterm;
                betdn = betdn + dnterm;
                sum = sum + xmult * betdn;
            }
        } else {
            double last = sum;
            while (i > 0) {
                xmult = xmult * (i / xnonc);
                i = i - 1;
                adn = adn - 1;
                dnterm = (adn + 1) / ((adn + b) * xx) * dnterm;
                betdn = betdn + dnterm;
                const double term = xmult * betdn;
                sum = sum + term;
                const bool growing = term > last;
                last = term;
                if (growing) continue;
                // Terms below i have Poisson weights falling at least by the
                // ratio i/xnonc each, and incomplete beta values at most 1.
                const double rest = xmult * (i / (xnonc - i));
                if (sum + rest < kFloor) break;
                if (term < kTolerance * sum && rest < kHalfTolerance * sum) break;
            }
        }

        // Forward: I_xx(aup, b) falls by the difference term.
        double aup = m.a, betup = m.betcent;
        xmult = m.centwt;
        i = m.icent + 1;
        double upterm = std::exp(p.lg_up + (aup - 1) * log_xx + b * log_yy);
        for (;;) {
            xmult = xmult * (xnonc / i);
            i = i + 1;
            aup = aup + 1;
            upterm = ((aup + b - 2) * xx / (aup - 1)) * upterm;
            betup = betup - upterm;
            const double term = xmult * betup;
            sum = sum + term;
            if (!bounded) {
                if (!(sum >= kFloor && term >= kTolerance * sum)) break;
                continue;
            }
            // Past the central index the Poisson weights fall at least by the
            // ratio xnonc/i and the incomplete beta values fall too, so the
            // terms still to come add at most term * q/(1 - q), q = xnonc/i.
            const double rest = term * (xnonc / (i - xnonc));
            if (sum + rest < kFloor) break;
            if (!(term >= kTolerance * sum) && !(rest >= kHalfTolerance * sum)) break;
        }
    }
    *cum = sum;
    *ccum = 0.5 + (0.5 - *cum);
}

void noncentral_f_tails_with(NoncentralFStopping rule, const double *f, const double *dfn, const double *dfd,
                             const double *pnonc, double *cum, double *ccum) {
    NoncentralFParameters p;
    noncentral_f_prepare(rule, dfn, dfd, pnonc, &p);
    noncentral_f_tails_prepared(p, f, cum, ccum);
}

void noncentral_f_tails(const double *f, const double *dfn, const double *dfd, const double *pnonc, double *cum,
                        double *ccum) {
    noncentral_f_tails_with(NoncentralFStopping::remainder_bound, f, dfn, dfd, pnonc, cum, ccum);
}

} // namespace dist
