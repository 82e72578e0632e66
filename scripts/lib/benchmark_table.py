#!/usr/bin/env python3
"""The table scripts/benchmark.sh prints (Markdown), from Google Benchmark's
JSON output, the Wine timings ("launcher|floor MICROSECONDS" a line) and the
two Setup.exe files.

    benchmark_table.py HOST_JSON WINE_TIMES SETUP_X64 SETUP_X86
"""
import json, os, statistics, sys, datetime

host, times, x64, x86 = sys.argv[1:5]
results = {b["name"]: b for b in json.load(open(host))["benchmarks"]}

def ns(b):
    scale = {"ns": 1, "us": 1e3, "ms": 1e6, "s": 1e9}[b["time_unit"]]
    return b["real_time"] * scale

def fmt_time(t):
    return "%.0f ns" % t if t < 1e3 else "%.2f µs" % (t / 1e3)

cpu = next((l.split(":", 1)[1].strip() for l in open("/proc/cpuinfo") if l.startswith("model name")), "?")
print("Measured %s; machine: nproc %s, CPU %s." % (datetime.date.today().isoformat(), os.cpu_count(), cpu))
print()
print("| Measure | Result | Goal |")
print("|---|---|---|")
for family, label in (("BM_BuildArguments_SingleByte", "single-byte code page"),
                      ("BM_BuildArguments_CodePage932", "code page 932")):
    for size in (1024, 2048, 4096, 8192, 16384, 32767):
        b = results["%s/%d" % (family, size)]
        t = ns(b)
        goal = "well under 1 ms" if size == 32767 else ""
        print("| BuildInstallerArguments, %s, %s bytes | %s (%.2f ns/byte) | %s |"
              % (label, format(size, ","), fmt_time(t), t / size, goal))
    big_o, rms = results[family + "_BigO"], results[family + "_RMS"]
    print("| BuildInstallerArguments, %s, fit over 1 to 32,767 bytes | O(%s), %.2f ns/byte, RMS error %.0f%% | linear |"
          % (label, big_o["big_o"], big_o["real_coefficient"], rms["rms"] * 100))
for arg, label in (("0", "plain start"), ("1", "start with a logon")):
    b = results["BM_LauncherRun/logon:" + arg]
    print("| Whole run against the fake, %s | %s | |" % (label, fmt_time(ns(b))))

samples = {"launcher": [], "floor": []}
for line in open(times):
    label, micros = line.split()
    samples[label].append(int(micros) / 1000)
pairs = list(zip(samples["launcher"], samples["floor"]))
ratio = statistics.median(l / f for l, f in pairs)
print("| Wine, `Setup.exe /qn` start to exit, median of %d | %.0f ms | |" % (len(pairs), statistics.median(samples["launcher"])))
print("| Wine, floor program start to exit, median of %d | %.0f ms | |" % (len(pairs), statistics.median(samples["floor"])))
print("| Wine, launcher / floor, median of the %d per-pair ratios | %.3f | at most 1.05 |" % (len(pairs), ratio))
for path, arch, goal in ((x64, "x64", "at most 160 KiB"), (x86, "x86", "")):
    size = os.path.getsize(path)
    print("| Setup.exe %s | %s bytes (%.1f KiB) | %s |" % (arch, format(size, ","), size / 1024, goal))
