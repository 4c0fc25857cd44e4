#!/usr/bin/env bash
# Pictures of the application's pages: builds, then, inside a loopback-only network namespace and
# under Xvfb, logs the application in to a VirtualQX8 and opens each page of the list below as
# its home-screen button does, saving one PNG per page once its values have arrived. Three sets:
#   OUTDIR/<page>.png               1024 x 768, the device's own values
#   OUTDIR/1920x1080/<page>.png     the window maximised on a 1920 x 1080 screen
#   OUTDIR/other-values/<page>.png  1024 x 768, a device set to other values (below)
# Any QML warning fails the run. Usage: scripts/screenshots.sh OUTDIR
set -euo pipefail
cd "$(dirname "$0")/.."
[ "$#" -eq 1 ] || { echo "usage: scripts/screenshots.sh OUTDIR" >&2; exit 2; }
out=$(realpath -m "$1")

# One page a line: picture name | GUI signal | payload | page file.
pages=(
    "home|HomeButtonPressed||QX8HomeScreen.qml"
    "peq-high|PEQ|High|QX8PEQ.qml"
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
)

scripts/build.sh
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
    mkdir -p "$work"/{home,config,data,runtime}
    chmod 700 "$work/runtime"
    export HOME=$work/home XDG_CONFIG_HOME=$work/config XDG_DATA_HOME=$work/data \
           XDG_RUNTIME_DIR=$work/runtime LANG=C.UTF-8 LC_ALL=C.UTF-8 \
           QX8_VIRTUAL_PROCESSOR=$PWD/build/simulator/VirtualQX8 \
           QX8_ANALYTICS_URL=http://127.0.0.1:9/collect QX8_CLOUD_BASE_URL=http://127.0.0.1:9
    shoot() { # folder size device-commands
        QX8_SHOTS_DIR=$1 QX8_SHOTS_SIZE=$2 QX8_SHOTS_DEVICE=$3 \
            xvfb-run -a -s "-screen 0 1920x1080x24 -dpi 96" \
            build/tests/shell/pagescreenshots -silent
    }
    shoot "$out" 1024x768 ""
    shoot "$out/1920x1080" 1920x1080 ""
    shoot "$out/other-values" 1024x768 "$QX8_SHOTS_DEVICE_OTHER"
' screenshots "$out"
