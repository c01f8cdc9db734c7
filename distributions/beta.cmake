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
