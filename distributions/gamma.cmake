# Gamma side of the distribution library and its four CDF plug-ins.

# Scalar foundations and the gateway frame, shared with the beta side.
add_kernel_library(distfoundation numeric_foundations.cpp)
target_include_directories(distfoundation PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
add_kernel_library(cdfgateway cdf_gateway.cpp)
target_include_directories(cdfgateway PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
target_link_libraries(cdfgateway PUBLIC mexhost)
