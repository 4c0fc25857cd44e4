#!/usr/bin/env bash
# Pictures of the application's pages: builds, then, inside a loopback-only network namespace and
# under Xvfb, logs the application in to a VirtualQX8 and opens each page of the list below as
# its home-screen button does, saving one PNG per page once its values have arrived. Each run
# starts with settings and data folders of its own. The X screen is the one scripts/run.sh gets
# from a plain Xvfb (1280 x 1024 at 100 dpi: every size scaled by 1.042, as on a monitor of that
# density); the maximised set has a 1920 x 1080 screen of the same density. The sets:
#   OUTDIR/<page>.png               1024 x 768, the device's own values
#   OUTDIR/1920x1080/<page>.png     the window maximised on a 1920 x 1080 screen
#   OUTDIR/other-values/<page>.png  1024 x 768, a device set to other values (below)
#   OUTDIR/wizard/wizard-<page>.png the wizard pages and dialogs, from the wizard suites
#   OUTDIR/screens/<screen>.png     the screens that are no page of a block: splash, discovery
#                                   with its list and dialogs, presets, utilities, tunings, the
#                                   help overlay and the offline model, from their suites
# Any QML warning fails the run. Usage: scripts/screenshots.sh OUTDIR
set -euo pipefail
cd "$(dirname "$0")/.."
[ "$#" -eq 1 ] || { echo "usage: scripts/screenshots.sh OUTDIR" >&2; exit 2; }
out=$(realpath -m "$1")

# One page a line: picture name | GUI signal | payload | page file [| settings written first
# [| VirtualQX8 control commands first]].
pages=(
    "home|HomeButtonPressed||QX8HomeScreen.qml"
    "peq-high|PEQ|High|QX8PEQ.qml"
    "peq-mid|PEQ|Mid|QX8PEQ.qml"
    "peq-low|PEQ|Low|QX8PEQ.qml"
    "aeq|AEQ||QX8AEQ.qml"
    "geq|GEQ|StereoGEQ|QX8GEQ.qml"
    "nuq|Nuq||ScreenNuq.qml"
    "crossover|Crossover|Low|CrossOver.qml"
    "mixer|MIX|StereoMixer|ScreenMixer.qml"
    "input-router|InputRouter||ScreenInputRouter.qml"
    "output-meters|1|Output|ScreenOutputMeters.qml"
    "delay|Delay|Mid|ScreenDelay.qml"
    "input-delay|InputDelay|Input:None|InputDelay.qml"
    "limiter-high|LMT|High|QX8Limiter.qml"
    "limiter-mid|LMT|Mid|QX8Limiter.qml"
    "limiter-low|LMT|Low|QX8Limiter.qml"
    "compressor|CMP||QX8Compressor.qml"
    "gate|GAT||ScreenGate.qml"
    "agc|AGC||ScreenAGC.qml"
    "subharmonic|SUB||QX8SubHarmonic.qml"
    "rta|RTA||ScreenRTA.qml"
    "signal-generator|SIGGEN||ScreenSigGen.qml"
    "config-home|HomeButtonPressed||QX8HomeScreen.qml|Data/ConfigurableHomeScreen=true"
    "config-router|HomeButtonPressed||QX8HomeScreen.qml|isConfigMode=true;Data/ConfigData=in:0:0"
    "config-mixer|HomeButtonPressed||QX8HomeScreen.qml|isConfigMode=true;Data/ConfigData=out:0:1"
    "config-insert|HomeButtonPressed||QX8HomeScreen.qml|isConfigMode=true;Data/ConfigData=in:3:0"
    "config-crossover|HomeButtonPressed||QX8HomeScreen.qml|isConfigMode=true;Data/ConfigData=out:3:0"
    "config-outputs|HomeButtonPressed||QX8HomeScreen.qml|isConfigMode=true;Data/ConfigData=out:7:2"
    # Pages as a block of the configurable home screen opens them: its object's description first.
    'config-mixer-page|MIX|InMixer1|ScreenMixer.qml|isConfigMode=false;Data/CurrentPOData={"POName":"InMixer1",".info":"MIX",".type":"8x1InputMixer","ClassName":"yoxlKalo480Mixer","Attributes":{"NumInputs":8,"NumOutputs":1},"SVValues":{"Output_1_Input_1_Gain":"0","Output_1_Input_2_Gain":"-120","Output_1_Input_3_Gain":"-120","Output_1_Input_4_Gain":"-120","Output_1_Input_5_Gain":"-120","Output_1_Input_6_Gain":"-120","Output_1_Input_7_Gain":"-120","Output_1_Input_8_Gain":"-120"}}'
    'config-crossover-page|Crossover|CrossoverIIR1|CrossOver.qml|Data/CurrentPOData={"POName":"CrossoverIIR1",".info":"1x1",".type":"IIR Mono Fullrange","ClassName":"Kalo480Crossover","Attributes":{"NumBands":1,"NumMainCabinets":1,"NumSubCabinets":0}}'
    # A page whose object the device's preset lacks, until the set-up choices put it there;
    # last, as the choices change the preset for every page after them.
    "geq-left-absent|GEQ|LeftGEQ|QX8GEQ.qml"
    'geq-left|GEQ|LeftGEQ|QX8GEQ.qml||set "\\Node\SetupWizardCurrentChoices\SV\GEQSetup\" "Dual Mono"'
    "geq-right|GEQ|RightGEQ|QX8GEQ.qml"
    'mixer-mono|MIX|MonoMixer|ScreenMixer.qml||set "\\Node\SetupWizardCurrentChoices\SV\InputMixing\" "Mono"'
)

