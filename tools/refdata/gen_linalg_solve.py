#!/usr/bin/env python3
"""Reference tables for the batched dense solver and the smoothing transform.

tests/data/linalg_solve_backslash.txt, one system per line:
    kind n k cond warn  A (n*n, column-major)  B (n*k)  X_ieee (n*k)  X_exact (n*k)
  kind: 0 well conditioned, 1 ill conditioned, 2 badly scaled rows,
        3 singular or degenerate, 4 tie in a pivot column,
        5 pivot choice decided by the equilibration.
  X_ieee is the solution the algorithm gives in IEEE double arithmetic
  (row equilibration by the NaN-ignoring row maximum, partial pivoting on
  the equilibrated values with the lowest row winning ties, no test of the
  last pivot), computed here with Python floats, which are IEEE doubles
  rounded after every operation. warn is 1 when the algorithm reports the
  matrix singular (X_ieee is then +Inf).
  X_exact is the exact solution of the double-valued system, computed in
  rational arithmetic and rounded once to double (nan when the system is
  singular or not finite), and cond its Skeel condition number || |A^-1| |A| ||_inf
  (inf when singular).
  For kinds 4 and 5 the generator checks that choosing the last of tied
  rows, or pivoting on the raw entries, would change X_ieee.

tests/data/linalg_solve_smooth.txt, one point per line:
    x a b f phi dphi_f dphi_b
  phi = U(b - x, L(a - x, f)) with L(p, q) = p + q + sqrt(p^2 + q^2) and
  U(p, q) = p + q - sqrt(p^2 + q^2), an infinite bound skipping its stage;
  dphi_f = d phi/d f and dphi_b = d phi/d(a - x) + d phi/d(b - x). The bound
  differences are the doubles a - x and b - x (rounded as in double
  arithmetic); everything after them is computed with mpmath at 50 digits.
"""
import math
import os
import random
from fractions import Fraction

from mpmath import mp, mpf, sqrt as msqrt

mp.dps = 50
INF = float('inf')
NAN = float('nan')
OUT = os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', '..', 'tests', 'data')


def div(a, b):
    """IEEE double division, including division by zero."""
    if b == 0.0:
        if a == 0.0 or math.isnan(a):
            return NAN
        return math.copysign(INF, a) * math.copysign(1.0, b)
    return a / b


def emulate(A, B, n, k, tie_last=False, raw_pivots=False):
    """The solver in IEEE doubles. A is n*n column-major, B n*k column-major.
    Returns (X, singular). tie_last and raw_pivots switch to faulty pivot
    rules, used only to show that a case depends on the rule."""
    W = list(A)
    X = list(B)
    scale = [1.0] * n
    for r in range(n):
        s = 0.0
        for c in range(n):
            a = abs(W[r + n * c])
            if a > s:
                s = a
        scale[r] = s
        for c in range(n):
            W[r + n * c] = div(W[r + n * c], s)
        for q in range(k):
            X[r + n * q] = div(X[r + n * q], s)
    for j in range(n - 1):
        p, best = j, 0.0
        for r in range(j, n):
            a = abs(W[r + n * j])
            if raw_pivots:
                a = abs(W[r + n * j] * scale[r])
            if a > best or (tie_last and a == best and a > 0.0):
                best, p = a, r
        if best == 0.0:
            return [INF] * (n * k), True
        if p != j:
            for c in range(n):
                W[j + n * c], W[p + n * c] = W[p + n * c], W[j + n * c]
            for q in range(k):
                X[j + n * q], X[p + n * q] = X[p + n * q], X[j + n * q]
            scale[j], scale[p] = scale[p], scale[j]
        d = W[j + n * j]
        for r in range(j + 1, n):
            g = div(W[r + n * j], d)
            for c in range(j + 1, n):
                W[r + n * c] = W[r + n * c] - g * W[j + n * c]
            for q in range(k):
                X[r + n * q] = X[r + n * q] - g * X[j + n * q]
    for r in range(n - 1, -1, -1):
        for q in range(k):
            t = X[r + n * q]
            for c in range(r + 1, n):
                t = t - W[r + n * c] * X[c + n * q]
            X[r + n * q] = div(t, W[r + n * r])
    return X, False


def exact(A, B, n, k):
    """Exact solution (rounded to double) and infinity-norm condition number
    of the double-valued system, by Gauss-Jordan elimination in rational
    arithmetic (every double is a rational); None when singular or not
    finite."""
    if any(not math.isfinite(v) for v in A + B):
        return None
    M = [[Fraction(A[r + n * c]) for c in range(n)] +
         [Fraction(B[r + n * q]) for q in range(k)] +
         [Fraction(int(r == c)) for c in range(n)] for r in range(n)]
    for j in range(n):
        p = next((r for r in range(j, n) if M[r][j] != 0), None)
        if p is None:
            return None
        M[j], M[p] = M[p], M[j]
        inv = 1 / M[j][j]
        M[j] = [v * inv for v in M[j]]
        for r in range(n):
            if r != j and M[r][j] != 0:
                g = M[r][j]
                M[r] = [a - g * b for a, b in zip(M[r], M[j])]
    X = [float(M[r][n + q]) for q in range(k) for r in range(n)]
    # Skeel's condition number || |A^-1| |A| ||_inf: unchanged by scaling the
    # rows, so it measures what row-equilibrated elimination faces.
    absA = [[abs(Fraction(A[r + n * c])) for c in range(n)] for r in range(n)]
    cond = max(sum(abs(M[r][n + k + t]) * absA[t][c] for t in range(n) for c in range(n)) for r in range(n))
    return X, float(cond)


