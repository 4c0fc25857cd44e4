#!/usr/bin/python3
"""Writes a picture at every fixed image path of the application, and a Qt resource file listing
them, into OUTDIR. The logo, the signal-chain block icons and the mixer-type pictures are line
pictograms (pictograms.py); every other picture is a placeholder: a plain coloured panel with its
own name on it, so a screenshot shows which picture a screen asked for. Uses Pillow for the
placeholders when present; otherwise writes plain PNG data (Qt recognises images by their
content)."""
import hashlib
import io
import os
import struct
import sys
import zlib

import pictograms

HELP = ["Parametric-EQ", "Auto-EQ", "Graph-EQ", "Nuq", "HelpAGC", "RTA", "Signal-Generator",
        "HelpGate", "Output-Delay", "NewWizard", "HelpMixers", "Output-Meter", "Preset", "Limiter",
        "Input-Delay", "Crossover", "Utilities", "HomeScreen", "Compressor", "Subharmonic-Synth",
        "HelpConfig", "HelpInputRouter", "HelpManageTunings", "Run_Setup_Wizard"]
# The discovery screen has no help picture: "Help/HelpDiscovery.jpg" stays absent.
HOME = ["Mixer", "MixerMute", "Nuq", "GraphicEQ", "SubSynth", "AutoEQ", "Compressor", "Crossover",
        "ParaEQ", "Limiter", "AlignmentDelay", "RTAmic", "AGC", "Input", "Output", "OutputMute",
        "Gate"]
MIXER_GROUPS = ["A", "B", "C", "A+B", "B+C", "A+B+C", "1", "2", "3", "1+2", "2+3", "1+2+3"]
WIZARDS = ["AEQStereo", "DialMinus", "DialOL", "DialPlus", "DialUL", "LRPAInFormat",
           "LowerMixerOutputs", "MonoInputWithAuxSub", "MonoPAInFormat", "OptionCardConnections",
           "PaSystem", "RTA1", "RTA2", "RTA3", "RTA4", "RTAMic", "RaiseMixerOutputs",
           "StereoInputWithAuxSub", "connections"]


def pictures():
    """(path below images/, width, height, colour)"""
    yield "Splash_Screen.png", 1024, 768, (40, 8, 8)
    yield "Logo.png", 480, 72, None
    yield "Url_Image.png", 48, 48, (200, 30, 30)
    for name in ("Tick", "Close", "ActivityIndicator"):
        yield name + ".png", 48, 48, (90, 90, 90)
    for name in HELP:
        yield "Help/%s.jpg" % name, 800, 600, (30, 45, 70)
    for name in HOME:
        yield "Home/ICN_%s.png" % name, 96, 96, (50, 70, 50)
    for n in range(1, 15):
        yield "ButtonBG%d.png" % n, 160, 64, (20 + 10 * n, 40, 60)
    yield "ButtonBGS.png", 160, 64, (60, 40, 20)
    for n in range(1, 8):
        for stage in ("In", "Mid"):
            yield "MixerTypes/%sMixIn%d_Large.png" % (stage, n), 200, 120, (60, 50, 80)
    for group in MIXER_GROUPS:
        yield "MixerTypes/MidMix%s_Large.png" % group, 200, 120, (60, 50, 80)
    for name in WIZARDS:
        yield "Wizards/%s.png" % name, 320, 240, (40, 60, 60)


def plain_png(width, height, colour):
    row = b"\x00" + bytes(colour) * width
    raw = zlib.compress(row * height, 9)

    def chunk(kind, data):
        return (struct.pack(">I", len(data)) + kind + data +
                struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF))
    header = struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0)
    return b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", raw) + chunk(b"IEND", b"")


def write_if_changed(path, data):
    """Leaves an unchanged file alone, so that a new configure run rebuilds nothing."""
    try:
        with open(path, "rb") as existing:
            if existing.read() == data:
                return
    except FileNotFoundError:
        pass
    with open(path, "wb") as out:
        out.write(data)


def mixer_label(name):
    """The type a mixer picture stands for: "InMixIn3" is IN 3, "MidMixA+B" is A+B."""
    kind = name.split("_")[0]
    if kind.startswith("InMixIn"):
        return "IN " + kind[len("InMixIn"):]
    if kind.startswith("MidMixIn"):
        return "MID " + kind[len("MidMixIn"):]
    return kind[len("MidMix"):]


def picture_bytes(path, width, height, colour, label):
    if label == "Logo.png":
        return pictograms.logo(width, height).png()
    if label.startswith("ICN_"):
        return pictograms.icon(label[len("ICN_"):-len(".png")], width).png()
    if "MixerTypes" in path:
        return pictograms.mixer_type(mixer_label(label), width, height).png()
    try:
        from PIL import Image, ImageDraw
    except ImportError:
        return plain_png(width, height, colour)
    image = Image.new("RGB", (width, height), colour)
    draw = ImageDraw.Draw(image)
    draw.rectangle([0, 0, width - 1, height - 1], outline=(160, 160, 160))
    draw.text((4, 4), label, fill=(230, 230, 230))
    data = io.BytesIO()
    image.save(data, "JPEG" if path.endswith(".jpg") else "PNG")
    return data.getvalue()


def main():
    if len(sys.argv) != 2:
        sys.exit("usage: make-placeholder-images.py OUTDIR")
    outdir = sys.argv[1]
    # Drawing takes a few seconds: skip it while these scripts and the pictures are unchanged.
    here = os.path.dirname(os.path.abspath(__file__))
    stamp = hashlib.sha1()
    for script in ("make-placeholder-images.py", "pictograms.py"):
        with open(os.path.join(here, script), "rb") as source:
            stamp.update(source.read())
    stamp_path = os.path.join(outdir, "images.stamp")
    try:
        with open(stamp_path) as existing:
            if existing.read() == stamp.hexdigest() and os.path.exists(
                    os.path.join(outdir, "images.qrc")):
                return
    except FileNotFoundError:
        pass
    entries = []
    for relative, width, height, colour in pictures():
        path = os.path.join(outdir, "images", relative)
        os.makedirs(os.path.dirname(path), exist_ok=True)
        label = os.path.basename(relative)
        write_if_changed(path, picture_bytes(path, width, height, colour, label))
        entries.append("        <file>images/%s</file>" % relative)
    qrc = "<RCC>\n    <qresource prefix=\"/\">\n%s\n    </qresource>\n</RCC>\n" % "\n".join(entries)
    write_if_changed(os.path.join(outdir, "images.qrc"), qrc.encode())
    write_if_changed(stamp_path, stamp.hexdigest().encode())


if __name__ == "__main__":
    main()
