#!/usr/bin/python3
"""Writes the configuration templates file and the crossover catalogue.

The crossover catalogue below is the one source of truth: the IIR crossover types of the
templates file, their display-name records and the catalogue XML are all derived from it, so
the three cannot drift apart. Run from anywhere:

    /usr/bin/python3 sources/config/tools/generate_config_resources.py [OUTPUT_ROOT]

OUTPUT_ROOT defaults to the source tree. The output is committed; tests/config checks it against
the library and checks that this script still writes it byte for byte.
"""

import json
import os
import sys
from xml.sax.saxutils import escape, quoteattr

ROOT = os.path.abspath(os.path.join(os.path.dirname(__file__), "..", "..", ".."))
TEMPLATES_FILE = os.path.join("json", "SDKs", "Keldaran2", "Extensions", "yoxl", "Objects",
                              "Kalo480", "Kalo480ConfigBuilderTemplates.json")
CATALOGUE_FILE = os.path.join("xml", "CrossoverConfigurations.xml")

# id, code, configName, DisplayName, input names, output names
CATALOGUE = [
    (1, 11100, "Mono Fullrange", "Mono Full Range", "M", "M FULL RANGE"),
    (2, 11111, "Mono Fullrange with Mono Sub", "Mono Main + Mono Sub", "M", "M MAIN+M SUB"),
    (3, 11141, "Mono Fullrange with Aux Fed Sub", "Mono Main + Aux Sub", "M+A", "M MAIN+A SUB"),
    (4, 12100, "Mono x2 Fullrange", "Mono Mains x2", "M", "M MAIN 1+M MAIN 2"),
    (5, 12111, "Mono x2 Fullrange with Mono Sub", "Mono Mains x2 + Mono Sub", "M",
     "M MAIN 1+M MAIN 2+M SUB"),
    (6, 12141, "Mono x2 Fullrange with Aux Fed Sub", "Mono Mains x2 + Aux Sub", "M+A",
     "M MAIN 1+M MAIN 2+A SUB"),
    (7, 12112, "Mono x2 Fullrange with Mono x2 Subs", "Mono Mains x2 + Mono Subs x2", "M",
     "M MAIN 1+M MAIN 2+M SUB 1+M SUB 2"),
    (8, 12142, "Mono x2 Fullrange with Aux Fed Sub x2", "Mono Mains x2 + Aux Subs x2", "M+A",
     "M MAIN 1+M MAIN 2+A SUB 1+A SUB 2"),
    (9, 13100, "Mono x3 Fullrange", "Mono Mains x3", "M", "M MAIN 1+M MAIN 2+M MAIN 3"),
    (10, 13111, "Mono x3 Fullrange with Mono Sub", "Mono Mains x3 + Mono Sub", "M",
     "M MAIN 1+M MAIN 2+M MAIN 3+M SUB"),
    (11, 13141, "Mono x3 Fullrange with Aux Fed Sub", "Mono Mains x3 + Aux Sub", "M+A",
     "M MAIN 1+M MAIN 2+M MAIN 3+A SUB"),
    (12, 13112, "Mono x3 Fullrange with Mono x2 Subs", "Mono Mains x3 + Mono Subs x2", "M",
     "M MAIN 1+M MAIN 2+M MAIN 3+M SUB 1+M SUB 2"),
    (13, 13142, "Mono x3 Fullrange with Aux Fed Sub x2", "Mono Mains x3 + Aux Subs x2", "M+A",
     "M MAIN 1+M MAIN 2+M MAIN 3+A SUB 1+A SUB 2"),
    (14, 13113, "Mono x3 Fullrange with Mono x3 Subs", "Mono Mains x3 + Mono Subs x3", "M",
     "M MAIN 1+M MAIN 2+M MAIN 3+M SUB 1+M SUB 2+M SUB 3"),
    (15, 13143, "Mono x3 Fullrange with Aux Fed Sub x3", "Mono Mains x3 + Aux Subs x3", "M+A",
     "M MAIN 1+M MAIN 2+M MAIN 3+A SUB 1+A SUB 2+A SUB 3"),
    (16, 11200, "Mono 2-Way", "Mono 2Way", "M", "M HIGH+M LOW"),
    (17, 11211, "Mono 2-Way with Mono Sub", "Mono 2Way + Mono Sub", "M", "M HIGH+M LOW+M SUB"),
    (18, 11241, "Mono 2-Way with Aux Fed Sub", "Mono 2Way + Aux Sub", "M+A",
     "M HIGH+M LOW+A SUB"),
    (19, 12200, "Mono x2 2-Way", "Mono 2Way x2", "M", "M HIGH 1+M HIGH 2+M LOW 1+M LOW 2"),
    (20, 12211, "Mono x2 2-Way with Mono Sub", "Mono 2Way x2 + Mono Sub", "M",
     "M HIGH 1+M HIGH 2+M LOW 1+M LOW 2+M SUB"),
    (21, 12241, "Mono x2 2-Way with Aux Fed Sub", "Mono 2Way x2 + Aux Sub", "M+A",
     "M HIGH 1+M HIGH 2+M LOW 1+M LOW 2+A SUB"),
    (22, 12212, "Mono x2 2-Way with Mono x2 Subs", "Mono 2Way x2 + Mono Subs x2", "M",
     "M HIGH 1+M HIGH 2+M LOW 1+M LOW 2+M SUB 1+M SUB 2"),
    (23, 12242, "Mono x2 2-Way with Aux Fed Sub x2", "Mono 2Way x2 + Aux Subs x2", "M+A",
     "M HIGH 1+M HIGH 2+M LOW 1+M LOW 2+A SUB 1+A SUB 2"),
    (24, 13200, "Mono x3 2-Way", "Mono 2Way x3", "M",
     "M HIGH 1+M HIGH 2+M HIGH 3+M LOW 1+M LOW 2+M LOW 3"),
    (25, 11300, "Mono 3-Way", "Mono 3Way", "M", "M HIGH+M MID+M LOW"),
    (26, 11311, "Mono 3-Way with Mono Sub", "Mono 3Way + Mono Sub", "M",
     "M HIGH+M MID+M LOW+M SUB"),
    (27, 11341, "Mono 3-Way with Aux Fed Sub", "Mono 3Way + Aux Sub", "M+A",
     "M HIGH+M MID+M LOW+A SUB"),
    (28, 12300, "Mono x2 3-Way", "Mono 3Way x2", "M",
     "M HIGH 1+M HIGH 2+M MID 1+M MID 2+M LOW 1+M LOW 2"),
    (29, 11400, "Mono 4-Way", "Mono 4Way", "M", "M HIGH+M MID+M LOW-MID+M LOW"),
    (30, 11500, "Mono 5-Way", "Mono 5Way", "M", "M HIGH+M MID-HIGH+M MID+M LOW-MID+M LOW"),
    (31, 11600, "Mono 6-Way", "Mono 6Way", "M",
     "M HIGH+M MID-HIGH+M MID+M LOW-MID+M LOW+M SUB-LOW"),
    (32, 22100, "Stereo Fullrange", "Stereo Full Range", "L+R", "L FULL RANGE+R FULL RANGE"),
    (33, 22111, "Stereo Fullrange with Mono Sub", "Stereo Full Range + Mono Sub", "L+R",
     "L MAIN+R MAIN+M SUB"),
    (34, 22141, "Stereo Fullrange with Aux Fed Sub", "Stereo Full Range + Aux Sub", "L+R+A",
     "L MAIN+R MAIN+A SUB"),
    (35, 22112, "Stereo Fullrange with Mono x2 Subs", "Stereo Full Range + Mono Subs x2", "L+R",
     "L MAIN+R MAIN+M SUB 1+M SUB 2"),
    (36, 22142, "Stereo Fullrange with Aux Fed Sub x2", "Stereo Full Range + Aux Subs x2",
     "L+R+A", "L MAIN+R MAIN+A SUB 1+A SUB 2"),
    (37, 22122, "Stereo Fullrange with Stereo Subs", "Stereo Full Range + Stereo Subs", "L+R",
     "L MAIN+R MAIN+L SUB+R SUB"),
    (38, 22200, "Stereo 2-Way", "Stereo 2Way", "L+R", "L HIGH+R HIGH+L LOW+R LOW"),
    (39, 22211, "Stereo 2-Way with Mono Sub", "Stereo 2Way + Mono Sub", "L+R",
     "L HIGH+R HIGH+L LOW+R LOW+M SUB"),
    (40, 22241, "Stereo 2-Way with Aux Fed Sub", "Stereo 2Way + Aux Sub", "L+R+A",
     "L HIGH+R HIGH+L LOW+R LOW+A SUB"),
    (41, 22212, "Stereo 2-Way with Mono x2 Subs", "Stereo 2Way + Mono Subs x2", "L+R",
     "L HIGH+R HIGH+L LOW+R LOW+M SUB 1+M SUB 2"),
    (42, 22242, "Stereo 2-Way with Aux Fed Sub x2", "Stereo 2Way + Aux Subs x2", "L+R+A",
     "L HIGH+R HIGH+L LOW+R LOW+A SUB 1+A SUB 2"),
    (43, 22222, "Stereo 2-Way with Stereo Subs", "Stereo 2Way + Stereo Subs", "L+R",
     "L HIGH+R HIGH+L LOW+R LOW+L SUB+R SUB"),
    (44, 22300, "Stereo 3-Way", "Stereo 3Way", "L+R",
     "L HIGH+R HIGH+L MID+R MID+L LOW+R LOW"),
    (45, 33100, "LCR Fullrange", "LCR Full Range", "L+C+R",
     "L FULL RANGE+C FULL RANGE+R FULL RANGE"),
    (46, 33111, "LCR Fullrange with Mono Sub", "LCR Full Range + Mono Sub", "L+C+R",
     "L MAIN+C MAIN+R MAIN+M SUB"),
    (47, 33112, "LCR Fullrange with Mono x2 Subs", "LCR Full Range + Mono Subs x2", "L+C+R",
     "L MAIN+C MAIN+R MAIN+M SUB 1+M SUB 2"),
    (48, 33113, "LCR Fullrange with Mono x3 Subs", "LCR Full Range + Mono Subs x3", "L+C+R",
     "L MAIN+C MAIN+R MAIN+M SUB 1+M SUB 2+M SUB 3"),
    (49, 33122, "LCR Fullrange with Stereo Subs", "LCR Full Range + Stereo Subs", "L+C+R",
     "L MAIN+C MAIN+R MAIN+L SUB+R SUB"),
    (50, 33133, "LCR Fullrange with LCR Subs", "LCR Full Range + LCR Subs", "L+C+R",
     "L MAIN+C MAIN+R MAIN+L SUB+C SUB+R SUB"),
    (51, 33200, "LCR 2-Way", "LCR 2Way", "L+C+R", "L HIGH+C HIGH+R HIGH+L LOW+C LOW+R LOW"),
]

