// Plug-in loading and calling, the feval callback and the host-side
// function registry.
#include "context.hpp"

#include <dirent.h>
#include <dlfcn.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <map>
#include <mutex>

#ifndef MEXHOST_DEFAULT_PLUGIN_DIR
#define MEXHOST_DEFAULT_PLUGIN_DIR "build/mex"
#endif

using mexhost::detail::raise;

namespace {

using EntryPoint = void (*)(int, mxArray *[], int, const mxArray *[]);

std::mutex g_mutex;
std::string g_plugin_dir;
std::map<std::string, EntryPoint> g_loaded; // key: full path
std::map<std::string, std::shared_ptr<mexhost::HostFunction>> g_functions;

const char *kSuffix = ".mexa64";

bool valid_name(const std::string &name) {
    if (name.empty() || !(std::isalpha(static_cast<unsigned char>(name[0])))) return false;
    return std::all_of(name.begin(), name.end(),
                       [](char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; });
}

EntryPoint resolve(const std::string &name) {
    std::string dir = mexhost::plugin_dir();
    if (!valid_name(name)) raise("Undefined function '" + name + "': not a valid plug-in name.");
    std::string path = dir + "/" + name + kSuffix;
    std::lock_guard<std::mutex> lock(g_mutex);
    auto it = g_loaded.find(path);
    if (it != g_loaded.end()) return it->second;
    void *h = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!h) {
        FILE *f = std::fopen(path.c_str(), "rb");
        if (!f) raise("Undefined function '" + name + "': no plug-in " + name + kSuffix + " in " + dir + ".");
        std::fclose(f);
        const char *why = dlerror();
        raise("Cannot load plug-in '" + name + "': " + (why ? why : "unknown loader error"));
    }
    void *sym = dlsym(h, "mexFunction");
    if (!sym) raise("Plug-in '" + name + "' does not export mexFunction.");
    EntryPoint fn = reinterpret_cast<EntryPoint>(sym);
    g_loaded[path] = fn; // kept loaded for the life of the process
    return fn;
}

std::shared_ptr<mexhost::HostFunction> find_function(const std::string &name) {
    std::lock_guard<std::mutex> lock(g_mutex);
    auto it = g_functions.find(name);
    return it == g_functions.end() ? nullptr : it->second;
}

std::string char_to_string(const mxArray *a) {
    std::string s;
    size_t n = mxGetNumberOfElements(a);
    const mxChar *d = static_cast<const mxChar *>(mxGetData(a));
    for (size_t i = 0; i < n; ++i) s.push_back(static_cast<char>(d[i]));
    return s;
}

// Runs `body` as one call with its own context; on return the context's
// remaining arrays and blocks are released.
struct ScopedCall {
    CallContext ctx;
    ScopedCall() { mexhost::detail::push_context(&ctx); }
    ~ScopedCall() {
        mexhost::detail::pop_context();
        mexhost::detail::destroy_all(&ctx);
        mexhost::detail::free_blocks(&ctx);
    }
};

} // namespace

