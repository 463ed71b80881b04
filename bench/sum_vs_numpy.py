#!/usr/bin/python3
"""getSum beside numpy on the same text, in one run.

Usage: /usr/bin/python3 bench/sum_vs_numpy.py BUILD_DIR   (a build with -DFUNCPLUG_BENCH=ON)
Times numpy.fromstring(text, sep='|').sum() for 10^6 values ddd.dddddd, then runs the
funcplug_bench getSum and strtod cases, and prints the ratios.
"""
import json
import subprocess
import sys
import time
import warnings

import numpy

build = sys.argv[1] if len(sys.argv) > 1 else "build/bench"
n = 1000000
text = "|".join("%d.%06d" % (100 + i % 900, (i * 7919) % 1000000) for i in range(n))
warnings.simplefilter("ignore", DeprecationWarning)
best = min(
    (lambda t0: (numpy.fromstring(text, sep="|").sum(), time.perf_counter() - t0)[1])(time.perf_counter())
    for _ in range(5))
out = subprocess.run([build + "/funcplug_bench", "--benchmark_filter=getSum>/1000000$|StrtodSum/1000000$",
                      "--benchmark_format=json", "--benchmark_repetitions=3",
                      "--benchmark_report_aggregates_only=true"], capture_output=True, text=True, check=True)
runs = {b["run_name"]: b["real_time"] for b in json.loads(out.stdout)["benchmarks"] if b["aggregate_name"] == "median"}
numpy_ms = best * 1000
for name, ms in runs.items():
    print("%-32s %8.1f ms   numpy/this = %.2f" % (name, ms, numpy_ms / ms))
print("%-32s %8.1f ms" % ("numpy.fromstring(...).sum()", numpy_ms))
