#!/usr/bin/env python3
"""Turns Google Benchmark JSON results into docs/performance.md.

Usage: bench_report.py RESULTS_DIR MEXRUN [NOTES_MD]

Benchmarks named BM_ours_<case> are paired with BM_peer_<case> (and
BM_peerdefault_<case>, a peer with its default settings, and BM_alt_<case>,
a second peer) from the same
binary's run; the table shows the median time per item of each and the ratio
ours/peer (below 1 means we are faster). Other benchmarks are listed with
their median time, time per item and bandwidth, as a fraction of the triad
(BM_triad) measured by the same binary. Rates come from the CPU time of the
benchmarking process, which on a shared machine leaves out the time other
processes held the core. A table of targets follows, each marked met or not
with the measured figure; NOTES_MD (hand-written explanations) is appended.
"""
import json
import os
import platform
import re
import subprocess
import sys
import time


def medians(path):
    with open(path) as f:
        data = json.load(f)
    out = {}
    for b in data.get('benchmarks', []):
        if b.get('aggregate_name') != 'median':
            continue
        if b.get('error_occurred'):
            continue
        name = b['run_name']
        item_rate = b.get('items_per_second')
        byte_rate = b.get('bytes_per_second')
        per_item = 1e9 / item_rate if item_rate else None
        out[name] = {'time': b['cpu_time'], 'unit': b['time_unit'], 'per_item_ns': per_item,
                     'bytes_per_second': byte_rate}
    return data.get('context', {}), out


def split(name):
    base = name.split('/')[0]
    rest = name[len(base):]
    for role in ('peerdefault', 'peer', 'alt', 'ours'):
        prefix = 'BM_%s_' % role
        if base.startswith(prefix):
            return role, base[len(prefix):] + rest
    return None, name


def fmt_ns(v):
    if v is None:
        return '-'
    if v >= 1e6:
        return '%.3g ms' % (v / 1e6)
    if v >= 1e3:
        return '%.3g µs' % (v / 1e3)
    return '%.3g ns' % v


