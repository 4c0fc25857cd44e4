#!/usr/bin/python3
"""Writes the reference curves the graph tests compare against, computed independently with
scipy: the analogue prototypes of the equaliser bands taken through scipy's bilinear transform
(prewarped at the band frequency) and evaluated with freqz, and the crossover slopes from
scipy's analogue Butterworth designs evaluated with freqs_zpk.

Run with Debian's python3-scipy:  /usr/bin/python3 tests/graphs/generate_curve_fixtures.py
The fixtures are committed; the C++ tests do not need Python.
"""
import json
import math
import os

import numpy as np
from scipy import signal

FS = 72000.0
DOWL_Q_FACTOR = 5.623413 * 0.1837329873930997
HERE = os.path.dirname(os.path.abspath(__file__))
OUT = os.path.join(HERE, "fixtures")


def pixel_frequencies(low, high, width):
    x = np.arange(width, dtype=float)
    return low * (high / low) ** (x / width)


def prewarped(f0):
    return 2.0 * FS * math.tan(math.pi * f0 / FS)


def peaking_prototype(f0, gain, q):
    """Boost/cut-symmetric analogue bell: unity far away, `gain` dB at f0."""
    A = 10.0 ** (gain / 20.0)
    w0 = prewarped(f0)
    if gain >= 0:
        return [1.0, A * w0 / q, w0 ** 2], [1.0, w0 / q, w0 ** 2]
    return [1.0, w0 / q, w0 ** 2], [1.0, w0 / (A * q), w0 ** 2]


def shelf_prototype(f0, gain, slope, high):
    A = 10.0 ** (abs(gain) / 20.0)
    r = math.sqrt(A)
    k = math.sqrt(5.623413 * slope / (55.671444 - 1.8806658 * slope))
    w0 = prewarped(f0)
    if high:
        lift, flat = [A * k, A * w0, r * k * w0 ** 2], [k, r * w0, r * k * w0 ** 2]
    else:
        lift, flat = [k * r, A * w0, A * k * w0 ** 2], [k * r, r * w0, k * w0 ** 2]
    return (lift, flat) if gain >= 0 else (flat, lift)


def nuq_q(gain, q):
    A = 10.0 ** (gain / 20.0)
    if gain >= 6:
        return q * math.sqrt(A * A - 2.0)
    if gain <= -6:
        return q * math.sqrt(1.0 / (A * A) - 2.0)
    return q


def prototype(kind, f0, gain, shape):
    if kind == "bell":
        return peaking_prototype(f0, gain, shape * DOWL_Q_FACTOR)
    if kind == "nuq":
        return peaking_prototype(f0, gain, nuq_q(gain, shape))
    return shelf_prototype(f0, gain, shape, kind == "highshelf")


def band_response(kind, f0, gain, shape, freqs):
    b, a = prototype(kind, f0, gain, shape)
    bz, az = signal.bilinear(b, a, fs=FS)
    _, h = signal.freqz(bz, az, worN=freqs, fs=FS)
    coefs = [bz[0] / az[0], bz[1] / az[0], bz[2] / az[0], -az[1] / az[0], -az[2] / az[0]]
    return 20.0 * np.log10(np.abs(h)), coefs


def rounded(values, digits=6):
    return [round(float(v), digits) for v in values]


def write(name, document):
    with open(os.path.join(OUT, name), "w") as out:
        json.dump(document, out, separators=(",", ":"))
        out.write("\n")


def band_fixture():
    width = 256
    axes = {"bell": (20.0, 22000.0), "lowshelf": (20.0, 22000.0),
            "highshelf": (20.0, 22000.0), "nuq": (20.0, 20000.0)}
    shapes = {"bell": [0.1, 1, 10, 64], "nuq": [0.1, 1, 10, 64],
              "lowshelf": [3, 6, 15], "highshelf": [3, 6, 15]}
    cases = []
    for kind in ["bell", "lowshelf", "highshelf", "nuq"]:
        freqs = pixel_frequencies(*axes[kind], width)
        for f0 in [20, 100, 1000, 10000, 22000]:
            for gain in [-20, -6, -0.5, 0.5, 6, 20]:
                for shape in shapes[kind]:
                    db, coefs = band_response(kind, f0, gain, shape, freqs)
                    cases.append({"kind": kind, "frequency": f0, "gain": gain, "shape": shape,
                                  "coefs": [float(c) for c in coefs], "db": rounded(db)})
    write("bands.json", {"width": width, "cases": cases})


