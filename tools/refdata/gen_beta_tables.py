#!/usr/bin/env python3
"""Reference values for the beta side of the distribution library.

Writes, under tests/data/:
  beta_incbeta.txt   a b x y I_x(a,b) 1-I_x(a,b)     points for every method
                                                        of the incomplete beta
                                                        ratio and its edge cases
  beta_central.txt   kind x p1 p2 lower-tail           accuracy grid of the four
                                                        central plug-ins
                                                        (kind 0 beta, 1 negative
                                                        binomial, 2 F, 3 t)
  beta_noncentral.txt f dfn dfd pnonc lower-tail       noncentral F grid

Everything is computed with mpmath from the double inputs taken exactly.
I_x(a, b) comes from its continued fraction evaluated at 50 digits on the
side of the mean where it converges (x < (a+1)/(a+b+2)), the other tail as
the same fraction in (b, a, y); both tails are therefore computed directly.
The noncentral F is its Poisson mixture of incomplete beta ratios, summed at
40 digits from the central term outward with the exact one-term recurrences,
until the Poisson weights fall below 1e-45.

Run with /usr/bin/python3 (Debian's python3-mpmath); takes a few minutes.
"""
import math
import os
import sys

from mpmath import mp, mpf, loggamma, log, exp, sqrt

OUT = os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', '..', 'tests', 'data')


def _cf(a, b, x, y):
    """I_x(a, b) by the continued fraction (modified Lentz), x < (a+1)/(a+b+2)."""
    if x == 0:
        return mpf(0)
    tiny = mpf(10) ** -400
    eps = mpf(10) ** (-mp.dps + 5)
    lnpre = a * log(x) + b * log(y) + loggamma(a + b) - loggamma(a) - loggamma(b) - log(a)
    f = tiny
    c = f
    d = mpf(0)
    n = 0
    while True:
        if n == 0:
            num = mpf(1)
        elif n % 2:
            m = (n - 1) // 2
            num = -(a + m) * (a + b + m) * x / ((a + 2 * m) * (a + 2 * m + 1))
        else:
            m = n // 2
            num = m * (b - m) * x / ((a + 2 * m - 1) * (a + 2 * m))
        d = 1 + num * d
        if d == 0:
            d = tiny
        c = 1 + num / c
        if c == 0:
            c = tiny
        d = 1 / d
        delta = c * d
        f *= delta
        n += 1
        if n > 2 and abs(delta - 1) < eps:
            break
        if n > 10 ** 7:
            raise RuntimeError('continued fraction did not converge for %r' % ((a, b, x),))
    return exp(lnpre) * f


def ibeta(a, b, x, y=None):
    """(I_x(a, b), 1 - I_x(a, b)) for mp values, y = 1 - x exactly unless given."""
    a, b, x = mpf(a), mpf(b), mpf(x)
    y = 1 - x if y is None else mpf(y)
    if x <= 0:
        return mpf(0), mpf(1)
    if y <= 0:
        return mpf(1), mpf(0)
    if x < (a + 1) / (a + b + 2):
        lo = _cf(a, b, x, y)
        return lo, 1 - lo
    up = _cf(b, a, y, x)
    return 1 - up, up


def fmt(v):
    v = float(v)
    if v != 0 and abs(v) < 2.2250738585072014e-308:
        v = 0.0  # subnormal references are not compared
    return '%.17g' % v


