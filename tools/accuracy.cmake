# Accuracy commands: each prints its section of docs/accuracy.md from the
# committed reference grids, calling the plug-ins through the host.

# Accuracy of the four plug-ins against the reference grids (docs/accuracy.md).
add_executable(gamma_accuracy ${CMAKE_SOURCE_DIR}/tools/accuracy/gamma_accuracy.cpp)
target_include_directories(gamma_accuracy PRIVATE ${CMAKE_SOURCE_DIR}/tools/accuracy)
target_link_libraries(gamma_accuracy PRIVATE mexhost distgamma)
target_compile_definitions(gamma_accuracy PRIVATE
  GAMMA_ACCURACY_DATA_DIR="${CMAKE_SOURCE_DIR}/tests/data" MEX_PLUGIN_DIR="${MEX_PLUGIN_DIR}")
add_dependencies(gamma_accuracy gamma_lower chisquare_lower poisson_lower noncentralchi2_lower)

# Accuracy of the five plug-ins against the reference grids (docs/accuracy.md).
add_executable(beta_accuracy ${CMAKE_SOURCE_DIR}/tools/accuracy/beta_accuracy.cpp)
target_include_directories(beta_accuracy PRIVATE ${CMAKE_SOURCE_DIR}/tools/accuracy)
target_link_libraries(beta_accuracy PRIVATE mexhost distbeta)
target_compile_definitions(beta_accuracy PRIVATE
  BETA_ACCURACY_DATA_DIR="${CMAKE_SOURCE_DIR}/tests/data" MEX_PLUGIN_DIR="${MEX_PLUGIN_DIR}")
add_dependencies(beta_accuracy beta_lower negbinomial_lower fisherf_lower studentt_lower noncentralf_lower)
