# Batched solvers and products: the dense solver shared by batchsolve,
# batchsolvebox and batchminmax, the smoothing transform and the batched
# matrix product.
add_kernel_library(linalg_backslash backslash.cpp batch_solve.cpp)
target_include_directories(linalg_backslash PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})

add_kernel_library(linalg_fischer_burmeister fischer_burmeister.cpp)
target_include_directories(linalg_fischer_burmeister PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})

add_kernel_library(linalg_batch_matmul batch_matmul.cpp)
target_include_directories(linalg_batch_matmul PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})

add_mex_plugin(batchsolve SOURCES batchsolve_mex.cpp LIBRARIES linalg_backslash)
add_mex_plugin(batchsolvebox SOURCES batchsolvebox_mex.cpp LIBRARIES linalg_backslash)
add_mex_plugin(batchminmax SOURCES batchminmax_mex.cpp LIBRARIES linalg_backslash)
add_mex_plugin(batchsmooth SOURCES batchsmooth_mex.cpp LIBRARIES linalg_fischer_burmeister)
add_mex_plugin(batchmatmul SOURCES batchmatmul_mex.cpp LIBRARIES linalg_batch_matmul)
