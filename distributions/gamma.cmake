# Gamma side of the distribution library and its four CDF plug-ins.

# Scalar foundations and the gateway frame, shared with the beta side.
add_kernel_library(distfoundation numeric_foundations.cpp)
target_include_directories(distfoundation PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
add_kernel_library(cdfgateway cdf_gateway.cpp)
target_include_directories(cdfgateway PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
target_link_libraries(cdfgateway PUBLIC mexhost)

# Incomplete gamma ratio, the gamma-family tails and the noncentral chi-square.
add_kernel_library(distgamma incomplete_gamma.cpp gamma_family.cpp noncentral_chi2.cpp)
target_include_directories(distgamma PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
target_link_libraries(distgamma PUBLIC distfoundation)

foreach(plugin gamma_lower chisquare_lower poisson_lower noncentralchi2_lower)
  add_mex_plugin(${plugin} SOURCES ${plugin}_mex.cpp LIBRARIES cdfgateway distgamma)
endforeach()
