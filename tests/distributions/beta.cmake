# Tests of the beta side of the distribution library and its plug-ins.
add_gtest(beta_library_test
  SOURCES incbeta_test.cpp beta_family_test.cpp noncentral_f_test.cpp
  LIBRARIES distbeta)

add_gtest(beta_plugins_test SOURCES beta_plugins_test.cpp LIBRARIES distbeta)
target_include_directories(beta_plugins_test PRIVATE ${CMAKE_SOURCE_DIR}/tools/accuracy)
add_dependencies(beta_plugins_test beta_lower negbinomial_lower fisherf_lower studentt_lower noncentralf_lower)