MODE_WORDS = {1: "Mono", 2: "Stereo", 3: "LCR"}
SUB_WORDS = {0: "None", 1: "Mono", 2: "Stereo", 3: "LCR", 4: "Aux Fed"}
BAND_LABELS = {
    1: ["FULL RANGE"],
    2: ["HIGHS", "LOWS"],
    3: ["HIGHS", "MIDS", "LOWS"],
    4: ["HIGHS", "MIDS", "LOW-MIDS", "LOWS"],
    5: ["HIGHS", "MID-HIGHS", "MIDS", "LOW-MIDS", "LOWS"],
    6: ["HIGHS", "MID-HIGHS", "MIDS", "LOW-MIDS", "LOWS", "SUB-LOWS"],
}


def digits(code):
    return [int(c) for c in "%05d" % code]


def iir_words(code):
    m, n, w, f, s = digits(code)
    ways = "Fullrange" if w == 1 else "%d-Way" % w
    return [MODE_WORDS[m], "Mains=%d" % n, ways, SUB_WORDS[f], "Subs=%d" % s]


def iir_attributes(code):
    """The fifteen IIR crossover attributes, as the builder sets them."""
    m, n, w, f, s = digits(code)
    sub_by_n = int(f in (1, 4) and s in (2, 3))
    return {
        "Format": m, "NumMainCabinets": n, "NumBands": w, "SubFormat": f, "NumSubCabinets": s,
        "CabByN": int(n > m), "CabByBand": int(n <= m), "SubByN": sub_by_n,
        "SubByFormat": int(s != 0 and not sub_by_n), "SubSumMono": int(f == 1 and f < m),
        "SubSumStereo": int(f == 2 and f < m), "SubNoSum": int(f == m), "AuxSub": int(f == 4),
        "CutMain": int(m == 1 and f > 0 and f != 4), "CutSub": int(m >= 2 and f > 0 and f != 4),
    }


