// Per-call bookkeeping: scratch blocks, temporary arrays, errors, warnings
// and console output. Everything a plug-in allocates during a call is linked
// into that call's context so the host can release it when the call ends,
// whether it returns or is abandoned by an error.
#include "context.hpp"

#include <atomic>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>

namespace {

constexpr uint64_t kBlockMagic = 0x6d78426c6f636b21ULL; // "mxBlock!"
static_assert(sizeof(BlockHeader) % 16 == 0, "payload must stay 16-byte aligned");

thread_local std::vector<CallContext *> t_stack;
std::atomic<size_t> g_live_blocks{0};

void link_block(BlockHeader *h) {
    CallContext *ctx = t_stack.empty() ? nullptr : t_stack.back();
    h->ctx = ctx;
    h->prev = nullptr;
    h->next = nullptr;
    if (!ctx) return;
    h->next = ctx->blocks;
    if (ctx->blocks) ctx->blocks->prev = h;
    ctx->blocks = h;
}

void unlink_block(BlockHeader *h) {
    if (!h->ctx) return;
    if (h->prev) h->prev->next = h->next;
    else h->ctx->blocks = h->next;
    if (h->next) h->next->prev = h->prev;
    h->ctx = nullptr;
    h->prev = h->next = nullptr;
}

BlockHeader *header_of(void *p) {
    BlockHeader *h = reinterpret_cast<BlockHeader *>(static_cast<char *>(p) - sizeof(BlockHeader));
    return h->magic == kBlockMagic ? h : nullptr;
}

std::string vformat(const char *fmt, va_list ap) {
    va_list ap2;
    va_copy(ap2, ap);
    int n = std::vsnprintf(nullptr, 0, fmt, ap2);
    va_end(ap2);
    if (n < 0) return std::string();
    std::string s(size_t(n) + 1, '\0');
    std::vsnprintf(&s[0], s.size(), fmt, ap);
    s.resize(size_t(n));
    return s;
}

} // namespace

namespace mexhost {
namespace detail {

[[noreturn]] void raise(const std::string &msg) { throw Error(msg); }

CallContext *current_context() { return t_stack.empty() ? nullptr : t_stack.back(); }
void push_context(CallContext *ctx) { t_stack.push_back(ctx); }
void pop_context() { t_stack.pop_back(); }

void link_array(mxArray *a) {
    CallContext *ctx = current_context();
    a->ctx = ctx;
    a->prev = nullptr;
    a->next = nullptr;
    if (!ctx) return;
    a->next = ctx->arrays;
    if (ctx->arrays) ctx->arrays->prev = a;
    ctx->arrays = a;
}

void release_from_call(mxArray *a) {
    CallContext *ctx = a->ctx;
    if (!ctx) return;
    if (a->prev) a->prev->next = a->next;
    else ctx->arrays = a->next;
    if (a->next) a->next->prev = a->prev;
    a->ctx = nullptr;
    a->prev = a->next = nullptr;
}

void adopt_into_call(mxArray *a) {
    if (a->ctx) return;
    link_array(a);
}

void destroy_all(CallContext *ctx) {
    while (ctx->arrays) mxDestroyArray(ctx->arrays); // unlinks itself
}

void free_blocks(CallContext *ctx) {
    while (ctx->blocks) {
        BlockHeader *h = ctx->blocks;
        unlink_block(h);
        h->magic = 0;
        std::free(h);
        --g_live_blocks;
    }
}

} // namespace detail

size_t live_block_count() { return g_live_blocks.load(); }

} // namespace mexhost

using mexhost::detail::raise;

extern "C" {

void *mxCalloc(size_t n, size_t size) {
    size_t bytes;
    if (__builtin_mul_overflow(n, size, &bytes) || bytes > mexhost::allocation_limit())
        raise("Requested array exceeds the maximum possible size.");
    void *raw = std::calloc(1, sizeof(BlockHeader) + bytes);
    if (!raw) raise("Out of memory. The requested array is too large.");
    BlockHeader *h = static_cast<BlockHeader *>(raw);
    h->magic = kBlockMagic;
    h->size = bytes;
    link_block(h);
    ++g_live_blocks;
    return static_cast<char *>(raw) + sizeof(BlockHeader);
}

void *mxMalloc(size_t n) { return mxCalloc(n, 1); }

void *mxRealloc(void *p, size_t n) {
    if (!p) return mxMalloc(n);
    BlockHeader *h = header_of(p);
    if (!h) raise("mxRealloc: not a block from mxCalloc or mxMalloc.");
    void *q = mxMalloc(n);
    std::memcpy(q, p, h->size < n ? h->size : n);
    mxFree(p);
    return q;
}

void mxFree(void *p) {
    if (!p) return;
    BlockHeader *h = header_of(p);
    if (!h) return; // not ours: ignore rather than corrupt the heap
    unlink_block(h);
    h->magic = 0;
    std::free(h);
    --g_live_blocks;
}

void mexErrMsgTxt(const char *msg) { throw mexhost::Error(msg ? msg : ""); }
void mxErrMsgTxt(const char *msg) { throw mexhost::Error(msg ? msg : ""); }

void mexErrMsgIdAndTxt(const char *, const char *fmt, ...) {
    va_list ap;
    va_start(ap, fmt);
    std::string s = vformat(fmt, ap);
    va_end(ap);
    throw mexhost::Error(s);
}

void mexWarnMsgTxt(const char *msg) {
    CallContext *ctx = mexhost::detail::current_context();
    if (ctx) ctx->warnings.emplace_back(msg ? msg : "");
    else std::cerr << "Warning: " << (msg ? msg : "") << "\n";
}

int mexPrintf(const char *fmt, ...) {
    va_list ap;
    va_start(ap, fmt);
    std::string s = vformat(fmt, ap);
    va_end(ap);
    CallContext *ctx = mexhost::detail::current_context();
    if (ctx) ctx->printed += s;
    else std::fwrite(s.data(), 1, s.size(), stdout);
    return int(s.size());
}

} // extern "C"