# ---------------------------------------------------------------- incbeta
def incbeta_cases():
    cases = [
        # small_b, small_a series
        (2, 1e-20, 0.2), (1e-20, 2, 0.2), (3, 1e-17, 0.4), (1e-17, 0.5, 0.45),
        # power series on both sides
        (2, 3, 0.1), (0.5, 0.5, 0.3), (0.3, 0.7, 0.05), (0.5, 5, 0.4), (5, 0.5, 0.6), (0.05, 0.9, 0.4),
        (0.2, 30, 0.001), (1, 1, 0.37), (1, 1, 0.8),
        # large-a expansion, directly and after a shift by 20
        (1e6, 0.5, 0.99999), (0.5, 1e6, 1e-5), (0.5, 300, 0.02), (0.5, 5, 0.2), (0.01, 0.5, 0.2),
        (0.7, 12, 0.15), (0.5, 0.5, 0.001), (0.5, 40, 0.03),
        # shift sums
        (2, 3, 0.4), (30, 5, 0.75), (10, 2, 0.75), (3.5, 25.5, 0.1), (20, 1.0, 0.97), (12, 7, 0.6),
        (2, 39.5, 0.05), (60, 3, 0.99),
        # continued fraction and asymptotic expansion
        (50, 60, 0.3), (50, 60, 0.5), (50, 60, 0.7), (1000, 50, 0.9), (200, 150, 200 / 350),
        (200, 150, 0.56), (1e5, 1e5, 0.5), (1e5, 2e5, 1 / 3 + 1e-4), (3e4, 1e4, 0.7501),
        (1e10, 1e10, 0.5), (1e10, 3e10, 0.2499999),
        # tiny parameters
        (1e-19, 1e-19, 0.3), (1e-19, 1e-19, 0.9), (1e-10, 1e-10, 0.5), (1e-10, 1, 1e-100),
        (1e-12, 1e-3, 0.7),
        # extreme points
        (2.5, 3.5, 1e-300), (2.5, 3.5, 1 - 2 ** -52), (0.5, 0.5, 1e-300), (1e6, 1e6, 0.4),
        (5, 1e6, 1e-6), (1e6, 5, 1 - 1e-6),
    ]
    # A spread of random points, with both tails above 1e-300.
    import random
    rnd = random.Random(20240611)
    for _ in range(240):
        a = 10 ** rnd.uniform(-8, 6)
        b = 10 ** rnd.uniform(-8, 6)
        if rnd.random() < 0.5:
            x = 10 ** rnd.uniform(-12, math.log10(0.5))
        else:
            x = 1 - 10 ** rnd.uniform(-12, math.log10(0.5))
        cases.append((a, b, x))
    return cases


def write_incbeta():
    mp.dps = 50
    rows = []
    for a, b, x in incbeta_cases():
        y = 1.0 - x if x < 0.5 else float(mpf(1) - mpf(x))
        lo, up = ibeta(a, b, x, mpf(1) - mpf(x))
        if min(lo, up) < mpf('1e-300') and (a, b, x) != (2.5, 3.5, 1e-300) and (a, b, x) != (0.5, 0.5, 1e-300):
            continue
        rows.append((a, b, x, y, lo, up))
    with open(os.path.join(OUT, 'beta_incbeta.txt'), 'w') as f:
        f.write('# a b x y I_x(a,b) 1-I_x(a,b)   (mpmath continued fraction, 50 digits;\n')
        f.write('# generated by tools/refdata/gen_beta_tables.py). y is the double 1 - x;\n')
        f.write('# the references are taken at the exact x and 1 - x.\n')
        for r in rows:
            f.write(' '.join('%.17g' % v for v in r[:4]) + ' ' + fmt(r[4]) + ' ' + fmt(r[5]) + '\n')
    print('beta_incbeta.txt', len(rows), 'rows')


# ---------------------------------------------------------------- central grid
SHAPES = [1e-10, 1e-3, 0.5, 1, 3.5, 40, 1e3, 1e6, 1e10]
BETA_X = [1e-300, 1e-100, 1e-20, 1e-8, 1e-3, 0.1, 0.3, 0.5, 0.7, 0.9, 1 - 1e-3, 1 - 1e-8, 1 - 2 ** -40]
SIGMAS = [-40, -10, -3, -1, 0, 1, 3, 10, 40]