def starred(display_name):
    """Marks where speaker names go: after the mains word and after the sub description."""
    main, _, sub = display_name.partition(" + ")
    first, _, rest = main.partition(" ")
    text = first + "*" + (" " + rest if rest else "")
    return text + (" + " + sub + "*" if sub else "")


def check_catalogue():
    codes = set()
    for ident, code, name, display, inputs, outputs in CATALOGUE:
        m, n, w, f, s = digits(code)
        assert code not in codes, code
        codes.add(code)
        assert len(inputs.split("+")) == m + (1 if f == 4 else 0), name
        assert len(outputs.split("+")) == n * w + s, name
        attrs = iir_attributes(code)
        assert attrs["SubNoSum"] == 0 or attrs["SubByN"] != attrs["SubByFormat"], name
        assert f == 0 or attrs["SubSumMono"] + attrs["SubSumStereo"] + attrs["SubNoSum"] \
            + attrs["AuxSub"] == 1, name
        assert starred(display).replace("*", "") == display
    assert [row[0] for row in CATALOGUE] == list(range(1, 52))


def numbered(word, first, last):
    return ["%s %d" % (word, k) for k in range(first, last + 1)]


def recommended_input_names():
    names = numbered("Orvel link", 1, 8) + ["Mono", "Left", "Right", "Center", "Aux Sub"]
    names += numbered("Aux Send", 1, 8) + numbered("Monitor", 1, 8) + numbered("Matrix", 1, 8)
    names += numbered("Delay", 1, 8) + ["Aux Music"]
    assert len(names) == 46
    return names