# Twelve bands of a parametric EQ as a user might set them.
TOTAL_BANDS = [
    ("lowshelf", 80, 4.5, 6), ("bell", 120, -3, 2), ("bell", 250, 6, 1.2), ("bell", 400, -9, 8),
    ("bell", 800, 2, 0.7), ("bell", 1500, -4.5, 4), ("bell", 2500, 12, 16),
    ("bell", 4000, -15, 32), ("bell", 6300, 3, 1), ("bell", 9000, 25, 3),
    ("bell", 14000, -2, 0.5), ("highshelf", 12000, -6, 10),
]


def total_fixture():
    """Twelve bands at the width the graph is usually drawn: each band's exact response, and the
    total curve as the parametric-EQ graph draws it, in dB (H = 20 pixels): each band held
    inside +-20 dB, summed, averaged with the right-hand neighbour, the last point 0."""
    width = 1024
    freqs = pixel_frequencies(20.0, 22000.0, width)
    total = np.zeros(width)
    bands = []
    for kind, f0, gain, shape in TOTAL_BANDS:
        db, _ = band_response(kind, f0, gain, shape, freqs)
        bands.append({"kind": kind, "frequency": f0, "gain": gain, "shape": shape,
                      "db": rounded(db)})
        db = np.clip(db, -20.0, 20.0)
        right = np.append(db[1:], db[-1])
        total += (db + right) * 0.5
    total[-1] = 0.0
    write("total.json", {"width": width, "bands": bands, "db": rounded(total)})


SLOPES = ["BW 6", "BW 12", "BW 18", "BW 24", "BW 30", "BW 36", "BW 42", "BW 48",
          "LR 12", "LR 24", "LR 36", "LR 48"]


def slope_db(word, fc, freqs, btype):
    """20 log10 |H| of one crossover filter; LR 2k is a Butterworth k squared."""
    if word not in SLOPES:
        return np.zeros(len(freqs))
    family, steep = word.split()
    order = int(steep) // 6
    if family == "LR":
        order //= 2
    z, p, k = signal.butter(order, 2 * math.pi * fc, btype=btype, analog=True, output="zpk")
    _, h = signal.freqs_zpk(z, p, k, worN=2 * math.pi * freqs)
    db = 20.0 * np.log10(np.abs(h))
    return 2.0 * db if family == "LR" else db


def crossover_fixture():
    """Band response as the crossover graph shows it: band gain plus 16/20 of the slopes' dB,
    sampled every 4 pixels."""
    width = 1000
    xs = np.arange(0, width, 4, dtype=float)
    freqs = 16.0 * 1250.0 ** (xs / width)
    cases = []

    def add(hp_word, hp, lp_word, lp, gain):
        hp_fc = max(16.0, hp)
        lp_fc = min(20000.0, lp)
        db = gain + 0.8 * (slope_db(hp_word, hp_fc, freqs, "high")
                           + slope_db(lp_word, lp_fc, freqs, "low"))
        cases.append({"hpType": hp_word, "hpFrequency": hp, "lpType": lp_word,
                      "lpFrequency": lp, "gain": gain, "db": rounded(db)})

    for word in SLOPES + ["LR 18"]:
        for fc in [40.0, 1000.0, 12000.0]:
            add(word, fc, "LR 18", 20000.0, 0.0)
            add("LR 18", 16.0, word, fc, 0.0)
    add("LR 24", 80.0, "LR 24", 1200.0, 6.0)
    add("BW 18", 1200.0, "BW 48", 6000.0, -12.5)
    add("LR 48", 6000.0, "BW 6", 20000.0, 3.0)
    add("BW 12", 16.0, "LR 36", 100.0, 10.0)
    write("crossover.json", {"width": width, "step": 4, "cases": cases})


if __name__ == "__main__":
    os.makedirs(OUT, exist_ok=True)
    band_fixture()
    total_fixture()
    crossover_fixture()
