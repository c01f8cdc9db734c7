// Per-call state of the embedded host: scratch blocks, arrays created during
// the call, warnings and printed text.
#ifndef MEXHOST_CONTEXT_HPP
#define MEXHOST_CONTEXT_HPP

#include "array.hpp"

#include <string>
#include <vector>

struct BlockHeader {
    BlockHeader *prev;
    BlockHeader *next;
    CallContext *ctx;
    uint64_t magic;
    size_t size;
    size_t pad; // keeps the payload 16-byte aligned (header is 48 bytes)
};

struct CallContext {
    BlockHeader *blocks = nullptr;
    mxArray *arrays = nullptr;
    std::vector<std::string> warnings;
    std::string printed;
};

namespace mexhost {
namespace detail {
void push_context(CallContext *ctx);
void pop_context();
void free_blocks(CallContext *ctx);
} // namespace detail
} // namespace mexhost

#endif