def recommended_output_names():
    names = numbered("Output", 1, 6) + ["Mono Main"] + numbered("Mono Main", 1, 3)
    names += ["Mono High", "Mono Mid", "Mono Low", "Mono Sub"] + numbered("Mono Sub", 1, 3)
    names += ["Left Main", "Right Main", "Center Main"]
    for band in ("High", "Mid", "Low", "Sub"):
        names += ["Left " + band, "Right " + band, "Center " + band]
    names += ["Aux Sub"] + numbered("Aux Sub", 1, 3)
    names += numbered("Front Fill", 1, 4) + numbered("Under Balcony", 1, 4)
    names += numbered("Delay", 1, 8) + numbered("Monitor", 1, 8)
    names += ["Side Fill Left", "Side Fill Right", "Lobby", "Green Room", "Dressing Room",
              "Backstage", "Record Left", "Record Right", "Broadcast Left", "Broadcast Right"]
    names += numbered("Aux Send", 1, 8) + numbered("Matrix", 1, 8) + numbered("Out Fill", 1, 4)
    names += numbered("Balcony", 1, 2) + ["Stage Left", "Stage Right", "Center Cluster"]
    names += numbered("Zone", 1, 6)
    assert len(names) == 101 and len(set(names)) == 101
    return names


def po(type_name, info, class_name, auto_wire, dsp, pattern=None, attributes=None,
       sv_values=None):
    template = {}
    if pattern is not None:
        template[".builder"] = {"NamePattern": pattern}
    if type_name is not None:
        template[".type"] = type_name
    if info is not None:
        template[".info"] = info
    template["ClassName"] = class_name
    template["AutoWire"] = auto_wire
    if dsp is not None:
        template["Properties"] = {"DSP": dsp}
    if attributes is not None:
        template["Attributes"] = attributes
    if sv_values is not None:
        template["SVValues"] = sv_values
    return template


def mutes(count):
    return {"Channel_%d_Mute" % k: "Off" for k in range(1, count + 1)}


def one_channel(**extra):
    attributes = dict(extra)
    attributes["NumChans"] = 1
    return attributes


def insert_templates(prefix, dsp, suffix):
    """The insert processors shared by the input and mid sections."""
    section = "In" if prefix == "In_" else "Mid"
    return {
        prefix + "SubharmonicSynth": po("SubharmonicSynth", "SUB", "SpandrellSubHarmonicSynth",
                                        True, dsp, "SubharmonicSynth%s#" % suffix,
                                        one_channel()),
        prefix + "Compressor": po("Compressor", "CMP", "yoxlKaloCompressor", True, dsp,
                                  "Compressor%s#" % suffix, one_channel()),
        prefix + "Gate": po("Gate", "GAT", "yoxlGate", True, dsp, "Gate%s#" % suffix,
                            one_channel()),
        prefix + "AGC": po("AGC", "AGC", "yoxlAGC", True, dsp, "AGC%s#" % suffix, one_channel()),
        prefix + "Delay": po(section + "Delay", "DLY", "SpandrellDelay", True, dsp,
                             "Delay%s#" % suffix, one_channel(MaxDelay=1000)),
    }


def router(info, route_mix, inputs, type_name, dsp, pattern, auto_wire):
    return po(type_name, info, "yoxlKalo480FixedRouter", auto_wire, dsp, pattern,
              {"NumInputs": inputs, "RouteMix": route_mix, "MasterGain": 1})