namespace mexhost {

void set_plugin_dir(const std::string &dir) {
    std::lock_guard<std::mutex> lock(g_mutex);
    g_plugin_dir = dir;
}

std::string plugin_dir() {
    std::lock_guard<std::mutex> lock(g_mutex);
    if (!g_plugin_dir.empty()) return g_plugin_dir;
    const char *env = std::getenv("MEXHOST_PLUGIN_DIR");
    return env && *env ? env : MEXHOST_DEFAULT_PLUGIN_DIR;
}

std::vector<std::string> list_plugins() {
    std::vector<std::string> names;
    std::string dir = plugin_dir();
    DIR *d = opendir(dir.c_str());
    if (!d) return names;
    size_t sl = std::strlen(kSuffix);
    while (dirent *e = readdir(d)) {
        std::string f = e->d_name;
        if (f.size() > sl && f.compare(f.size() - sl, sl, kSuffix) == 0) names.push_back(f.substr(0, f.size() - sl));
    }
    closedir(d);
    std::sort(names.begin(), names.end());
    return names;
}

CallResult call(const std::string &name, int nargout, const std::vector<const mxArray *> &inputs) {
    CallResult r;
    if (nargout < 0) {
        r.error = "Number of requested outputs must not be negative.";
        return r;
    }
    EntryPoint fn;
    try {
        fn = resolve(name);
    } catch (const Error &e) {
        r.error = e.what();
        return r;
    }
    size_t nslots = size_t(std::max(nargout, 1));
    std::vector<mxArray *> plhs(nslots, nullptr);
    std::vector<const mxArray *> prhs(inputs);
    {
        ScopedCall call;
        try {
            fn(nargout, plhs.data(), int(prhs.size()), prhs.data());
            for (int i = 0; i < nargout; ++i)
                if (!plhs[size_t(i)])
                    raise("Output argument " + std::to_string(i + 1) + " was not assigned by plug-in '" + name + "'.");
            // Hand the outputs to the caller; an output the plug-in did not
            // create in this call (an input passed back) is copied.
            for (size_t i = 0; i < nslots; ++i) {
                mxArray *o = plhs[i];
                if (!o) continue;
                if (o->ctx == &call.ctx) {
                    detail::release_from_call(o);
                } else {
                    mexhost::detail::push_context(nullptr);
                    o = mxDuplicateArray(o);
                    mexhost::detail::pop_context();
                }
                r.outputs.emplace_back(o);
            }
            r.ok = true;
        } catch (const Error &e) {
            r.error = e.what();
        } catch (const std::bad_alloc &) {
            r.error = "Out of memory.";
        } catch (const std::exception &e) {
            r.error = e.what();
        }
        if (!r.ok) r.outputs.clear(); // anything already stored is freed with the call
        r.warnings = std::move(call.ctx.warnings);
        r.printed = std::move(call.ctx.printed);
    }
    if (r.ok) {
        // Keep one slot per requested output; nargout == 0 keeps the first.
        while (r.outputs.size() < nslots) r.outputs.emplace_back(nullptr);
    }
    return r;
}

CallResult call(const std::string &name, int nargout, const std::vector<ArrayPtr> &inputs) {
    std::vector<const mxArray *> in;
    for (const auto &a : inputs) in.push_back(a.get());
    return call(name, nargout, in);
}

void register_function(const std::string &name, HostFunction f) {
    std::lock_guard<std::mutex> lock(g_mutex);
    g_functions[name] = std::make_shared<HostFunction>(std::move(f));
}

void unregister_function(const std::string &name) {
    std::lock_guard<std::mutex> lock(g_mutex);
    g_functions.erase(name);
}

bool has_function(const std::string &name) { return find_function(name) != nullptr; }

ArrayPtr make_double(size_t m, size_t n, const std::vector<double> &re, const std::vector<double> &im) {
    ArrayPtr a(mxCreateDoubleMatrix(m, n, im.empty() ? mxREAL : mxCOMPLEX));
    size_t count = m * n;
    if (!re.empty() && re.size() != count) raise("make_double: wrong number of real values.");
    if (!im.empty() && im.size() != count) raise("make_double: wrong number of imaginary values.");
    std::copy(re.begin(), re.end(), mxGetPr(a.get()));
    if (!im.empty()) std::copy(im.begin(), im.end(), mxGetPi(a.get()));
    return a;
}

ArrayPtr make_array(const std::vector<size_t> &dims, mxClassID cls, bool complex) {
    if (cls == mxCELL_CLASS) return ArrayPtr(mxCreateCellArray(dims.size(), dims.data()));
    if (cls == mxCHAR_CLASS) return ArrayPtr(mxCreateCharArray(dims.size(), dims.data()));
    return ArrayPtr(mxCreateNumericArray(dims.size(), dims.data(), cls, complex ? mxCOMPLEX : mxREAL));
}

ArrayPtr make_scalar(double v) { return ArrayPtr(mxCreateDoubleScalar(v)); }

ArrayPtr make_string(const std::string &s) { return ArrayPtr(mxCreateString(s.c_str())); }

ArrayPtr make_function_handle(const std::string &name) {
    mxArray *a = mxCreateCellMatrix(1, 1); // allocated through the normal path
    a->cells.clear();
    a->cls = mxFUNCTION_CLASS;
    a->dims = {1, 1};
    a->fname = name;
    return ArrayPtr(a);
}

ArrayPtr make_function_handle(HostFunction f, const std::string &display) {
    ArrayPtr a = make_function_handle(display);
    a->fn = std::make_shared<HostFunction>(std::move(f));
    return a;
}

std::string function_handle_name(const mxArray *a) {
    return a && a->cls == mxFUNCTION_CLASS ? a->fname : std::string();
}

ArrayPtr make_sparse(size_t m, size_t n, const std::vector<size_t> &ir, const std::vector<size_t> &jc,
                     const std::vector<double> &re, const std::vector<double> &im) {
    if (jc.size() != n + 1 || jc[0] != 0 || ir.size() != jc[n] || re.size() != jc[n] ||
        (!im.empty() && im.size() != jc[n]))
        raise("make_sparse: inconsistent compressed-column parts.");
    for (size_t j = 0; j < n; ++j) {
        if (jc[j + 1] < jc[j]) raise("make_sparse: column starts must not decrease.");
        for (size_t k = jc[j]; k < jc[j + 1]; ++k)
            if (ir[k] >= m || (k > jc[j] && ir[k] <= ir[k - 1]))
                raise("make_sparse: row indices must be increasing and below the row count.");
    }
    ArrayPtr a(mxCreateSparse(m, n, re.size(), im.empty() ? mxREAL : mxCOMPLEX));
    std::copy(re.begin(), re.end(), mxGetPr(a.get()));
    if (!im.empty()) std::copy(im.begin(), im.end(), mxGetPi(a.get()));
    std::copy(ir.begin(), ir.end(), mxGetIr(a.get()));
    std::copy(jc.begin(), jc.end(), mxGetJc(a.get()));
    return a;
}

ArrayPtr make_cell(size_t m, size_t n, std::vector<ArrayPtr> elems) {
    if (elems.size() != m * n) raise("make_cell: wrong number of elements.");
    ArrayPtr c(mxCreateCellMatrix(m, n));
    for (size_t i = 0; i < elems.size(); ++i) mxSetCell(c.get(), i, elems[i].release());
    return c;
}

} // namespace mexhost

