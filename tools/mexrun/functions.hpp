// Host-side functions mexrun registers, reachable from literals as @name
// (plug-ins call them back through mexCallMATLAB "feval").
#ifndef MEXRUN_FUNCTIONS_HPP
#define MEXRUN_FUNCTIONS_HPP

#include <string>
#include <vector>

namespace mexrun {

struct FunctionInfo {
    const char *name;
    const char *summary;
};

// The functions register_functions() installs, in alphabetical order.
const std::vector<FunctionInfo> &builtin_functions();
void register_functions();

} // namespace mexrun

#endif
