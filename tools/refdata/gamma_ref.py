"""High-precision reference values for the gamma side of the distribution
library, computed with mpmath (shared by the gen_gamma*.py scripts).

P(a, x) comes from mpmath's gammainc for shapes below 1e4; for larger
shapes from the positive-term series of P (as 1F1) (x up to a + 20 sqrt(a), with 100
extra digits for the complement) or Legendre's continued fraction for Q
(beyond). The noncentral chi-square is its Poisson mixture
of central chi-square distribution functions summed in 40-digit arithmetic
from the largest Poisson weight outward until the neglected part is below
1e-25 of the sum.
"""
from mpmath import mp, mpf, gammainc, hyp1f1, exp, log, loggamma, sqrt, inf, floor
from mpmath.libmp import NoConvergence

mp.dps = 40


def _p_series(a, x):
    """P(a, x) = x^a e^-x / Gamma(a+1) * 1F1(1; a+1; x): a series of positive
    terms, summed by mpmath's fixed-point hypergeometric summation; used for
    x <= a + 20 sqrt(a)."""
    return hyp1f1(1, a + 1, x, maxterms=10 ** 9) * exp(a * log(x) - x - loggamma(a + 1))


def _q_fraction(a, x):
    """Q(a, x) by Legendre's continued fraction (modified Lentz), for
    x > a + 20 sqrt(a) where it converges in few steps."""
    tiny = mpf(10) ** (-2 * mp.dps)
    b = x + 1 - a
    c = 1 / tiny
    d = 1 / b
    h = d
    i = 0
    while True:
        i += 1
        an = -i * (i - a)
        b += 2
        d = an * d + b
        d = tiny if d == 0 else d
        c = b + an / c
        c = tiny if c == 0 else c
        d = 1 / d
        delta = d * c
        h *= delta
        if abs(delta - 1) < mpf(10) ** (-mp.dps - 5):
            break
    return exp(a * log(x) - x - loggamma(a)) * h


def gamma_pq(a, x):
    """(P(a, x), Q(a, x)) as mpf values. The tail that is formed as 1 minus
    the other is recomputed with as many extra digits as it is small, so that
    both keep 30 significant digits (tiny shapes give Q ~ a ln(1/x))."""
    p, q = _gamma_pq(a, x)
    small = min(p, q)
    # Only for a < 1 can the tail formed as a difference (Q for x < a + 1)
    # be small: Q ~ a ln(1/x) for tiny a.
    if a >= 1:
        pass
    elif small == 0 and 0 < x < inf:
        # 1 - P cancelled completely: retry with enough digits for any double.
        with mp.workdps(mp.dps + 700):
            p, q = _gamma_pq(a, x)
    elif 0 < small < mpf(10) ** -10:
        with mp.workdps(mp.dps + int(-mp.log10(small)) + 10):
            p, q = _gamma_pq(a, x)
    return +p, +q


def _gamma_pq(a, x):
    a = mpf(a)
    x = mpf(x)
    if x == 0:
        return mpf(0), mpf(1)
    if x == inf:
        return mpf(1), mpf(0)
    if a < 1e4:
        try:
            if x < a + 1:
                p = gammainc(a, 0, x, regularized=True)
                return p, 1 - p
            q = gammainc(a, x, inf, regularized=True)
            return 1 - q, q
        except NoConvergence:
            pass
    if x <= a + 20 * sqrt(a):
        with mp.workdps(mp.dps + 100):  # Q = 1 - P is at least ~1e-90 here
            p = _p_series(a, x)
            return +p, +(1 - p)
    q = _q_fraction(a, x)
    return 1 - q, q


def ncx2_cdf(x, df, nc):
    """P(X <= x) for X noncentral chi-square (df, nc), as an mpf."""
    x, df, nc = mpf(x), mpf(df), mpf(nc)
    if x <= 0:
        return mpf(0)
    lam = nc / 2
    h = x / 2
    c = int(floor(lam))
    a = df / 2 + c
    pc, _ = gamma_pq(a, h)
    wc = exp(c * log(lam) - lam - loggamma(c + 1)) if c > 0 else exp(-lam)
    dens = exp(a * log(h) - h - loggamma(a + 1))  # P(a, h) - P(a + 1, h)
    total = wc * pc
    tol = mpf(10) ** -25

    def done(term, prev, total):
        if term <= 0:
            return True
        if term >= prev:
            return False
        r = term / prev
        return term * r / (1 - r) < tol * total

    # downward: j = c-1 .. 0, P(a - 1) = P(a) + density term
    w, p, d, j, prev = wc, pc, dens, c, total
    while j > 0:
        aj = df / 2 + j  # shape of the current term
        d = d * aj / h    # P(aj - 1) - P(aj)
        p = p + d
        w = w * j / lam
        j -= 1
        term = w * p
        total += term
        if done(term, prev, total):
            break
        prev = term
    # upward: j = c+1 ..
    w, p, d, j, prev = wc, pc, dens, c, wc * pc
    while True:
        w = w * lam / (j + 1)
        p = p - d
        j += 1
        d = d * h / (df / 2 + j)
        term = w * p
        total += term
        if done(term, prev, total):
            break
        prev = term
    return total
