// Test problems for the DIRECT driver. Minima and minimisers were refined to
// full double precision by Newton's method on the gradient in high-precision
// arithmetic (tools/direct/refine_minima.py).
#include "direct_problems.hpp"

#include <cmath>

namespace direct {

namespace {

const double kPi = 3.14159265358979323846;

double branin(const double *x) {
    const double b = 5.1 / (4.0 * kPi * kPi), c = 5.0 / kPi, t = 1.0 / (8.0 * kPi);
    const double u = x[1] - b * x[0] * x[0] + c * x[0] - 6.0;
    return u * u + 10.0 * (1.0 - t) * std::cos(x[0]) + 10.0;
}

double goldstein_price(const double *x) {
    const double x1 = x[0], x2 = x[1];
    const double s = x1 + x2 + 1.0, d = 2.0 * x1 - 3.0 * x2;
    const double a = 1.0 + s * s * (19.0 - 14.0 * x1 + 3.0 * x1 * x1 - 14.0 * x2 + 6.0 * x1 * x2 + 3.0 * x2 * x2);
    const double b = 30.0 + d * d * (18.0 - 32.0 * x1 + 12.0 * x1 * x1 + 48.0 * x2 - 36.0 * x1 * x2 + 27.0 * x2 * x2);
    return a * b;
}

double camel6(const double *x) {
    const double x1 = x[0], x2 = x[1], s1 = x1 * x1, s2 = x2 * x2;
    return (4.0 - 2.1 * s1 + s1 * s1 / 3.0) * s1 + x1 * x2 + (-4.0 + 4.0 * s2) * s2;
}

double shubert(const double *x) {
    double s1 = 0.0, s2 = 0.0;
    for (int i = 1; i <= 5; ++i) {
        s1 += i * std::cos((i + 1) * x[0] + i);
        s2 += i * std::cos((i + 1) * x[1] + i);
    }
    return s1 * s2;
}

const double kHartmanAlpha[4] = {1.0, 1.2, 3.0, 3.2};

template <int N>
double hartman(const double *x, const double (&A)[4][N], const double (&P)[4][N]) {
    double sum = 0.0;
    for (int i = 0; i < 4; ++i) {
        double e = 0.0;
        for (int j = 0; j < N; ++j) {
            const double d = x[j] - P[i][j];
            e += A[i][j] * d * d;
        }
        sum += kHartmanAlpha[i] * std::exp(-e);
    }
    return -sum;
}

const double kH3A[4][3] = {{3.0, 10.0, 30.0}, {0.1, 10.0, 35.0}, {3.0, 10.0, 30.0}, {0.1, 10.0, 35.0}};
const double kH3P[4][3] = {
    {0.3689, 0.1170, 0.2673}, {0.4699, 0.4387, 0.7470}, {0.1091, 0.8732, 0.5547}, {0.03815, 0.5743, 0.8828}};
const double kH6A[4][6] = {{10.0, 3.0, 17.0, 3.5, 1.7, 8.0},
                           {0.05, 10.0, 17.0, 0.1, 8.0, 14.0},
                           {3.0, 3.5, 1.7, 10.0, 17.0, 8.0},
                           {17.0, 8.0, 0.05, 10.0, 0.1, 14.0}};
const double kH6P[4][6] = {{0.1312, 0.1696, 0.5569, 0.0124, 0.8283, 0.5886},
                           {0.2329, 0.4135, 0.8307, 0.3736, 0.1004, 0.9991},
                           {0.2348, 0.1451, 0.3522, 0.2883, 0.3047, 0.6650},
                           {0.4047, 0.8828, 0.8732, 0.5743, 0.1091, 0.0381}};

double hartman3(const double *x) { return hartman(x, kH3A, kH3P); }
double hartman6(const double *x) { return hartman(x, kH6A, kH6P); }

const double kShekelA[10][4] = {{4, 4, 4, 4}, {1, 1, 1, 1}, {8, 8, 8, 8}, {6, 6, 6, 6}, {3, 7, 3, 7},
                                {2, 9, 2, 9}, {5, 5, 3, 3}, {8, 1, 8, 1}, {6, 2, 6, 2}, {7, 3.6, 7, 3.6}};
const double kShekelC[10] = {0.1, 0.2, 0.2, 0.4, 0.4, 0.6, 0.3, 0.7, 0.5, 0.5};

template <int M>
double shekel(const double *x) {
    double sum = 0.0;
    for (int i = 0; i < M; ++i) {
        double e = kShekelC[i];
        for (int j = 0; j < 4; ++j) {
            const double d = x[j] - kShekelA[i][j];
            e += d * d;
        }
        sum += 1.0 / e;
    }
    return -sum;
}

} // namespace

const std::vector<TestProblem> &test_problems() {
    static const std::vector<TestProblem> problems = {
        {"branin", "Branin", {-5.0, 0.0}, {10.0, 15.0}, 0.39788735772973834, {kPi, 2.275}, branin},
        {"goldstein-price", "Goldstein-Price", {-2.0, -2.0}, {2.0, 2.0}, 3.0, {0.0, -1.0}, goldstein_price},
        {"camel6", "Six-hump camel", {-3.0, -2.0}, {3.0, 2.0}, -1.0316284534898774,
         {0.089842013100318062, -0.71265640302073963}, camel6},
        {"shubert", "Shubert", {-10.0, -10.0}, {10.0, 10.0}, -186.73090883102383,
         {-7.0835064076515596, 4.8580568788598255}, shubert},
        {"hartman3", "Hartman 3", {0.0, 0.0, 0.0}, {1.0, 1.0, 1.0}, -3.8627821478207554,
         {0.11461433858967197, 0.55564884997185694, 0.85254695352086579}, hartman3},
        {"hartman6", "Hartman 6", std::vector<double>(6, 0.0), std::vector<double>(6, 1.0), -3.3223680114155148,
         {0.20168951100670542, 0.15001069182345797, 0.47687397422189699, 0.27533243049405607, 0.31165161660011324,
          0.65730053406562031},
         hartman6},
        {"shekel5", "Shekel 5", std::vector<double>(4, 0.0), std::vector<double>(4, 10.0), -10.153199679058227,
         {4.0000371528196762, 4.0001332765915601, 4.0000371528196762, 4.0001332765915601}, shekel<5>},
        {"shekel7", "Shekel 7", std::vector<double>(4, 0.0), std::vector<double>(4, 10.0), -10.402940566818661,
         {4.0005729161858233, 4.0006893661853042, 3.9994897088591506, 3.9996061588586315}, shekel<7>},
        {"shekel10", "Shekel 10", std::vector<double>(4, 0.0), std::vector<double>(4, 10.0), -10.536409816692043,
         {4.0007465315920467, 4.000592934138532, 3.9996633980403223, 3.9995098005868076}, shekel<10>},
    };
    return problems;
}

const TestProblem *find_problem(const std::string &name) {
    for (const auto &p : test_problems())
        if (name == p.name) return &p;
    return nullptr;
}

} // namespace direct
