#!/usr/bin/python3
"""Writes the factory tuning set that the application carries in its resources: 372 speaker
tunings and 131 amplifier-data files named Brand_Series_Model[_Variant]_Y_M_D_H_M.hdf, with small
opaque bodies, and the .qrc that lists them under /TuningFiles/Local.

The output is deterministic; a test reruns this script and compares it with the committed files.
Usage: generate_factory_tunings.py [OUTPUT-FOLDER]   (default: the folder of this script)
"""
import os
import random
import sys

SPEAKER_COUNT = 372
AMPLIFIER_COUNT = 131

# (brand, number of files). Wuvo holds most speaker tunings, Morla most amplifier data; Custom
# marks the user-defined tunings the screen never shows.
SPEAKER_BRANDS = [("Wuvo", 150), ("Custom", 3), ("Altavox", 22), ("Brenton", 21), ("Corvane", 20),
                  ("Delmar", 20), ("Essory", 20), ("Fjordic", 19), ("Galvan", 18), ("Halvard", 18),
                  ("Istra", 21), ("Jorvik", 20), ("Kestrel", 20)]
AMPLIFIER_BRANDS = [("Morla", 70), ("Custom", 2), ("Altavox", 12), ("Brenton", 11), ("Delmar", 10),
                    ("Galvan", 10), ("Istra", 9), ("Kestrel", 7)]

SERIES = ["Arc", "Line", "Pro", "Stage", "Point", "Sub", "Venue", "Club", "Tour", "Install"]
MODELS = ["M8", "M10", "M12", "M15", "M18", "X210", "X212", "X215", "C6", "C8", "S118", "S218"]
VARIANTS = ["", "", "", "Mon", "FOH", "Fill", "Delay", "Cardioid"]
AMP_SERIES = ["D4", "D8", "K2", "K4", "Q10", "Q20"]
AMP_MODELS = ["Bridge", "Stereo", "Quad", "LoZ", "HiZ", "Tour"]
AMP_VARIANTS = ["", "", "2ch", "4ch", "8ch"]


def stamp(rng, index):
    year = rng.randint(2012, 2021)
    month = rng.randint(1, 12)
    day = rng.randint(1, 28)
    # Some device exports write midnight as hour 24.
    hour = 24 if index % 37 == 5 else rng.randint(0, 23)
    minute = rng.randint(0, 59)
    return "%d_%d_%d_%d_%d" % (year, month, day, hour, minute)


def body(rng, index):
    size = rng.randint(96, 480)
    data = bytes(rng.getrandbits(8) for _ in range(size))
    # A share of the files is enciphered; either way the contents are never interpreted.
    return (b"ENC1" + data) if index % 3 == 0 else (b"HDF\x01" + data)


def names(rng, brands, series, models, variants):
    result = []
    index = 0
    for brand, count in brands:
        taken = set()
        while len(taken) < count:
            parts = [brand, rng.choice(series), rng.choice(models)]
            variant = rng.choice(variants)
            if variant:
                parts.append(variant)
            name = "_".join(parts)
            if name in taken:
                continue
            taken.add(name)
            result.append((brand, name + "_" + stamp(rng, index) + ".hdf"))
            index += 1
    return [file for _, file in result]


def write_folder(folder, files, rng):
    os.makedirs(folder, exist_ok=True)
    for old in os.listdir(folder):
        os.remove(os.path.join(folder, old))
    for index, file in enumerate(files):
        with open(os.path.join(folder, file), "wb") as out:
            out.write(body(rng, index))


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.dirname(os.path.abspath(__file__))
    rng = random.Random(20140116)
    speakers = names(rng, SPEAKER_BRANDS, SERIES, MODELS, VARIANTS)
    amplifiers = names(rng, AMPLIFIER_BRANDS, AMP_SERIES, AMP_MODELS, AMP_VARIANTS)
    assert len(speakers) == SPEAKER_COUNT and len(amplifiers) == AMPLIFIER_COUNT
    write_folder(os.path.join(out, "SpeakerTunings"), speakers, rng)
    write_folder(os.path.join(out, "AmplifierData"), amplifiers, rng)
    with open(os.path.join(out, "factorytunings.qrc"), "w") as qrc:
        qrc.write("<!DOCTYPE RCC><RCC version=\"1.0\">\n<qresource prefix=\"/TuningFiles/Local\">\n")
        for folder, files in (("SpeakerTunings", speakers), ("AmplifierData", amplifiers)):
            for file in sorted(files):
                qrc.write("    <file>%s/%s</file>\n" % (folder, file))
        qrc.write("</qresource>\n</RCC>\n")
    return 0


if __name__ == "__main__":
    sys.exit(main())
