# Beta side of the distribution library and its five CDF plug-ins.

# Log-gamma and log-beta functions, the incomplete beta ratio with its
# methods, the beta-family tails and the noncentral F sum. The F limits for
# infinite degrees of freedom use the chi-square tails of the gamma side.
add_kernel_library(distbeta
  log_gamma.cpp beta_prefactor.cpp incbeta_series.cpp incbeta_expansions.cpp incbeta_ratio.cpp
  beta_family.cpp noncentral_f.cpp)
target_include_directories(distbeta PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
target_link_libraries(distbeta PUBLIC distfoundation distgamma)

foreach(plugin beta_lower negbinomial_lower fisherf_lower studentt_lower noncentralf_lower)
  add_mex_plugin(${plugin} SOURCES ${plugin}_mex.cpp LIBRARIES cdfgateway distbeta)
endforeach()

# Accuracy of the five plug-ins against the reference grids (docs/accuracy.md).
add_executable(beta_accuracy ${CMAKE_SOURCE_DIR}/tools/accuracy/beta_accuracy.cpp)
target_include_directories(beta_accuracy PRIVATE ${CMAKE_SOURCE_DIR}/tools/accuracy)
target_link_libraries(beta_accuracy PRIVATE mexhost distbeta)
target_compile_definitions(beta_accuracy PRIVATE
  BETA_ACCURACY_DATA_DIR="${CMAKE_SOURCE_DIR}/tests/data" MEX_PLUGIN_DIR="${MEX_PLUGIN_DIR}")
add_dependencies(beta_accuracy beta_lower negbinomial_lower fisherf_lower studentt_lower noncentralf_lower)
