#!/usr/bin/python3
"""Fills a virtual processor's storage folder with the device's two tuning folders,
/SpeakerTunings and /AmplifierData, taken from the factory set with a mix that gives every
state the tuning screen knows:

    same        the factory file with its own stamp           -> "Loaded"
    older       the factory name with an older stamp          -> "Has Update"
    newer       the factory name with a newer stamp           -> "Loaded"
    missing     a factory file the device lacks               -> "Not Loaded"
    deviceOnly  names the factory set lacks (Custom included) -> fetched by a sync

Prints what it wrote as one JSON object: {"SpeakerTunings": {"same": [...], ...}, ...}.
Usage: seed_tuning_storage.py STORAGE-FOLDER [--factory FOLDER] [--extra N]
(--extra adds N more device-only speaker files, for benchmarks).
"""
import argparse
import json
import os
import shutil
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
DEFAULT_FACTORY = os.path.join(HERE, "..", "..", "sources", "files", "tunings", "factory")

DEVICE_ONLY = {
    "SpeakerTunings": ["Wuvo_Arc_Z20_2022_3_4_5_6.hdf", "Wuvo_Horizon_H1_2022_7_8_9_10.hdf",
                       "Nordlane_Line_L4_2021_2_2_24_0.hdf", "Custom_User_Mine_2022_1_1_1_1.hdf"],
    "AmplifierData": ["Morla_Q40_Stereo_2022_5_5_5_5.hdf", "Nordlane_P1_Quad_2021_12_31_23_59.hdf"],
}


def shifted(file, years):
    base, suffix = file.rsplit(".", 1)
    fields = base.split("_")
    fields[-5] = str(int(fields[-5]) + years)
    return "_".join(fields) + "." + suffix


def seed(root, factory, extra):
    report = {}
    for folder in ("SpeakerTunings", "AmplifierData"):
        target = os.path.join(root, folder)
        os.makedirs(target, exist_ok=True)
        mix = {"same": [], "older": [], "newer": [], "missing": [], "deviceOnly": []}
        source = os.path.join(factory, folder)
        for index, file in enumerate(sorted(os.listdir(source))):
            kind = {1: "missing", 2: "older", 3: "newer"}.get(index % 10, "same")
            mix[kind].append(file)
            if kind == "missing":
                continue
            name = {"older": shifted(file, -1), "newer": shifted(file, 1)}.get(kind, file)
            shutil.copyfile(os.path.join(source, file), os.path.join(target, name))
        only = list(DEVICE_ONLY[folder])
        if folder == "SpeakerTunings":
            only += ["Wuvo_Bench_B%d_2023_1_1_1_1.hdf" % n for n in range(extra)]
        for file in only:
            with open(os.path.join(target, file), "wb") as out:
                out.write(("device-only " + file + "\n").encode() * 64)
        mix["deviceOnly"] = only
        report[folder] = mix
    return report


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("root")
    parser.add_argument("--factory", default=DEFAULT_FACTORY)
    parser.add_argument("--extra", type=int, default=0)
    args = parser.parse_args()
    print(json.dumps(seed(args.root, args.factory, args.extra)))
    return 0


if __name__ == "__main__":
    sys.exit(main())