def beta_points(a, b):
    xs = set(BETA_X)
    mean = a / (a + b)
    sd = math.sqrt(a * b / ((a + b) ** 2 * (a + b + 1)))
    for k in SIGMAS:
        x = mean + k * sd
        if 0 < x < 1:
            xs.add(x)
    return sorted(xs)


def central_rows():
    rows = []
    # beta: lower tail at x with y = 1 - x as the double the plug-in forms
    for a in SHAPES:
        for b in SHAPES:
            for x in beta_points(a, b):
                lo, _ = ibeta(a, b, x)
                rows.append((0, x, a, b, lo))
    # negative binomial: I_pr(xn, s + 1)
    for xn in [1e-10, 0.5, 3, 100, 1e6, 1e10]:
        for pr in [1e-10, 0.01, 0.5, 0.99, 1 - 1e-10]:
            mean = xn * (1 - pr) / pr
            ss = {0.0, 1.0, 5.0, 0.5, 50.0, 1e3, 1e6, 1e10}
            for k in (0.5, 1, 2, 10):
                ss.add(float(math.floor(mean * k)))
            for s in sorted(ss):
                if s > 1e15:
                    continue
                lo, _ = ibeta(xn, mpf(s) + 1, pr, mpf(1) - mpf(pr))
                rows.append((1, s, xn, pr, lo))
    # F: P(F <= f) = I_x(dfn/2, dfd/2), x = dfn f / (dfd + dfn f)
    dfs = [1e-10, 1e-3, 1, 5, 100, 1e5, 1e10]
    fs = [1e-300, 1e-100, 1e-20, 1e-5, 0.01, 0.5, 0.9, 1, 1.1, 2, 10, 1e3, 1e10, 1e50, 1e200]
    for dfn in dfs:
        for dfd in dfs:
            for fv in fs:
                num = mpf(dfn) * mpf(fv)
                x = num / (mpf(dfd) + num)
                lo, _ = ibeta(mpf(dfn) / 2, mpf(dfd) / 2, x, mpf(dfd) / (mpf(dfd) + num))
                rows.append((2, fv, dfn, dfd, lo))
    # t: P(T <= t) = 0.5 I_x(df/2, 1/2) for t <= 0, x = df / (df + t^2)
    ts = [1e-300, 1e-10, 1e-3, 0.1, 0.5, 1, 2, 5, 10, 100, 1e5, 1e10, 1e50, 1e150]
    for df in [1e-10, 1e-3, 0.5, 1, 3, 30, 1e4, 1e8, 1e10, 1e15]:
        for tv in ts:
            for sgn in (-1, 1):
                t = sgn * tv
                tt = mpf(t) ** 2
                x = mpf(df) / (mpf(df) + tt)
                two_sided, _ = ibeta(mpf(df) / 2, mpf('0.5'), x, tt / (mpf(df) + tt))
                lo = two_sided / 2 if t <= 0 else 1 - two_sided / 2
                rows.append((3, t, df, 0, lo))
    return rows


def write_central():
    mp.dps = 50
    rows = central_rows()
    with open(os.path.join(OUT, 'beta_central.txt'), 'w') as f:
        f.write('# kind x p1 p2 lower-tail   kind 0 beta_lower(x,p1,p2), 1 negbinomial_lower(x,p1,p2),\n')
        f.write('# 2 fisherf_lower(x,p1,p2), 3 studentt_lower(x,p1). mpmath continued fraction at\n')
        f.write('# 50 digits; generated by tools/refdata/gen_beta_tables.py. References below the\n')
        f.write('# smallest normal double are written as 0.\n')
        for r in rows:
            f.write('%d %.17g %.17g %.17g %s\n' % (r[0], r[1], r[2], r[3], fmt(r[4])))
    print('beta_central.txt', len(rows), 'rows')


