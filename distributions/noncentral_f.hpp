// Noncentral F distribution as the Poisson mixture
// P(F <= f) = sum_j exp(-pnonc/2) (pnonc/2)^j / j! I_x(dfn/2 + j, dfd/2),
// x = dfn f / (dfd + dfn f), summed backward and forward from the term with
// the largest Poisson weight; neighbouring incomplete beta values follow
// from one another by a one-term recurrence, so incbeta_ratio is called
// once per evaluation. The result is accurate to a relative summation
// tolerance of 1e-4.
#ifndef DISTRIBUTIONS_NONCENTRAL_F_HPP
#define DISTRIBUTIONS_NONCENTRAL_F_HPP

namespace dist {

// cum = P(F <= f), ccum = 0.5 + (0.5 - cum). A point f <= 0 or NaN gives
// cum = 0, ccum = 1; pnonc below 1e-10 gives the central F. A noncentrality
// of 2^32 or more, or an infinite number of degrees of freedom, is outside
// the range of the sum and gives NaN.
void noncentral_f_tails(const double *f, const double *dfn, const double *dfd, const double *pnonc, double *cum,
                        double *ccum);

// How each direction of the sum decides to stop.
enum class NoncentralFStopping {
    // Stop when the sum is below 1e-20 or the latest term is below 1e-4 of
    // the sum. This ignores the terms still to come and the terms that grow
    // beyond the floor; kept to measure what the remainder bound improves.
    latest_term,
    // Stop once a bound on everything the direction leaves out is below
    // 1e-4 of the sum (or keeps the total below the floor 1e-20), and never
    // while the terms still grow. Used by noncentral_f_tails.
    remainder_bound,
};

void noncentral_f_tails_with(NoncentralFStopping rule, const double *f, const double *dfn, const double *dfd,
                             const double *pnonc, double *cum, double *ccum);

// What the sum needs of the parameters alone (the central Poisson weight
// and the log-gamma sums that start the difference recurrences), worked out
// once for many points: noncentral_f_prepare then noncentral_f_tails_prepared
// give exactly the results of noncentral_f_tails_with.
struct NoncentralFParameters {
    NoncentralFStopping rule;
    double dfn, dfd, pnonc;
    bool in_range;         // the sum applies (else NaN)
    double xnonc, icent;   // Poisson mean and central index
    double centwt;         // weight of the central term
    double a, b;           // dfn/2 + icent, dfd/2
    double lg_down, lg_up; // log Gamma sums of the backward and forward difference terms
    double lg_zero;        // the same for the sum from j = 0
};

void noncentral_f_prepare(NoncentralFStopping rule, const double *dfn, const double *dfd, const double *pnonc,
                          NoncentralFParameters *p);
void noncentral_f_tails_prepared(const NoncentralFParameters &p, const double *f, double *cum, double *ccum);

} // namespace dist

#endif
