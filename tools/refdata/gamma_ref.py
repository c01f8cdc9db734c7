"""High-precision reference values for the gamma side of the distribution
library, computed with mpmath (shared by the gen_gamma*.py scripts).

P(a, x) comes from mpmath's gammainc where its hypergeometric series
converges; for very large shapes it comes from a tanh-sinh quadrature of the
gamma density with breakpoints on the scale of the integrand, integrating
whichever tail is smaller. The noncentral chi-square is its Poisson mixture
of central chi-square distribution functions summed in 40-digit arithmetic
from the largest Poisson weight outward until the neglected part is below
1e-25 of the sum.
"""
from mpmath import mp, mpf, gammainc, quad, exp, log, loggamma, sqrt, inf, floor
from mpmath.libmp import NoConvergence

mp.dps = 40


def _tail_quad(a, x, lower):
    """P(a, x) (lower) or Q(a, x) by quadrature of t^(a-1) e^-t / Gamma(a)."""
    lg = loggamma(a)
    f = lambda t: exp((a - 1) * log(t) - t - lg)
    mode = a - 1 if a > 1 else mpf(0)
    # Decay length of the integrand next to x, and the width at the mode.
    slope = abs((a - 1) / x - 1)
    width = sqrt(a) if a > 1 else mpf(1)
    near = 1 / max(slope, 1 / width)
    pts = {x}
    for k in (1, 2, 5, 10, 20, 50, 100, 300):
        pts.add(x - k * near if lower else x + k * near)
    for k in (-40, -20, -10, -5, -2, 0, 2, 5, 10, 20, 40):
        pts.add(mode + k * width)
    if lower:
        pts = sorted(p for p in pts if 0 <= p <= x) 
        if pts[0] != 0:
            pts.insert(0, mpf(0))
    else:
        pts = sorted(p for p in pts if p >= x) + [inf]
    return quad(f, pts)


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
    if x <= a:
        p = _tail_quad(a, x, True)
        return p, 1 - p
    q = _tail_quad(a, x, False)
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
