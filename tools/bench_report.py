#!/usr/bin/env python3
"""Turns Google Benchmark JSON results into docs/performance.md.

Benchmarks named BM_ours_<case> are paired with BM_peer_<case> (and
BM_peerdefault_<case>, a peer with its default settings) from the same run;
the table shows the median time per item of each and the ratio ours/peer
(below 1 means we are faster). Other benchmarks are listed with their
median time and throughput.
"""
import json
import os
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
        name = b['run_name']
        item_rate = b.get('items_per_second')
        byte_rate = b.get('bytes_per_second')
        per_item = 1e9 / item_rate if item_rate else None
        out[name] = {'time': b['real_time'], 'unit': b['time_unit'], 'per_item_ns': per_item, 'bytes_per_second': byte_rate}
    return data.get('context', {}), out


def split(name):
    base = name.split('/')[0]
    rest = name[len(base):]
    for role in ('peerdefault', 'peer', 'ours'):
        prefix = 'BM_%s_' % role
        if base.startswith(prefix):
            return role, base[len(prefix):] + rest
    return None, name


def fmt_ns(v):
    return '-' if v is None else ('%.3g ns' % v)


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


def main():
    folder, mexrun = sys.argv[1], sys.argv[2]
    print('# Performance\n')
    print('Produced by `./bench.sh` (Google Benchmark, median of repeated runs; ours and the peer measured in the')
    print('same run on the same inputs). Ratio = our time / peer time: below 1 means faster than the peer.\n')
    triad = None
    for fname in sorted(os.listdir(folder)):
        if not fname.endswith('.json'):
            continue
        ctx, res = medians(os.path.join(folder, fname))
        for name, r in res.items():
            if name.startswith('BM_triad') and r['bytes_per_second']:
                triad = r['bytes_per_second']
        section = fname[len('bench_'):-len('.json')]
        print('## %s\n' % section)
        cases = {}
        plain = []
        for name, r in res.items():
            role, case = split(name)
            if role is None:
                plain.append((name, r))
            else:
                cases.setdefault(case, {})[role] = r
        if cases:
            print('| case | ours / item | peer / item | ratio | peer (default settings) / item | ratio |')
            print('|---|---|---|---|---|---|')
            for case in sorted(cases):
                c = cases[case]
                o = c.get('ours', {}).get('per_item_ns')
                p = c.get('peer', {}).get('per_item_ns')
                d = c.get('peerdefault', {}).get('per_item_ns')
                ratio = '%.2f' % (o / p) if o and p else '-'
                ratio_d = '%.2f' % (o / d) if o and d else '-'
                print('| %s | %s | %s | %s | %s | %s |' % (case, fmt_ns(o), fmt_ns(p), ratio, fmt_ns(d), ratio_d))
            print()
        if plain:
            print('| benchmark | median time | per item | bandwidth | of triad |')
            print('|---|---|---|---|---|')
            for name, r in sorted(plain):
                bw = r['bytes_per_second']
                frac = '%.0f%%' % (100 * bw / triad) if bw and triad and not name.startswith('BM_triad') else '-'
                print('| %s | %.4g %s | %s | %s | %s |' % (name, r['time'], r['unit'], fmt_ns(r['per_item_ns']),
                                                  '%.1f GB/s' % (bw / 1e9) if bw else '-', frac))
            print()
    t = mexrun_start(mexrun)
    if t is not None:
        print('## mexrun\n')
        print('`mexrun gausscum 0` from process start to exit: median %.1f ms over 30 runs.\n' % (t * 1e3))


if __name__ == '__main__':
    main()