def templates():
    t = {}
    t["SignalGenerator"] = po("SignalGenerator", None, "yoxlKaloSignalGenerator", False, "dsp2")
    t["RTARouter"] = po("15x1RTARouter", "RTR", "yoxlKalo480RTARouter", False, "dsp2")
    t["RTA"] = po("RealTimeAnalyzer", "RTA", "SpandrellRTApeak", False, "dsp2")
    t["InputMeters"] = po(None, None, "yoxlLevelAndClipMeter", False, "dsp1",
                          attributes={"NumChans": 7})
    t["Meters123"] = po(None, None, "yoxlLevelAndClipMeter", False, "dsp2",
                        attributes={"NumChans": 3})
    t["MetersABC"] = po(None, None, "yoxlLevelAndClipMeter", False, "dsp2",
                        attributes={"NumChans": 3})
    t["MidMeters"] = po(None, None, "yoxlLevelAndClipMeter", False, "dsp2",
                        attributes={"NumChans": 6})
    t["OutputMeters"] = po(None, None, "yoxlLevelMeter", False, "dsp3",
                           attributes={"NumChans": 6})
    # Kept in the file for the device's own tools; the builder never installs them.
    t["FindChirpGain"] = po(None, None, "yoxlFindChirpGain", False, "dsp2", attributes={})
    t["LevelAssist"] = po(None, None, "yoxlLevelAssist", False, "dsp2", attributes={})
    t["AutoEQ"] = po(None, None, "yoxlKaloAutoEQ", False, "dsp2", attributes={})
    t["AutoEQMixer"] = po(None, None, "yoxlKalo480Mixer", False, "dsp2",
                          attributes={"NumInputs": 4, "NumOutputs": 1})
    for k, (dsp, chans) in enumerate([("dsp1", 8), ("dsp2", 16), ("dsp3", 8)], start=1):
        t["Inputs%d" % k] = po(None, None, "DSPInput", True, dsp, attributes={"NumChans": chans})
    for k, (dsp, chans) in enumerate([("dsp1", 16), ("dsp2", 8), ("dsp3", 8)], start=1):
        t["Outputs%d" % k] = po(None, None, "DSPOutput", True, dsp,
                                attributes={"NumChans": chans})
    t["In_Mixer"] = po("8x1InputMixer", "MIX", "yoxlKalo480Mixer", True, "dsp1", "InMixer#",
                       {"NumInputs": 8, "NumOutputs": 1})
    t["In_Router"] = po("8x8InputRouter", "RTR", "yoxlKalo480Router", True, "dsp1", "InRouter#",
                        {"NumInputs": 8, "NumOutputs": 8})
    for k in range(1, 8):
        t["In_Router_In%d" % k] = router(str(k), "In%d" % k, 8, "FixedInputRoute", "dsp1",
                                         "InRouter#", True)
    t["In_Nuq"] = po("Nuq", "Nuq", "SpandrellNuq", True, "dsp1", "Nuq#",
                     {"NumChans": 1, "ProcessDelay": 0})
    t["In_GEQ"] = po("GraphicEQ", "GEQ", "SpandrellGEQ", True, "dsp1", "GEQ#", {"NumChans": 1})
    t["In_PEQ"] = po("ParametricEQ", "PEQ", "SpandrellPEQ", True, "dsp1", "PEQ#",
                     one_channel(PEQType=2, NumBands=8))
    inserts = insert_templates("In_", "dsp1", "")
    for name in ("In_SubharmonicSynth", "In_Compressor", "In_Gate", "In_AGC", "In_Delay"):
        t[name] = inserts[name]
    t["Mid_Mixer"] = po("14x1MidMixer", "MIX", "yoxlKalo480Mixer", False, "dsp2", "MidMixer#",
                        {"NumInputs": 14, "NumOutputs": 1})
    t["Mid_Mixer_ABC"] = po("MidMixerABC", "MIX", "yoxlKalo480Mixer", False, "dsp2",
                            "MidMixer#", {"NumInputs": 4, "NumOutputs": 1})
    t["Mid_Mixer_123"] = po("MidMixer123", "MIX", "yoxlKalo480Mixer", False, "dsp2",
                            "MidMixer#", {"NumInputs": 4, "NumOutputs": 1})
    t["Mid_Mixer_Inputs"] = po("MidMixerInputs", "MIX", "yoxlKalo480Mixer", False, "dsp2",
                               "MidMixer#", {"NumInputs": 8, "NumOutputs": 1})
    for mix in ("A", "B", "C", "A+B", "B+C", "A+B+C"):
        t["Mid_Router_" + mix] = router(mix, mix, 4, "MidRouterABC", "dsp2", "MidRouter#", False)
    for mix in ("1", "2", "3", "1+2", "2+3", "1+2+3"):
        t["Mid_Router_" + mix] = router(mix, mix, 4, "MidRouter123", "dsp2", "MidRouter#", False)
    for k in range(1, 8):
        t["Mid_Router_In%d" % k] = router(str(k), "In%d" % k, 8, "FixedInputRoute", "dsp2",
                                          "MidRouter#", False)
    t["Mid_AutoEQ"] = po("AutoEQPEQ", "AEQ", "yoxlKaloAutoEQPEQ", True, "dsp2", "AutoEQ#",
                         {"NumBands": 14, "AutoEqBands": 10, "NumChans": 1})
    inserts = insert_templates("Mid_", "dsp2", "Mid")
    for name in ("Mid_SubharmonicSynth", "Mid_Compressor", "Mid_Gate", "Mid_AGC", "Mid_Delay"):
        t[name] = inserts[name]
    t["Out_CrossoverIIR"] = po(None, "IIR", "Kalo480Crossover", True, "dsp3", "CrossoverIIR#",
                               {})
    t["Out_CrossoverFIR"] = po(None, "FIR", "SpandrellCrossover", True, "dsp3", "CrossoverFIR#",
                               {"MonoSub": 0, "NumBands": 1, "NumSlots": 1})
    t["Out_PEQ"] = po("ParametricEQ", "PEQ", "SpandrellPEQ", True, "dsp3", "PEQOut#",
                      one_channel(PEQType=2, NumBands=8))
    t["Out_PEQ_Jq+"] = po("ParametricEQJq", "PEQ", "yoxlKaloPEQ", True, "dsp3", "PEQOut#",
                          one_channel(PEQType=1, NumBands=8))
    t["Out_PEQ_Morla"] = po("ParametricEQ", "PEQ", "SpandrellPEQ", True, "dsp3", "PEQOut#",
                            one_channel(PEQType=2, NumBands=8))
    t["Out_ZoneGain"] = po(None, None, "SpandrellGain", True, "dsp3", "ZoneGains",
                           {"NumChans": 6})
    t["Out_OutputGain"] = po(None, None, "SpandrellGain", True, "dsp3", "OutputGains",
                             {"NumChans": 6}, mutes(6))
    t["Out_Limiter"] = po("Limiter", "LMT", "yoxlKaloLimiter", True, "dsp3", "Limiter#",
                          one_channel())
    t["Out_Delay"] = po("OutDelay", "DLY", "SpandrellDelay", True, "dsp3", "DelayOut#",
                        one_channel(MaxDelay=1000))
    t["Out_CrossoverQX8"] = po(None, "XOR", "SpandrellCrossover", True, "dsp3", "Crossover#",
                               {"NumSlots": 1, "NumBands": 1, "MonoSub": 0})
    router_attributes = {"Slot%dSource" % k: k - 1 for k in range(1, 8)}
    sources = ["Analog1", "Analog2", "Analog3", "AES1", "AES2", "AES3", "AES4"]
    sources += ["OptionCard%d" % k for k in range(1, 9)]
    for k, source in enumerate(sources, start=1):
        router_attributes["Source%dName" % k] = source
    t["InputRouter"] = po("Inputs(FPGA)", "INR", "yoxlKalo480InputRouter", False, None,
                          "InputRouter", router_attributes)
    t["Output"] = po("OutputName", "OUT", "yoxlKalo480Output", False, None, "Output#",
                     {"OutputName": "Output Name"})
    t["InputGains"] = po(None, None, "SpandrellGain", True, "dsp1", attributes={"NumChans": 8},
                         sv_values=mutes(8))
    # The crossover templates get their display type from the builder.
    for name in ("Out_CrossoverIIR", "Out_CrossoverFIR", "Out_CrossoverQX8"):
        t[name][".type"] = None
    return t


