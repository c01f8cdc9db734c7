# Tests of the gamma side of the distribution library and its plug-ins.
add_gtest(gamma_library_test
  SOURCES gamma_foundations_test.cpp incgamma_test.cpp gamma_family_test.cpp noncentral_chi2_test.cpp
  LIBRARIES distgamma)

add_gtest(gamma_plugins_test SOURCES gamma_plugins_test.cpp LIBRARIES distgamma)
target_include_directories(gamma_plugins_test PRIVATE ${CMAKE_SOURCE_DIR}/tools/accuracy)
add_dependencies(gamma_plugins_test gamma_lower chisquare_lower poisson_lower noncentralchi2_lower)
