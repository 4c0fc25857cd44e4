#!/usr/bin/python3
"""Times numpy and scipy computing what bench_curves times as the curve maths: twelve peaking
bands of a parametric EQ at 1024 pixel columns (20 Hz to 22 kHz), each band's level in dB held
inside +-20 dB, and the total (each band averaged with its right-hand neighbour, summed, the
last point 0). Two formulations: numpy's closed form |H|^2 = N(phi) / D(phi) with
phi = sin^2(pi f T), vectorised over bands and pixels, and scipy's sosfreqz per band. Both
design the bands from the same formulas as the application. Prints the median times in
microseconds as JSON; bench_curves runs it so that every figure comes from the same run.

Usage: numpy_scipy_curves.py BANDS_JSON REPEATS   (BANDS_JSON: [[frequency, gain, Q], ...])
"""
import json
import sys
import time

import numpy as np
from scipy import signal

FS = 72000.0
WIDTH = 1024
DOWL_Q_FACTOR = 5.623413 * 0.1837329873930997


def columns():
    return 20.0 * 1100.0 ** (np.arange(WIDTH) / WIDTH)


def design(bands):
    """Peaking Dowl coefficients (b0, b1, b2, a1, a2; a stored negated), one row per band."""
    f, gain, q = (bands[:, i:i + 1] for i in range(3))
    t = 2.0 * np.tan(np.pi * f / FS)
    A = 10.0 ** (0.05 * gain)
    q = q * DOWL_Q_FACTOR
    alpha, beta, gamma = t * t * q, 4.0 * q, 2.0 * t
    boost = gain >= 0
    d = np.where(boost, alpha + beta + gamma, gamma + A * (alpha + beta))
    b0 = np.where(boost, alpha + beta + A * gamma, A * (alpha + beta + gamma)) / d
    b1 = np.where(boost, 2.0 * (alpha - beta), 2.0 * A * (alpha - beta)) / d
    b2 = np.where(boost, alpha + beta - A * gamma, A * (alpha + beta - gamma)) / d
    a1 = np.where(boost, -2.0 * (alpha - beta), -2.0 * A * (alpha - beta)) / d
    a2 = np.where(boost, gamma - alpha - beta, gamma - A * (alpha + beta)) / d
    return b0, b1, b2, a1, a2


def total(db):
    summed = ((db[:, :-1] + db[:, 1:]) * 0.5).sum(axis=0)
    return np.append(summed, 0.0)


def closed_form(bands):
    phi = np.sin(np.pi * columns() / FS) ** 2
    b0, b1, b2, a1, a2 = design(bands)
    n = (b0 + b1 + b2) ** 2 - 4.0 * phi * (b0 * b1 + 4.0 * b0 * b2 + b1 * b2) \
        + 16.0 * phi * phi * b0 * b2
    d = (1.0 - a1 - a2) ** 2 - 4.0 * phi * (a1 * a2 - 4.0 * a2 - a1) - 16.0 * phi * phi * a2
    db = np.clip(10.0 * np.log10(n / d), -20.0, 20.0)
    return db, total(db)


def sosfreqz(bands):
    freqs = columns()
    b0, b1, b2, a1, a2 = design(bands)
    db = np.empty((len(bands), WIDTH))
    for i in range(len(bands)):
        sos = [[b0[i, 0], b1[i, 0], b2[i, 0], 1.0, -a1[i, 0], -a2[i, 0]]]
        _, h = signal.sosfreqz(sos, worN=freqs, fs=FS)
        db[i] = np.clip(20.0 * np.log10(np.abs(h)), -20.0, 20.0)
    return db, total(db)


def median_us(function, bands, repeats):
    times = []
    for _ in range(repeats):
        start = time.perf_counter()
        function(bands)
        times.append((time.perf_counter() - start) * 1e6)
    return sorted(times)[len(times) // 2]


def main():
    bands = np.array(json.loads(sys.argv[1]), dtype=float)
    repeats = int(sys.argv[2])
    # The two formulations compute the same curves.
    assert np.abs(closed_form(bands)[1] - sosfreqz(bands)[1]).max() < 1e-6
    print(json.dumps({"closedForm": median_us(closed_form, bands, repeats),
                      "sosfreqz": median_us(sosfreqz, bands, repeats)}))


if __name__ == "__main__":
    main()