FILE_ORDER = (
    ["SignalGenerator", "RTARouter", "RTA", "InputMeters", "Meters123", "MetersABC",
     "MidMeters", "OutputMeters", "FindChirpGain", "LevelAssist", "AutoEQ", "AutoEQMixer",
     "Inputs1", "Inputs2", "Inputs3", "Outputs1", "Outputs2", "Outputs3", "In_Mixer",
     "In_Router"] + ["In_Router_In%d" % k for k in range(1, 8)]
    + ["In_Nuq", "In_GEQ", "In_PEQ", "In_SubharmonicSynth", "In_Compressor", "In_Gate",
       "In_AGC", "In_Delay", "Mid_Mixer", "Mid_Mixer_ABC", "Mid_Mixer_123", "Mid_Mixer_Inputs",
       "Mid_Router_A", "Mid_Router_B", "Mid_Router_C", "Mid_Router_A+B", "Mid_Router_B+C",
       "Mid_Router_A+B+C", "Mid_Router_1", "Mid_Router_2", "Mid_Router_3", "Mid_Router_1+2",
       "Mid_Router_2+3", "Mid_Router_1+2+3"] + ["Mid_Router_In%d" % k for k in range(1, 8)]
    + ["Mid_AutoEQ", "Mid_SubharmonicSynth", "Mid_Compressor", "Mid_Gate", "Mid_AGC",
       "Mid_Delay", "Out_CrossoverIIR", "Out_CrossoverFIR", "Out_PEQ", "Out_PEQ_Jq+",
       "Out_PEQ_Morla", "Out_ZoneGain", "Out_OutputGain", "Out_Limiter", "Out_Delay",
       "Out_CrossoverQX8", "InputRouter", "Output", "InputGains"])

INSERTS = ["In_AGC", "In_Delay", "In_Compressor", "In_GEQ", "In_Gate", "In_PEQ",
           "In_SubharmonicSynth"]
MID_ROUTING = (["Mid_Router_In%d" % k for k in range(1, 8)]
               + ["Mid_Mixer_Inputs", "Mid_Router_1", "Mid_Router_2", "Mid_Router_3",
                  "Mid_Router_1+2", "Mid_Router_2+3", "Mid_Router_1+2+3", "Mid_Mixer_123",
                  "Mid_Router_A", "Mid_Router_B", "Mid_Router_C", "Mid_Router_A+B",
                  "Mid_Router_B+C", "Mid_Router_A+B+C", "Mid_Mixer_ABC"])