# The other device, as a front panel would set it: commands for VirtualQX8's standard input.
room_curve=$(python3 -c '
import math
print(" ".join("%.1f" % (4 * math.sin(i / 37.0) - 3 * math.exp(-((i - 300) / 40.0) ** 2))
               for i in range(626)))')
other_values=(
    'set "\\Preset\HighPEQ\SV\Band_3_Gain\" "-7.5"'
    'set "\\Preset\HighPEQ\SV\Band_3_Q\" "4"'
    'set "\\Preset\LowPEQ\SV\Band_1_Type\" "Bell"'
    'set "\\Preset\LowPEQ\SV\Band_1_Gain\" "6"'
    'set "\\Preset\LowPEQ\SV\ParametricEQ\" "Off"'
    "set \"\\\\Preset\\RoomEQ\\SV\\Response\\\" \"$room_curve\""
    'set "\\Preset\StereoGEQ\SV\1.0 kHz\" "-9"'
    'set "\\Preset\StereoGEQ\SV\63 Hz\" "8"'
    'set "\\Preset\Nuq\SV\Band_5_Gain\" "-15"'
    'set "\\Preset\Nuq\SV\Band_5_Frequency\" "3150"'
    'set "\\Preset\Nuq\SV\HighPass\" "Off"'
    'set "\\Preset\Crossover\SV\Band_1_HPType\" "BW 12"'
    'set "\\Preset\Crossover\SV\Band_2_Gain\" "-4"'
    'set "\\Preset\Crossover\SV\Band_2_Polarity\" "Inverted"'
    'set "\\Preset\StereoMixer\SV\Input_2_Mute\" "On"'
    'set "\\Preset\StereoMixer\SV\Input_5_Gain\" "-18"'
    'set "\\Preset\InputRouter\SV\Slot1Source\" "AES2"'
    'set "\\Preset\OutputGains\SV\Channel_4_Mute\" "On"'
    'set "\\Preset\OutputGains\SV\Channel_6_Gain\" "-12"'
    'set "\\Preset\MidDelay\SV\Amount\" "14.8"'
    'set "\\Preset\InputDelay\SV\Delay\" "Off"'
    'set "\\Preset\Gate\SV\Gate\" "On"'
    'set "\\Preset\HighLimiter\SV\Threshold\" "-6"'
    'set "\\Preset\HighLimiter\SV\OverEasy\" "0"'
    'set "\\Preset\Compressor\SV\Ratio\" "100"'
    'set "\\Preset\Compressor\SV\Threshold\" "-32"'
    'set "\\Preset\Gate\SV\MaxAttenuation\" "200"'
    'set "\\Preset\AGC\SV\AGC\" "On"'
    'set "\\Preset\AGC\SV\Window\" "12"'
    'set "\\Preset\SubharmonicSynth\SV\SubharmonicSynth\" "Off"'
    'set "\\Preset\RTA\SV\Gain\" "22"'
    'set "\\Preset\RTARouter\SV\Source\" "AES2"'
    'set "\\Preset\SignalGenerator\SV\SignalGenerator\" "On"'
    'set "\\Preset\SignalGenerator\SV\Signal Type\" "Sine"'
    'set "\\Preset\SignalGenerator\SV\Sine Frequency\" "1250"'
)

scripts/build.sh VirtualQX8 pagescreenshots tst_wizardscreen tst_wizardpages tst_discoverypage \
    tst_presetscreen tst_utilitiesscreen tst_tuningscreen tst_pictures tst_offlinemode
mkdir -p "$out/1920x1080" "$out/other-values"
export QX8_SHOTS_PAGES QX8_SHOTS_DEVICE_OTHER
QX8_SHOTS_PAGES=$(printf '%s\n' "${pages[@]}")
QX8_SHOTS_DEVICE_OTHER=$(printf '%s\n' "${other_values[@]}")

# shellcheck disable=SC2016
exec scripts/netns-run bash -c '
    set -euo pipefail
    out=$1
    work=$(mktemp -d "${TMPDIR:-/tmp}/qx8shots.XXXXXX")
    trap "rm -rf \"$work\"" EXIT
    export LANG=C.UTF-8 LC_ALL=C.UTF-8 QX8_SOURCE_DIR=$PWD \
           QX8_VIRTUAL_PROCESSOR=$PWD/build/simulator/VirtualQX8 \
           QX8_ANALYTICS_URL=http://127.0.0.1:9/collect QX8_CLOUD_BASE_URL=http://127.0.0.1:9
    # Runs a program on an X screen of that size at 100 dpi, with home, settings, data and
    # temporary folders of its own.
    runs=0
    isolated() { # screen program...
        runs=$((runs + 1))
        local run=$work/$runs screen=$1
        shift
        mkdir -p "$run"/{home,config,data,runtime,tmp}
        chmod 700 "$run/runtime"
        HOME=$run/home XDG_CONFIG_HOME=$run/config XDG_DATA_HOME=$run/data \
            XDG_RUNTIME_DIR=$run/runtime TMPDIR=$run/tmp \
            tests/shell/xvfb-screen.sh "$screen" 100 "$@" -silent
    }
    shoot() { # folder screen size device-commands
        QX8_SHOTS_DIR=$1 QX8_SHOTS_SIZE=$3 QX8_SHOTS_DEVICE=$4 \
            isolated "$2" build/tests/shell/pagescreenshots
    }
    shoot "$out" 1280x1024 1024x768 ""
    shoot "$out/1920x1080" 1920x1080 1920x1080 ""
    shoot "$out/other-values" 1280x1024 1024x768 "$QX8_SHOTS_DEVICE_OTHER"
    # The wizard pages and the other screens, as their suites drive them against VirtualQX8:
    # each saves its pictures in the folder QX8_SCREENSHOT_DIR names.
    mkdir -p "$out/wizard" "$out/screens"
    for suite in wizard/tst_wizardscreen wizard/tst_wizardpages; do
        QX8_SCREENSHOT_DIR=$out/wizard isolated 1280x1024 build/tests/$suite
    done
    for suite in tst_discoverypage tst_presetscreen tst_utilitiesscreen tst_tuningscreen \
                 tst_pictures tst_offlinemode; do
        QX8_SCREENSHOT_DIR=$out/screens isolated 1280x1024 build/tests/shell/$suite
    done
' screenshots "$out"