extern "C" int mexCallMATLAB(int nlhs, mxArray *plhs[], int nrhs, mxArray *prhs[], const char *name) {
    if (!name || std::strcmp(name, "feval") != 0)
        raise(std::string("mexCallMATLAB: only \"feval\" is available in this host, not \"") + (name ? name : "") +
              "\".");
    if (nrhs < 1 || !prhs || !prhs[0]) raise("feval: no function given.");
    if (nlhs < 0) raise("feval: negative output count.");
    const mxArray *f = prhs[0];
    std::shared_ptr<mexhost::HostFunction> fn;
    std::string fname;
    if (f->cls == mxFUNCTION_CLASS) {
        fn = f->fn;
        fname = f->fname;
        if (!fn) fn = find_function(fname);
    } else if (f->cls == mxCHAR_CLASS) {
        fname = char_to_string(f);
        fn = find_function(fname);
    } else {
        raise("feval: the first argument must be a function handle or a function name.");
    }
    if (!fn) raise("Undefined function '" + fname + "'.");
    size_t nslots = size_t(std::max(nlhs, 1));
    std::vector<mxArray *> out(nslots, nullptr);
    std::vector<const mxArray *> args(prhs + 1, prhs + nrhs);
    (*fn)(nlhs, out.data(), nrhs - 1, args.data());
    for (int i = 0; i < nlhs; ++i)
        if (!out[size_t(i)]) {
            for (mxArray *o : out)
                if (o && o->ctx == mexhost::detail::current_context()) mxDestroyArray(o);
            raise("Function '" + fname + "' did not return output " + std::to_string(i + 1) + ".");
        }
    for (size_t i = 0; i < size_t(std::max(nlhs, 0)); ++i) {
        mxArray *o = out[i];
        // An argument handed straight back is copied so the plug-in owns it.
        if (std::find(args.begin(), args.end(), o) != args.end()) o = mxDuplicateArray(o);
        else mexhost::detail::adopt_into_call(o);
        plhs[i] = o;
    }
    if (nlhs == 0 && out[0]) mxDestroyArray(out[0]);
    return 0;
}
