// Calling a CDF plug-in in the tests: one output, checked to be an m×1
// column, returned as its values.
#ifndef TESTS_DISTRIBUTIONS_CDF_PLUGIN_TEST_UTIL_HPP
#define TESTS_DISTRIBUTIONS_CDF_PLUGIN_TEST_UTIL_HPP

#include "test_util.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

inline std::vector<double> run(const std::string &name, const std::vector<const mxArray *> &in, size_t m_expected) {
    auto r = testutil::call(name, 1, in);
    EXPECT_TRUE(r.ok) << name << ": " << r.error;
    if (!r.ok) return {};
    EXPECT_EQ(mxGetM(r.outputs[0].get()), m_expected);
    EXPECT_EQ(mxGetN(r.outputs[0].get()), 1u);
    return testutil::values(r.outputs[0].get());
}

#endif
