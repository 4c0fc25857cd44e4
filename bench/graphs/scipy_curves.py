#!/usr/bin/python3
"""Times numpy/scipy computing the same curves as bench_curves (a 12-band parametric EQ at
1024 pixels, a 6-way crossover sampled every 4 of 1024 pixels) and prints the median times in
milliseconds as JSON. Run by bench_curves so both figures come from the same run."""
import json
import math
import sys
import time

import numpy as np
from scipy import signal

FS = 72000.0
WIDTH = 1024
BANDS = json.loads(sys.argv[1])
CROSSOVER = json.loads(sys.argv[2])
REPEATS = int(sys.argv[3])


def peaking(f0, gain, q):
    A = 10.0 ** (gain / 20.0)
    w0 = 2.0 * FS * math.tan(math.pi * f0 / FS)
    if gain >= 0:
        return [1.0, A * w0 / q, w0 ** 2], [1.0, w0 / q, w0 ** 2]
    return [1.0, w0 / q, w0 ** 2], [1.0, w0 / (A * q), w0 ** 2]


def peq():
    freqs = 20.0 * 1100.0 ** (np.arange(WIDTH) / WIDTH)
    total = np.zeros(WIDTH)
    for f0, gain, q in BANDS:
        b, a = peaking(f0, gain, q * 5.623413 * 0.1837329873930997)
        bz, az = signal.bilinear(b, a, fs=FS)
        _, h = signal.freqz(bz, az, worN=freqs, fs=FS)
        db = np.clip(20.0 * np.log10(np.abs(h)), -20.0, 20.0)
        total += (db + np.append(db[1:], db[-1])) * 0.5
    return total


def crossover():
    xs = np.arange(0, WIDTH, 4)
    w = 2 * math.pi * 16.0 * 1250.0 ** (xs / WIDTH)
    curves = []
    for hp, lp, gain in CROSSOVER:
        db = np.full(len(xs), gain)
        for fc, btype in ((hp, "high"), (lp, "low")):
            z, p, k = signal.butter(2, 2 * math.pi * fc, btype=btype, analog=True, output="zpk")
            _, h = signal.freqs_zpk(z, p, k, worN=w)
            db = db + 0.8 * 2.0 * 20.0 * np.log10(np.abs(h))
        curves.append(db)
    return curves


def median_ms(function):
    times = []
    for _ in range(REPEATS):
        start = time.perf_counter()
        function()
        times.append((time.perf_counter() - start) * 1000.0)
    return sorted(times)[len(times) // 2]


print(json.dumps({"peq": median_ms(peq), "crossover": median_ms(crossover)}))
