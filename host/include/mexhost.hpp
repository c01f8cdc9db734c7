// C++ interface of the embedded host, for programs and tests: load plug-ins,
// call them with input arrays, collect outputs, warnings, printed text or the
// error, and register host-side functions that plug-ins may call back.
#ifndef MEXHOST_MEXHOST_HPP
#define MEXHOST_MEXHOST_HPP

#include "mex.h"

#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace mexhost {

// Error raised by mexErrMsgTxt and by host operations that cannot proceed.
// Inside a plug-in call it abandons the call; the call reports its message.
class Error : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct ArrayDeleter {
    void operator()(mxArray *a) const { mxDestroyArray(a); }
};
// An array owned by the host program (created outside any plug-in call).
using ArrayPtr = std::unique_ptr<mxArray, ArrayDeleter>;

// A host-side function: fills plhs[0..max(nlhs,1)-1]; raises errors with
// mexErrMsgTxt or by throwing mexhost::Error.
using HostFunction =
    std::function<void(int nlhs, mxArray *plhs[], int nrhs, const mxArray *prhs[])>;

struct CallResult {
    bool ok = false;
    std::string error;                 // message when !ok
    std::vector<ArrayPtr> outputs;     // max(nargout, 1) entries when ok (first may be null if nargout == 0)
    std::vector<std::string> warnings; // mexWarnMsgTxt texts, in order
    std::string printed;               // everything written with mexPrintf
};

// Directory searched for "<name>.mexa64". Defaults to the build's plug-in
// directory, or $MEXHOST_PLUGIN_DIR if set.
void set_plugin_dir(const std::string &dir);
std::string plugin_dir();
// Plug-in names found in the plug-in directory, sorted.
std::vector<std::string> list_plugins();

// Call plug-in `name`. Never throws for errors raised by the plug-in; they
// come back in CallResult::error.
CallResult call(const std::string &name, int nargout, const std::vector<const mxArray *> &inputs);
// Same, with arrays the caller owns.
CallResult call(const std::string &name, int nargout, const std::vector<ArrayPtr> &inputs);

// Functions a plug-in may reach through mexCallMATLAB(..., "feval"): by a
// function handle naming them, or by a char array holding the name.
void register_function(const std::string &name, HostFunction f);
void unregister_function(const std::string &name);
bool has_function(const std::string &name);

// Array construction helpers (arrays owned by the caller).
ArrayPtr make_double(size_t m, size_t n, const std::vector<double> &re = {},
                     const std::vector<double> &im = {});
ArrayPtr make_array(const std::vector<size_t> &dims, mxClassID cls, bool complex = false);
ArrayPtr make_scalar(double v);
ArrayPtr make_string(const std::string &s);
// A function handle bound to a registered name, or to an anonymous callable.
ArrayPtr make_function_handle(const std::string &name);
ArrayPtr make_function_handle(HostFunction f, const std::string &display = "@<anonymous>");
// Name stored in a function handle.
std::string function_handle_name(const mxArray *a);
// A sparse double matrix from its compressed-column parts.
ArrayPtr make_sparse(size_t m, size_t n, const std::vector<size_t> &ir,
                     const std::vector<size_t> &jc, const std::vector<double> &re,
                     const std::vector<double> &im = {});
// A cell array of the given shape taking ownership of its elements.
ArrayPtr make_cell(size_t m, size_t n, std::vector<ArrayPtr> elems);

// Largest single array or scratch block the host allocates; larger requests
// are errors ("Requested array exceeds the maximum possible size."). The
// default, 512 GiB, only guards against wrapped sizes; harnesses set less.
void set_allocation_limit(size_t bytes);
size_t allocation_limit();

// Number of arrays and scratch blocks currently alive (for leak tests).
size_t live_array_count();
size_t live_block_count();

} // namespace mexhost

#endif
