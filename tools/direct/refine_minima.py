#!/usr/bin/python3
"""Global minima of the named test problems of direct-search, refined with
mpmath: Newton's method on the gradient, started from the published
minimisers. Prints the minimiser and the minimum to 17 significant digits;
the constants in optim/direct_problems.cpp come from this output."""
import mpmath as mp

mp.mp.dps = 40
pi = mp.pi


def branin(x1, x2):
    return (x2 - mp.mpf('5.1') / (4 * pi**2) * x1**2 + 5 / pi * x1 - 6)**2 + 10 * (1 - 1 / (8 * pi)) * mp.cos(x1) + 10


def goldstein_price(x1, x2):
    a = 1 + (x1 + x2 + 1)**2 * (19 - 14 * x1 + 3 * x1**2 - 14 * x2 + 6 * x1 * x2 + 3 * x2**2)
    b = 30 + (2 * x1 - 3 * x2)**2 * (18 - 32 * x1 + 12 * x1**2 + 48 * x2 - 36 * x1 * x2 + 27 * x2**2)
    return a * b


def camel6(x1, x2):
    return (4 - mp.mpf('2.1') * x1**2 + x1**4 / 3) * x1**2 + x1 * x2 + (-4 + 4 * x2**2) * x2**2


def shubert(x1, x2):
    s1 = sum(i * mp.cos((i + 1) * x1 + i) for i in range(1, 6))
    s2 = sum(i * mp.cos((i + 1) * x2 + i) for i in range(1, 6))
    return s1 * s2


H3A = [[3, 10, 30], [0.1, 10, 35], [3, 10, 30], [0.1, 10, 35]]
H3P = [[0.3689, 0.1170, 0.2673], [0.4699, 0.4387, 0.7470], [0.1091, 0.8732, 0.5547], [0.03815, 0.5743, 0.8828]]
H6A = [[10, 3, 17, 3.5, 1.7, 8], [0.05, 10, 17, 0.1, 8, 14], [3, 3.5, 1.7, 10, 17, 8], [17, 8, 0.05, 10, 0.1, 14]]
H6P = [[0.1312, 0.1696, 0.5569, 0.0124, 0.8283, 0.5886], [0.2329, 0.4135, 0.8307, 0.3736, 0.1004, 0.9991],
       [0.2348, 0.1451, 0.3522, 0.2883, 0.3047, 0.6650], [0.4047, 0.8828, 0.8732, 0.5743, 0.1091, 0.0381]]
HALPHA = [1.0, 1.2, 3.0, 3.2]


def hartman(A, P):
    def f(*x):
        return -sum(mp.mpf(HALPHA[i]) * mp.exp(-sum(mp.mpf(str(A[i][j])) * (x[j] - mp.mpf(str(P[i][j])))**2
                                                    for j in range(len(x)))) for i in range(4))
    return f


SA = [[4, 4, 4, 4], [1, 1, 1, 1], [8, 8, 8, 8], [6, 6, 6, 6], [3, 7, 3, 7], [2, 9, 2, 9], [5, 5, 3, 3],
      [8, 1, 8, 1], [6, 2, 6, 2], [7, 3.6, 7, 3.6]]
SC = [0.1, 0.2, 0.2, 0.4, 0.4, 0.6, 0.3, 0.7, 0.5, 0.5]


def shekel(m):
    def f(*x):
        return -sum(1 / (sum((x[j] - mp.mpf(str(SA[i][j])))**2 for j in range(4)) + mp.mpf(str(SC[i])))
                    for i in range(m))
    return f


PROBLEMS = [
    ('branin', branin, [mp.pi, mp.mpf('2.275')]),
    ('goldstein-price', goldstein_price, [0, -1]),
    ('camel6', camel6, [0.0898, -0.7126]),
    ('shubert', shubert, [-7.0835, 4.8580]),
    ('hartman3', hartman(H3A, H3P), [0.114614, 0.555649, 0.852547]),
    ('hartman6', hartman(H6A, H6P), [0.20169, 0.150011, 0.476874, 0.275332, 0.311652, 0.6573]),
    ('shekel5', shekel(5), [4.0, 4.0, 4.0, 4.0]),
    ('shekel7', shekel(7), [4.0, 4.0, 4.0, 4.0]),
    ('shekel10', shekel(10), [4.0, 4.0, 4.0, 4.0]),
]

for name, f, x0 in PROBLEMS:
    n = len(x0)
    grad = [lambda *x, k=k: mp.diff(lambda *y: f(*y), x, tuple(1 if j == k else 0 for j in range(n)))
            for k in range(n)]
    x = mp.findroot(grad, [mp.mpf(v) for v in x0]) if n > 1 else [mp.findroot(grad[0], x0[0])]
    x = list(x)
    print(name, ' '.join(mp.nstr(v, 17) for v in x), mp.nstr(f(*x), 17))
