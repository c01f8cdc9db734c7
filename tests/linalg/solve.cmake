# Tests of the batched solvers, the smoothing transform and batched products.
add_gtest(solve_backslash_test SOURCES solve_backslash_test.cpp LIBRARIES linalg_backslash)
add_dependencies(solve_backslash_test batchsolve)

add_gtest(solve_box_test SOURCES solve_box_test.cpp LIBRARIES linalg_backslash)
add_dependencies(solve_box_test batchsolvebox batchminmax)

add_gtest(batchsmooth_test SOURCES batchsmooth_test.cpp)
add_dependencies(batchsmooth_test batchsmooth)

add_gtest(batchmatmul_test SOURCES batchmatmul_test.cpp LIBRARIES linalg_batch_matmul)
add_dependencies(batchmatmul_test batchmatmul)