def from_rows(rows):
    """Column-major list from a list of rows."""
    n = len(rows)
    return [float(rows[r][c]) for c in range(n) for r in range(n)]


def systems():
    rnd = random.Random(20240607)
    out = []

    def add(kind, rows, B, k=1):
        out.append((kind, len(rows), k, from_rows(rows), [float(v) for v in B]))

    # Well conditioned: random entries, several right-hand sides.
    for n in range(1, 9):
        for rep in range(3):
            k = 1 + rep % 3
            rows = [[rnd.uniform(-1, 1) for _ in range(n)] for _ in range(n)]
            for r in range(n):
                rows[r][r] += 2.0 * (1 if rnd.random() < 0.5 else -1)
            add(0, rows, [rnd.uniform(-10, 10) for _ in range(n * k)], k)
    for n in range(2, 9):
        rows = [[rnd.uniform(-1, 1) for _ in range(n)] for _ in range(n)]
        add(0, rows, [rnd.uniform(-1, 1) for _ in range(n)])
    # Ill conditioned: Hilbert matrices and nearly dependent rows.
    for n in range(3, 9):
        rows = [[1.0 / (r + c + 1) for c in range(n)] for r in range(n)]
        add(1, rows, [1.0] * n)
    for n in (2, 3, 4, 6):
        for eps in (1e-6, 1e-10):
            base = [rnd.uniform(-1, 1) for _ in range(n)]
            rows = [[rnd.uniform(-1, 1) for _ in range(n)] for _ in range(n - 1)]
            rows.append([base[c] * (1 + eps * rnd.uniform(-1, 1)) for c in range(n)])
            rows[0] = list(base)
            rnd.shuffle(rows)
            add(1, rows, [rnd.uniform(-1, 1) for _ in range(n)])
    # Well conditioned after equilibration, rows of wildly different size.
    for n in (2, 3, 5):
        for big in (1e150, 1e-150, 1e300):
            rows = [[rnd.uniform(-1, 1) + (2.0 if r == c else 0.0) for c in range(n)] for r in range(n)]
            for r in range(n):
                f = big ** (r / (n - 1)) if r % 2 else 1.0 / big ** (r / (n - 1))
                rows[r] = [v * f for v in rows[r]]
            add(2, rows, [rnd.uniform(-1, 1) * (big if r % 2 else 1.0) for r in range(n)])
    # Singular and degenerate systems.
    add(3, [[0.0]], [1.0])                                   # n = 1, zero: NaN, no test
    add(3, [[1, 1], [1, 1]], [1, 2])                         # last pivot zero: -Inf, +Inf
    add(3, [[1, 2, 3], [2, 4, 7], [1, 2, 5]], [1, 1, 1])     # second pivot column zero
    add(3, [[0, 1, 2], [0, 3, 4], [0, 5, 7]], [1, 2, 3])     # zero first column
    add(3, [[1, 2, 3], [4, 5, 6], [7, 8, 9]], [1, 2, 3])     # rank 2: last pivot tiny
    add(3, [[1, 2, 3], [2, 4, 6], [0, 0, 0]], [1, 2, 3])     # zero row
    add(3, [[NAN, 1], [NAN, 2]], [1, 1])                     # NaN column: no candidate
    add(3, [[NAN, 1], [2, 1]], [1, 1])                       # NaN never wins the pivot
    add(3, [[1, NAN], [0, 1]], [1, 1])                       # NaN ignored by the row maximum
    add(3, [[INF, 1], [1, 1]], [1, 1])                       # infinite entry
    add(3, [[1, 0, 1], [0, 1, 1], [1, 1, 2]], [1, 1, 3])     # last pivot exactly zero
    add(3, [[1, -1], [-1, 1]], [1, 0])                       # tie, then zero last pivot
    # Ties in a pivot column, where taking a later row changes the result.
    ties = 0
    while ties < 6:
        n = rnd.choice((2, 3, 4))
        rows = [[float(rnd.randint(-9, 9)) for _ in range(n)] for _ in range(n)]
        mx = max(abs(v) for row in rows for v in row)
        if mx == 0:
            continue
        B = [float(rnd.randint(-9, 9)) for _ in range(n)]
        A = from_rows(rows)
        X, sing = emulate(A, B, n, 1)
        if sing or any(not math.isfinite(v) for v in X):
            continue
        X2, _ = emulate(A, B, n, 1, tie_last=True)
        if all(a == b for a, b in zip(X, X2)):
            continue
        add(4, rows, B)
        ties += 1
    # Pivots decided by the equilibration: raw partial pivoting picks another
    # row. The first case is classic: raw pivoting on it loses x1 entirely.
    add(5, [[1, 1e20], [1, 1]], [1e20, 2])
    eq = 0
    while eq < 6:
        n = rnd.choice((2, 3, 4))
        rows = [[rnd.uniform(-1, 1) for _ in range(n)] for _ in range(n)]
        for r in range(n):
            f = 10.0 ** rnd.randint(-3, 3)
            rows[r] = [v * f for v in rows[r]]
        B = [rnd.uniform(-1, 1) for _ in range(n)]
        A = from_rows(rows)
        X, sing = emulate(A, B, n, 1)
        X2, _ = emulate(A, B, n, 1, raw_pivots=True)
        if sing or all(a == b for a, b in zip(X, X2)):
            continue
        add(5, rows, B)
        eq += 1
    return out


