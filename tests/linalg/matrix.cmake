add_gtest(linalg_matrix_test SOURCES
  trisolve_test.cpp
  rowcolscale_test.cpp
  rowkron_test.cpp
  tensormul_test.cpp
  halfvec_test.cpp
  LIBRARIES halfvec)
target_include_directories(linalg_matrix_test PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
add_dependencies(linalg_matrix_test trisolve rowcolscale rowkron tensormul lowstack lowunstack rowlowstack)

# Restructured kernels against their plain loops, bit for bit.
add_gtest(linalg_kernel_order_test SOURCES kernel_order_test.cpp LIBRARIES matrix_kernels halfvec)