# ---------------------------------------------------------------- noncentral F
def ncf_lower(fv, dfn, dfd, pnonc):
    """P(F <= f) for the noncentral F as its Poisson mixture."""
    fv, dfn, dfd, pnonc = mpf(fv), mpf(dfn), mpf(dfd), mpf(pnonc)
    num = dfn * fv
    x = num / (dfd + num)
    y = dfd / (dfd + num)
    lam = pnonc / 2
    b = dfd / 2
    jc = int(lam)
    a = dfn / 2 + jc
    ic, _ = ibeta(a, b, x, y)
    w0 = exp(-lam + jc * log(lam) - loggamma(jc + 1))
    # d(a) = I_x(a, b) - I_x(a + 1, b)
    d0 = exp(a * log(x) + b * log(y) + loggamma(a + b) - loggamma(a + 1) - loggamma(b))
    cut = mpf(10) ** -45
    total = w0 * ic
    # backward: I(a - 1) = I(a) + d(a - 1), d(a - 1) = d(a) a / ((a + b - 1) x)
    w, i_cur, d, aj, j = w0, ic, d0, a, jc
    while j > 0:
        d = d * aj / ((aj + b - 1) * x)
        aj -= 1
        i_cur = i_cur + d
        w = w * j / lam
        j -= 1
        total += w * i_cur
        if w < cut and j < lam:
            break
    # forward: I(a + 1) = I(a) - d(a), d(a + 1) = d(a) (a + b) x / (a + 1)
    w, i_cur, d, aj, j = w0, ic, d0, a, jc
    while True:
        i_cur = i_cur - d
        d = d * (aj + b) * x / (aj + 1)
        aj += 1
        j += 1
        w = w * lam / j
        total += w * i_cur
        if (w < cut or i_cur <= 0) and j > lam:
            break
    return total


def ncf_points(dfn, dfd, pnonc):
    mean = (dfn + pnonc) / dfn * (dfd / (dfd - 2) if dfd > 2 else 1.0)
    rsd = math.sqrt(2 * (dfn + 2 * pnonc)) / (dfn + pnonc) + math.sqrt(2 / dfd)
    fs = {mean * 1e-10, mean * 1e-3, 1e50}
    for k in (-6, -3, -1.5, -0.5, 0, 0.5, 1.5, 3, 6, 12):
        v = mean * (1 + k * rsd) if k >= 0 else mean * math.exp(k * rsd)
        fs.add(v)
    return sorted(fs)


def noncentral_rows():
    rows = []
    for dfn in [1e-3, 1, 10, 1e3]:
        for dfd in [1, 10, 1e4]:
            for pnonc in [1e-3, 1, 30, 1e3, 1e4, 1e6]:
                for fv in ncf_points(dfn, dfd, pnonc):
                    rows.append((fv, dfn, dfd, pnonc))
    rows += [
        (0.1, 0.001, 10, 10),     # the central term is tiny, the j = 0 term holds the mass
        (2, 3, 10, 4), (3, 4, 12, 30),
        (1e50, 3, 10, 100), (1e45, 5, 7, 100), (1e30, 2, 20, 100),
        (1e-20, 1e-3, 10, 60), (1e-8, 0.01, 5, 20),
    ]
    return rows


def write_noncentral():
    mp.dps = 40
    out = []
    for r in noncentral_rows():
        out.append(r + (ncf_lower(*r),))
    with open(os.path.join(OUT, 'beta_noncentral.txt'), 'w') as f:
        f.write('# f dfn dfd pnonc lower-tail   noncentral F as the Poisson mixture of incomplete\n')
        f.write('# beta ratios, mpmath at 40 digits; generated by tools/refdata/gen_beta_tables.py.\n')
        for r in out:
            f.write('%.17g %.17g %.17g %.17g %s\n' % (r[0], r[1], r[2], r[3], fmt(r[4])))
    print('beta_noncentral.txt', len(out), 'rows')


if __name__ == '__main__':
    which = sys.argv[1:] or ['incbeta', 'central', 'noncentral']
    if 'incbeta' in which:
        write_incbeta()
    if 'central' in which:
        write_central()
    if 'noncentral' in which:
        write_noncentral()