def fmt(v):
    if math.isnan(v):
        return 'nan'
    if math.isinf(v):
        return 'inf' if v > 0 else '-inf'
    return '%.17g' % v


def write_backslash():
    path = os.path.join(OUT, 'linalg_solve_backslash.txt')
    with open(path, 'w') as f:
        f.write('# kind n k cond warn A(n*n, column-major) B(n*k) X_ieee(n*k) X_exact(n*k)\n')
        f.write('# generated by tools/refdata/gen_linalg_solve.py\n')
        for kind, n, k, A, B in systems():
            X, sing = emulate(A, B, n, k)
            if kind == 4:
                assert X != emulate(A, B, n, k, tie_last=True)[0]
            if kind == 5:
                assert X != emulate(A, B, n, k, raw_pivots=True)[0]
            ex = exact(A, B, n, k)
            if ex is None:
                Xe, cond = [NAN] * (n * k), INF
            else:
                Xe, cond = ex
            vals = [kind, n, k, cond, 1 if sing else 0] + A + B + X + Xe
            f.write(' '.join(fmt(float(v)) for v in vals) + '\n')


def smooth_reference(x, a, b, f):
    F = mpf(f)

    def lpair(p, q):
        h = msqrt(p * p + q * q)
        return p + q + h, 1 + q / h, 1 + p / h

    def upair(p, q):
        h = msqrt(p * p + q * q)
        return p + q - h, 1 - q / h, 1 - p / h

    if math.isinf(a):
        phi1, l_q, l_p = F, mpf(1), mpf(0)
    else:
        phi1, l_q, l_p = lpair(mpf(a - x), F)
    if math.isinf(b):
        phi, u_q, u_p = phi1, mpf(1), mpf(0)
    else:
        phi, u_q, u_p = upair(mpf(b - x), phi1)
    return float(phi), float(u_q * l_q), float(u_q * l_p + u_p)


def smooth_points():
    rnd = random.Random(7)
    pts = []
    for _ in range(120):
        a = rnd.uniform(-2, 0)
        b = rnd.uniform(0.5, 3)
        x = rnd.uniform(a - 0.5, b + 0.5)
        f = rnd.uniform(-3, 3) * 10.0 ** rnd.randint(-6, 6)
        pts.append((x, a, b, f))
    # Near-complementarity: x at or next to a bound with f of either sign,
    # interior x with f near 0, large and small magnitudes.
    for (x, a, b, f) in [(0.0, 0.0, 1.0, -1.0), (0.0, 0.0, 1.0, 1e-9), (1.0, 0.0, 1.0, 2.0),
                         (1.0, 0.0, 1.0, -1e-9), (0.5, 0.0, 1.0, 1e-12), (0.5, 0.0, 1.0, -1e-12),
                         (1e-9, 0.0, 1.0, 3.0), (1 - 1e-9, 0.0, 1.0, -3.0), (0.5, 0.0, 1.0, 1e8),
                         (0.5, 0.0, 1.0, -1e8), (1e8, -1e8, 1e9, 0.25), (0.0, -1e-8, 1e-8, 1e-8),
                         (3.0, 0.0, INF, -2.0), (3.0, -INF, 1.0, 2.0), (-3.0, -INF, INF, 0.7),
                         (0.25, INF, 2.0, 0.1), (0.25, 0.0, -INF, 0.1), (2.0, 0.0, 1.0, 0.0),
                         (-1.0, 0.0, 1.0, 0.0), (0.5, 0.0, 1.0, 0.0)]:
        pts.append((x, a, b, f))
    return pts


def write_smooth():
    path = os.path.join(OUT, 'linalg_solve_smooth.txt')
    with open(path, 'w') as fo:
        fo.write('# x a b f phi dphi_f dphi_b   (mpmath, 50 digits; tools/refdata/gen_linalg_solve.py)\n')
        for (x, a, b, f) in smooth_points():
            vals = [x, a, b, f] + list(smooth_reference(x, a, b, f))
            fo.write(' '.join(fmt(v) for v in vals) + '\n')


if __name__ == '__main__':
    write_backslash()
    write_smooth()