SLOTS = [
    ("Column_InputRouter", ["InputRouter"]),
    ("Column_In_Mixer", ["In_Router_In%d" % k for k in range(1, 8)] + ["In_Mixer"]),
    ("Column_In_Nuq", ["In_Nuq"]),
    ("Column_In_Insert1", INSERTS),
    ("Column_In_Insert2", INSERTS),
    ("Column_Mid_Mixer", MID_ROUTING),
    ("Column_Mid_AutoEQ", ["Mid_AutoEQ"]),
    ("Column_Mid_Insert", ["Mid_AGC", "Mid_Compressor", "Mid_Gate", "Mid_SubharmonicSynth",
                           "Mid_Delay"]),
    ("Column_Out_Crossover", ["Out_CrossoverQX8", "Out_CrossoverIIR", "Out_CrossoverFIR"]),
    ("Column_Out_PEQ", ["Out_PEQ_Jq+", "Out_PEQ_Morla"]),
    ("Column_Out_ZoneGain", ["Out_ZoneGain"]),
    ("Column_Out_Gain", ["Out_OutputGain"]),
    ("Column_Out_Limiter", ["Out_Limiter"]),
    ("Column_Out_Delay", ["Out_Delay"]),
    ("Column_Output", ["Output"]),
]


def default_config():
    sources = ["OptionCard%d" % k for k in range(1, 9)]
    items = {
        "Column_InputRouter": [["InputRouter", list(range(7)), sources]],
        "Column_In_Mixer": [["In_Mixer"]] * 3,
        "Column_In_Nuq": [["In_Nuq", 1]] * 3,
        "Column_In_Insert1": [["In_GEQ", 1]] * 3,
        "Column_In_Insert2": [["In_SubharmonicSynth", 1]] * 3,
        "Column_Mid_Mixer": [["Mid_Mixer_ABC"]] * 6,
        "Column_Mid_AutoEQ": [["Mid_AutoEQ", 1]] * 6,
        "Column_Mid_Insert": [["Mid_Compressor", 1]] * 6,
        "Column_Out_Crossover": [["Out_CrossoverIIR", "Mono Fullrange"]] * 6,
        "Column_Out_PEQ": [["Out_PEQ_Morla", 1]] * 6,
        "Column_Out_ZoneGain": [["Out_ZoneGain", 6]],
        "Column_Out_Gain": [["Out_OutputGain", 6]],
        "Column_Out_Limiter": [["Out_Limiter", 1]] * 6,
        "Column_Out_Delay": [["Out_Delay", 1]] * 6,
        "Column_Output": [["Output", "Output %d" % k] for k in range(1, 7)],
    }
    columns = [[name] + items[name] for name, _ in SLOTS]
    return {"Format": "BuilderConfig", "Device": "Kalo480", "Version": 5, "Columns": columns}


QX8_TYPES = {"1x%d" % k: [1, k, 0] for k in range(1, 7)}
QX8_TYPES.update({"2x2": [2, 1, 0], "2x3": [2, 1, 1], "2x4": [2, 2, 0], "2x5": [2, 2, 1],
                  "2x6": [2, 3, 0]})

# Display names of every object type that a column may hold, plus the fixed ones shown in grids.
TYPE_NAMES = {
    "Inputs(FPGA)": ("INPUTS", "Input Router"),
    "8x1InputMixer": ("MIX", "Input Mixer"),
    "FixedInputRoute": ("IN*", "Input Route #"),
    "Nuq": ("NUQ", "Nuq"),
    "GraphicEQ": ("GEQ", "Graphic EQ"),
    "ParametricEQ": ("PEQ", "Parametric EQ"),
    "ParametricEQJq": ("PEQ", "Parametric EQ (Jq+)"),
    "SubharmonicSynth": ("SUB", "Subharmonic Synth"),
    "Compressor": ("CMP", "Compressor"),
    "Gate": ("GAT", "Noise Gate"),
    "AGC": ("AGC", "Automatic Gain Control"),
    "InDelay": ("DLY", "Backline Delay"),
    "MidDelay": ("DLY", "Fill Delay"),
    "OutDelay": ("DLY", "Alignment Delay"),
    "14x1MidMixer": ("MIX", "Mid Mixer 14x1"),
    "MidMixerABC": ("MIX", "Mid Mixer A+B+C"),
    "MidMixer123": ("MIX", "Mid Mixer 1+2+3"),
    "MidMixerInputs": ("MIX", "Mid Mixer Inputs"),
    "MidRouterABC": ("#", "Route #"),
    "MidRouter123": ("#", "Route #"),
    "AutoEQPEQ": ("AEQ", "Auto EQ"),
    "Limiter": ("LMT", "Limiter"),
    "OutputName": ("OUT #", "*"),
    "SignalGenerator": ("SIG", "Signal Generator"),
    "15x1RTARouter": ("RTR", "RTA Router"),
}


