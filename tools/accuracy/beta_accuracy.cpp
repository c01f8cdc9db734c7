// beta_accuracy: prints, as Markdown tables, the maximum and median relative
// error of beta_lower, negbinomial_lower, fisherf_lower, studentt_lower and
// noncentralf_lower against the mpmath reference grids, region by region,
// and the noncentral F grid once more with the per-term stopping rule the
// remainder bound replaced.
// Usage: beta_accuracy [data_dir [plugin_dir]]
#include "beta_accuracy_grid.hpp"

#include "noncentral_f.hpp"

#include <cstdio>

namespace {

void print_table(const char *plugin, const std::vector<beta_accuracy::Stats> &stats, int nparams) {
    std::printf("\n#### %s\n\n| region | points | max rel. error | median rel. error | worst at (x; parameters) |\n",
                plugin);
    std::printf("|---|---:|---:|---:|---|\n");
    for (const auto &s : stats) {
        std::printf("| %s | %zu | %.2e | %.2e | %.6g;", s.region.c_str(), s.n, s.max, s.median, s.worst.x);
        for (int k = 0; k < nparams; ++k) std::printf(" %.6g", s.worst.params[k]);
        std::printf(" |\n");
    }
}

void print_noncentral_before_after(const std::vector<beta_accuracy::Row> &rows) {
    std::vector<beta_accuracy::Row> before = rows;
    for (auto &r : before) {
        double cum, ccum;
        dist::noncentral_f_tails_with(dist::NoncentralFStopping::latest_term, &r.x, &r.params[0], &r.params[1],
                                      &r.params[2], &cum, &ccum);
        r.got = cum;
    }
    const auto now = beta_accuracy::noncentral_stats(rows), was = beta_accuracy::noncentral_stats(before);
    std::printf("\n#### noncentralf_lower: per-term stopping rule (before) against the remainder bound (now)\n\n");
    std::printf("| region | points | max rel. error before | median before | max rel. error now | median now |\n");
    std::printf("|---|---:|---:|---:|---:|---:|\n");
    for (std::size_t i = 0; i < now.size(); ++i)
        std::printf("| %s | %zu | %.2e | %.2e | %.2e | %.2e |\n", now[i].region.c_str(), now[i].n, was[i].max,
                    was[i].median, now[i].max, now[i].median);
}

} // namespace

int main(int argc, char **argv) {
    const std::string data = argc > 1 ? argv[1] : BETA_ACCURACY_DATA_DIR;
    mexhost::set_plugin_dir(argc > 2 ? argv[2] : MEX_PLUGIN_DIR);
    try {
        const int nparams[] = {2, 2, 2, 1};
        for (int kind = 0; kind < 4; ++kind) {
            auto rows = beta_accuracy::load_central(data, kind);
            beta_accuracy::evaluate(beta_accuracy::plugin_name(kind), nparams[kind], rows);
            print_table(beta_accuracy::plugin_name(kind), beta_accuracy::central_stats(rows), nparams[kind]);
        }
        auto rows = beta_accuracy::load_noncentral(data);
        beta_accuracy::evaluate("noncentralf_lower", 3, rows);
        print_table("noncentralf_lower (values >= 1e-15)", beta_accuracy::noncentral_stats(rows), 3);
        print_noncentral_before_after(rows);
    } catch (const std::exception &e) {
        std::fprintf(stderr, "beta_accuracy: %s\n", e.what());
        return 1;
    }
    return 0;
}
