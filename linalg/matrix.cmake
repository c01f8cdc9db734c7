# Matrix utilities: solves with given triangular factors, products with a
# diagonal matrix, row-wise Kronecker and tensor-basis products, and the
# half-vectorisation plug-ins.

# The stacking routine, shared by lowstack and rowlowstack.
add_kernel_library(halfvec lowstack.cpp)
target_include_directories(halfvec PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})

add_kernel_library(matrix_kernels
  trisolve_kernels.cpp
  rowcolscale_kernels.cpp
  rowkron_kernels.cpp
  lowunstack.cpp
  rowlowstack_kernels.cpp)
target_include_directories(matrix_kernels PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})

add_mex_plugin(trisolve SOURCES trisolve_mex.cpp LIBRARIES matrix_kernels)
add_mex_plugin(rowcolscale SOURCES rowcolscale_mex.cpp LIBRARIES matrix_kernels)
add_mex_plugin(rowkron SOURCES rowkron_mex.cpp LIBRARIES matrix_kernels)
add_mex_plugin(tensormul SOURCES tensormul_mex.cpp LIBRARIES matrix_kernels)
add_mex_plugin(lowstack SOURCES lowstack_mex.cpp LIBRARIES halfvec)
add_mex_plugin(lowunstack SOURCES lowunstack_mex.cpp LIBRARIES matrix_kernels)
add_mex_plugin(rowlowstack SOURCES rowlowstack_mex.cpp LIBRARIES matrix_kernels halfvec)