def mexrun_start(mexrun, runs=30):
    if not os.path.exists(mexrun):
        return None
    times = []
    for _ in range(runs):
        t0 = time.perf_counter()
        subprocess.run([mexrun, 'gausscum', '0'], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        times.append(time.perf_counter() - t0)
    times.sort()
    return times[len(times) // 2]


def cpu_model():
    try:
        with open('/proc/cpuinfo') as f:
            for line in f:
                if line.startswith('model name'):
                    return line.split(':', 1)[1].strip()
    except OSError:
        pass
    return platform.processor() or 'unknown'


# Targets: (title, kind, pattern, threshold).
#   ratio: every paired case matching pattern has ours/peer <= threshold;
#   triad: every plain benchmark matching pattern reaches threshold of the triad;
#   ns: every plain benchmark matching pattern costs at most threshold ns per item.
TARGETS = [
    ('CDF plug-ins: time per element at most Boost.Math (double kept)', 'ratio', r'^\w+_lower/', 1.0),
    ('gausscum, gaussquant, digamma: at most Boost.Math (double kept)', 'ratio', r'^(gausscum|gaussquant|digamma)/', 1.0),
    ('batchmatmul: at least 70% of the triad bandwidth', 'triad', r'^BM_batchmatmul', 0.70),
    ('batchsolve and Newton steps, n = 2 to 4: 3 times below Eigen PartialPivLU', 'ratio',
     r'^(batchsolve|batchsolvebox|batchminmax)_system/n[234]_', 1 / 3),
    ('batchsolve and Newton steps, n = 8: 2 times below Eigen PartialPivLU', 'ratio',
     r'^(batchsolve|batchsolvebox|batchminmax)_system/n8_', 1 / 2),
    ('lookup, sorted values: 3 times faster than std::upper_bound', 'ratio', r'^lookup_value/.*_sorted', 1 / 3),
    ('lookup, random values: at least as fast as std::upper_bound', 'ratio', r'^lookup_value/.*_random', 1.0),
    ('kerndens 1e4 x 1e4: 4 times faster than the plain double loop', 'ratio', r'^kerndens_pair/', 1 / 4),
    ('rowkron full, rowcolscale, lowstack: at least 70% of the triad bandwidth', 'triad',
     r'^BM_(rowkron_full/[0-9]{7}|rowcolscale|lowstack)', 0.70),
    ('tensormul, 3 factors of 10 columns, m = 1e4: 5 times faster than forming the basis', 'ratio',
     r'^tensormul_', 1 / 5),
    ('boxpart: below 0.5 µs per evaluation beyond the objective', 'ns', r'^BM_boxpart_per_evaluation', 500.0),
    ('host: one-element in-process gausscum call under 1 µs', 'ns', r'^BM_host_call', 1000.0),
]


def main():
    folder, mexrun = sys.argv[1], sys.argv[2]
    notes = sys.argv[3] if len(sys.argv) > 3 else None
    files = sorted(f for f in os.listdir(folder) if f.endswith('.json'))
    results = []
    loads = []
    for fname in files:
        ctx, res = medians(os.path.join(folder, fname))
        results.append((fname[len('bench_'):-len('.json')], ctx, res))
        if ctx.get('load_avg'):
            loads.append(ctx['load_avg'][0])
    host_triad = None
    for _, _, res in results:
        for name, r in res.items():
            if name.startswith('BM_triad') and r['bytes_per_second']:
                host_triad = host_triad or r['bytes_per_second']

    print('# Performance\n')
    print('Produced by `./bench.sh` (Google Benchmark). Every figure is the median of repeated runs; ours and')
    print('the peer are measured by the same program in the same run on the same inputs. Ratio = our time /')
    print('peer time: below 1 means faster than the peer.\n')
    ctx = results[0][1] if results else {}
    print('Machine: %s, %s cores seen, %s MHz; compiler flags of the Release build (`-O3`, generic x86-64,'
          % (cpu_model(), ctx.get('num_cpus', '?'), ctx.get('mhz_per_cpu', '?')))
    print('`-ffp-contract=off`). The machine is shared: load averages while the benchmarks ran were %s on 2 cores,'
          % (', '.join('%.1f' % l for l in loads) or 'unknown'))
    print('so times are taken from the CPU time of the benchmarking process (time on the core, not wall time)')
    print('and only ratios and fractions measured in the same run are compared. Bandwidth counts the bytes read')
    print('plus the bytes written once (no write-allocate), as the triad a[i] = b[i] + s·c[i] does.\n')

    paired = {}   # case -> ratio
    plain = {}    # name -> (record, triad)
    for section, _, res in results:
        triad = None
        for name, r in res.items():
            if name.startswith('BM_triad') and r['bytes_per_second']:
                triad = r['bytes_per_second']
        triad = triad or host_triad
        print('## %s\n' % section)
        cases, rest = {}, []
        for name, r in res.items():
            role, case = split(name)
            if role is None:
                rest.append((name, r))
            else:
                cases.setdefault(case, {})[role] = r
        if cases:
            has_default = any('peerdefault' in c for c in cases.values())
            has_alt = any('alt' in c for c in cases.values())
            head = '| case | ours / item | peer / item | ratio |'
            if has_default:
                head += ' peer (default policy) / item | ratio |'
            if has_alt:
                head += ' second peer / item | ratio |'
            print(head)
            print('|---' * (head.count('|') - 1) + '|')
            for case in sorted(cases):
                c = cases[case]
                o = c.get('ours', {}).get('per_item_ns')
                p = c.get('peer', {}).get('per_item_ns')
                ratio = '%.2f' % (o / p) if o and p else '-'
                if o and p:
                    paired[case] = o / p
                row = '| %s | %s | %s | %s |' % (case, fmt_ns(o), fmt_ns(p), ratio)
                for role, shown in (('peerdefault', has_default), ('alt', has_alt)):
                    if shown:
                        d = c.get(role, {}).get('per_item_ns')
                        row += ' %s | %s |' % (fmt_ns(d), '%.2f' % (o / d) if o and d else '-')
                print(row)
            print()
        if rest:
            print('| benchmark | median time | per item | bandwidth | of triad |')
            print('|---|---|---|---|---|')
            for name, r in sorted(rest):
                bw = r['bytes_per_second']
                is_triad = name.startswith('BM_triad')
                frac = '%.0f%%' % (100 * bw / triad) if bw and triad and not is_triad else '-'
                plain[name] = (r, triad)
                print('| %s | %.4g %s | %s | %s | %s |' % (name, r['time'], r['unit'], fmt_ns(r['per_item_ns']),
                                                      '%.1f GB/s' % (bw / 1e9) if bw else '-', frac))
            print()
    t = mexrun_start(mexrun)
    if t is not None:
        print('## mexrun\n')
        print('`mexrun gausscum 0` from process start to exit (wall time): median %.1f ms over 30 runs.\n' % (t * 1e3))

    print('## Targets\n')
    print('| target | measured (worst case) | met |')
    print('|---|---|---|')
    for title, kind, pattern, limit in TARGETS:
        rx = re.compile(pattern)
        # (value, case, met) for every case the target covers.
        if kind == 'ratio':
            vals = [(v, c, v <= limit * 1.0000001) for c, v in paired.items() if rx.search(c)]
            worst = max(vals) if vals else None
            shown = lambda v: 'ratio %.2f' % v
        elif kind == 'triad':
            vals = [(r['bytes_per_second'] / tr, n, r['bytes_per_second'] / tr >= limit)
                    for n, (r, tr) in plain.items() if rx.search(n) and r['bytes_per_second'] and tr]
            worst = min(vals) if vals else None
            shown = lambda v: '%.0f%% of the triad' % (100 * v)
        else:
            vals = [(r['per_item_ns'], n, r['per_item_ns'] <= limit)
                    for n, (r, _) in plain.items() if rx.search(n) and r['per_item_ns']]
            worst = max(vals) if vals else None
            shown = fmt_ns
        if not vals:
            print('| %s | not measured | - |' % title)
            continue
        met = sum(1 for v in vals if v[2])
        print('| %s | %d of %d cases; worst %s (%s) | %s |' % (title, met, len(vals), shown(worst[0]), worst[1],
                                                           'yes' if met == len(vals) else '**no**'))
    if t is not None:
        print('| mexrun start to exit under 20 ms | %.1f ms | %s |' % (t * 1e3, 'yes' if t < 0.020 else '**no**'))
    print()
    if notes and os.path.exists(notes):
        with open(notes) as f:
            sys.stdout.write(f.read())


if __name__ == '__main__':
    main()