def names():
    records = {}
    for type_name, (short, long_name) in TYPE_NAMES.items():
        records[type_name] = {"short": short, "long": long_name}
    records["RealTimeAnalyzer"] = {"short": "RTA", "long": "Real Time Analyzer"}
    for n, type_name in enumerate(sorted(QX8_TYPES), start=1):
        records["QX8 " + type_name] = {"short": type_name, "long": "QX8 Crossover " + type_name,
                                       "xover": "QX8 " + type_name, "n": n}
    for ident, code, name, display, _, outputs in CATALOGUE:
        _, _, w, _, s = digits(code)
        bands = list(BAND_LABELS[w])
        if s > 0:
            bands = (["MAINS"] if w == 1 else bands) + ["SUBS"]
        records["IIR " + name] = {
            "short": display, "long": display, "xover": starred(display), "n": ident,
            "imgCC": "CC_%d.png" % code, "imgSS": "SS_%d.png" % code,
            "outputs": outputs.split("+"), "bands": bands,
        }
    assert len(records) == 88, len(records)
    return records


def iir_defaults():
    ways = ["Full-Range"] + ["%d-Way" % k for k in range(2, 7)]
    layouts = {}
    for k, layout in enumerate(ways, start=1):
        bands = {}
        for band in range(1, k + 1):
            high_pass = "Out" if band == k else "BW 6"
            bands["Band_%d" % band] = ["Out" if band == k else "80Hz", high_pass,
                                       "Out" if band == 1 else "2.5kHz", "LR 48"]
        layouts[layout] = bands
    for layout, k in (("Main + Sub", 1), ("2-Way + Sub", 2), ("3-Way + Sub", 3)):
        bands = dict(layouts["Full-Range" if k == 1 else "%d-Way" % k])
        bands["Sub"] = ["25Hz", "BW 24", "80Hz", "LR 48"]
        layouts[layout] = bands
    return layouts


def templates_document():
    document = {
        ".version": 19,
        ".slots": {name: allowed for name, allowed in SLOTS},
        ".default": default_config(),
        ".recommendedInputNames": recommended_input_names(),
        ".recommendedOutputNames": recommended_output_names(),
        ".copyPasteCompatibility": [
            ["In_AGC", "Mid_AGC"],
            ["In_Delay", "Mid_Delay", "Out_Delay"],
            ["In_Compressor", "Mid_Compressor"],
            ["In_Gate", "Mid_Gate"],
            ["In_SubharmonicSynth", "Mid_SubharmonicSynth"],
            ["In_PEQ", "Out_PEQ", "Out_PEQ_Jq+", "Out_PEQ_Morla"],
            ["Out_ZoneGain", "Out_OutputGain"],
        ],
        ".copyPasteTypeCompatibility": [
            ["In_AGC", "Mid_AGC"], ["In_Delay", "Mid_Delay"],
            ["In_Compressor", "Mid_Compressor"], ["In_Gate", "Mid_Gate"],
            ["In_SubharmonicSynth", "Mid_SubharmonicSynth"],
        ],
        ".names": names(),
        ".crossoverQX8Types": QX8_TYPES,
        ".crossoverIIRTypes": {row[2]: iir_words(row[1]) for row in CATALOGUE},
        ".crossoverFIRTypes": {},
        ".crossoverIIRDefaults": iir_defaults(),
    }
    all_templates = templates()
    assert sorted(all_templates) == sorted(FILE_ORDER) and len(FILE_ORDER) == 77
    for name in FILE_ORDER:
        document[name] = all_templates[name]
    assert len(document) == 89
    return document


def catalogue_document():
    lines = ['<?xml version="1.0" encoding="UTF-8"?>', "<CrossoverTypes>"]
    for ident, code, name, display, inputs, outputs in CATALOGUE:
        attributes = json.dumps(iir_attributes(code), separators=(",", ":"))
        lines += [
            '    <CrossoverType id="%2d" code="%d">' % (ident, code),
            "        <configName>%s</configName>" % escape(name),
            "        <DisplayName>%s</DisplayName>" % escape(display),
            "        <Inputs name=%s>%d</Inputs>" % (quoteattr(inputs), len(inputs.split("+"))),
            "        <Outputs name=%s>%d</Outputs>" % (quoteattr(outputs),
                                                       len(outputs.split("+"))),
            "        <poAttributes>%s</poAttributes>" % escape(attributes),
            "    </CrossoverType>",
        ]
    lines.append("</CrossoverTypes>")
    return "\n".join(lines) + "\n"


def write(path, text):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "w", encoding="utf-8") as out:
        out.write(text)


def main(output_root):
    check_catalogue()
    write(os.path.join(output_root, TEMPLATES_FILE),
          json.dumps(templates_document(), indent=4) + "\n")
    write(os.path.join(output_root, CATALOGUE_FILE), catalogue_document())


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else ROOT)
