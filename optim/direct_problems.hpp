// Standard global-optimisation test problems (Dixon and Szegő's set and its
// usual companions), each with its search box and known global minimum.
#ifndef OPTIM_DIRECT_PROBLEMS_HPP
#define OPTIM_DIRECT_PROBLEMS_HPP

#include <cstddef>
#include <string>
#include <vector>

namespace direct {

struct TestProblem {
    const char *name;  // short name used on the command line
    const char *title; // display name
    std::vector<double> lower, upper;
    double minimum;               // global minimum value
    std::vector<double> minimiser; // one global minimiser
    double (*f)(const double *x);
    size_t dimensions() const { return lower.size(); }
};

const std::vector<TestProblem> &test_problems();
// The problem of that name, or null.
const TestProblem *find_problem(const std::string &name);

} // namespace direct

#endif
