// Internal layout of host arrays and of the per-call bookkeeping.
#ifndef MEXHOST_ARRAY_HPP
#define MEXHOST_ARRAY_HPP

#include "mexhost.hpp"

#include <memory>
#include <string>
#include <vector>

struct CallContext;

struct mxArray_tag {
    mxClassID cls = mxDOUBLE_CLASS;
    std::vector<mwSize> dims{0, 0}; // always at least two entries
    bool complex = false;
    bool sparse = false;
    void *re = nullptr; // numeric/char data, or sparse stored values
    void *im = nullptr; // separate imaginary part when complex
    mwIndex *ir = nullptr; // sparse row indices (nzmax entries)
    mwIndex *jc = nullptr; // sparse column starts (columns + 1 entries)
    mwSize nzmax = 0;
    std::vector<mxArray *> cells; // cell elements, owned (null = empty 0x0 double)
    std::string fname;            // function handle: name or display text
    std::shared_ptr<mexhost::HostFunction> fn; // function handle: bound callable

    // Ownership: arrays created during a plug-in call are linked into that
    // call's list until stored as an output (then released to the caller),
    // put in a cell (then owned by the cell) or destroyed.
    CallContext *ctx = nullptr;
    mxArray_tag *prev = nullptr;
    mxArray_tag *next = nullptr;
};

namespace mexhost {
namespace detail {

size_t class_size(mxClassID cls);
size_t numel_of(const mxArray *a);
// Make `a` owned by nobody in particular (the host program).
void release_from_call(mxArray *a);
// Put a caller-owned array under the current call's management.
void adopt_into_call(mxArray *a);
CallContext *current_context();
void link_array(mxArray *a);
void destroy_all(CallContext *ctx);
[[noreturn]] void raise(const std::string &msg);

} // namespace detail
} // namespace mexhost

#endif
