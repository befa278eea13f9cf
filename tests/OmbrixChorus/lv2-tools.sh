#!/usr/bin/env bash
# OmbrixChorus.lv2 through Debian's LV2 tools, from a copy of the bundle as a
# user installs it: lv2_validate passes its Turtle, lv2ls and lv2info list
# the plug-in, its ports and its 32 presets, and lv2apply renders a file with
# the same samples as the VST 2.4 build's ombrix-render with the same program.
# Usage: lv2-tools.sh BUNDLE_FOLDER OMBRIX_RENDER WORK_FOLDER
set -euo pipefail
bundle=$1 render=$2 work=$3
here=$(cd "$(dirname "$0")" && pwd)
uri=https://tervane.com/plugins/ombrix-chorus

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

rm -rf "$work" && mkdir -p "$work/lv2"
cp -r "$bundle" "$work/lv2/"
installed=$work/lv2/$(basename "$bundle")
# The installed copy and the system's vocabularies, as a host finds them.
export LV2_PATH=$work/lv2:/usr/lib/lv2

echo "== lv2_validate"
lv2_validate "$installed"/*.ttl >"$work/validate.log" 2>&1 || { cat "$work/validate.log"; fail "lv2_validate"; }
grep -q "Found 0 errors" "$work/validate.log" || fail "lv2_validate reports errors"

echo "== lv2ls"
lv2ls | grep -qx "$uri" || fail "lv2ls does not list $uri"
lv2ls -n | grep -qx "Ombrix Chorus" || fail "lv2ls -n does not name Ombrix Chorus"

echo "== lv2info"
lv2info "$uri" >"$work/info.txt" 2>&1 || fail "lv2info"
grep -q "Name: *Ombrix Chorus" "$work/info.txt" || fail "lv2info: name"
grep -q "Class: *Chorus Plugin" "$work/info.txt" || fail "lv2info: class"
grep -q "ui#X11UI" "$work/info.txt" || fail "lv2info: X11 UI"
ports=$(grep -c "^	Port [0-9]*:" "$work/info.txt")
[ "$ports" -eq 21 ] || fail "lv2info lists $ports ports, not 21"
for symbol in in_l in_r out_l out_r midi_in chorus_on_off delay_time mod_depth feedback mix frequency \
    quad_mode mod_wheel mix_current; do
  grep -q "Symbol: *$symbol\$" "$work/info.txt" || fail "lv2info: no port $symbol"
done
grep -q "Designation: *http://lv2plug.in/ns/lv2core#enabled" "$work/info.txt" || fail "lv2info: no enable port"
presets=$(sed -n '/Presets:/,/^$/p' "$work/info.txt" | grep -c '^	  *[^ P]')
[ "$presets" -eq 32 ] || fail "lv2info lists $presets presets, not 32"
for name in "-- KOVRA --" "Twangy Vibrato  (MW)" "Vanthe09"; do
  grep -qF -e "$name" "$work/info.txt" || fail "lv2info: no preset $name"
done

echo "== lv2apply"
"$render" --param "Chorus On/Off=Off" --tail 0 --subtype float -o "$work/dry.wav" >/dev/null
"$render" "$work/dry.wav" --program 0 --tail 0 -o "$work/vst.wav" >/dev/null
# Program 0's port values, as its preset in the bundle holds them.
controls=$(python3 - "$installed/presets.ttl" <<'PY'
import re, sys
turtle = open(sys.argv[1]).read()
preset = turtle[turtle.index("#program-00>"):]
preset = preset[:preset.index(" .\n")]
for symbol, value in re.findall(r'lv2:symbol "(\w+)" ;\s*pset:value ([-0-9.]+)', preset):
    print("-c", symbol, value)
PY
)
# shellcheck disable=SC2086
lv2apply -i "$work/dry.wav" -o "$work/lv2.wav" $controls "$uri" || fail "lv2apply"
PYTHONDONTWRITEBYTECODE=1 PYTHONPATH=$here python3 - "$work/lv2.wav" "$work/vst.wav" <<'PY' || fail "lv2apply's samples differ from the VST 2.4 build's"
import sys
from wav_data import wav_data
lv2, vst = wav_data(sys.argv[1]), wav_data(sys.argv[2])
print(f"{len(lv2) // 8} frames from lv2apply, {len(vst) // 8} from ombrix-render")
sys.exit(0 if lv2 and lv2 == vst else 1)
PY
echo "all LV2 tool checks passed"
