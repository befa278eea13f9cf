#!/usr/bin/env bash
# Ombrix Chorus in Ardour, headless: ardour/export-session.lua builds a
# session with a test tone into the LV2 plug-in on a stereo track and exports
# it bypassed (Ardour's bypass drives Chorus On/Off) and with the factory
# preset "Deep Flange". The bypassed export must be the steady tone, the
# other one swept by the chorus. Uses a copy of the bundle and a configuration folder of its own.
# Usage: ardour-session.sh BUNDLE_FOLDER WORK_FOLDER
set -euo pipefail
bundle=$1 work=$2
here=$(cd "$(dirname "$0")" && pwd)

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

command -v ardour7-lua >/dev/null || fail "ardour7-lua is missing (scripts/bootstrap installs Debian's ardour)"
rm -rf "$work" && mkdir -p "$work/lv2" "$work/config/ardour7/scripts" "$work/config/ardour7/export"
cp -r "$bundle" "$work/lv2/"
cp "$here/ardour/OmbrixTestTone.lua" "$work/config/ardour7/scripts/"
cp "$here/ardour/ombrix-float.preset" "$work/config/ardour7/export/"
export XDG_CONFIG_HOME=$work/config XDG_CACHE_HOME=$work/cache XDG_DATA_HOME=$work/data LV2_PATH=$work/lv2:/usr/lib/lv2 OMBRIX_SESSION_FOLDER=$work/run

# Ardour 7.3's headless session now and then corrupts its own heap around an
# export, with or without any plug-in in the session (an empty track does
# it too), and dies by a signal. Such a run is repeated, at most four times;
# any other failure counts at once.
for attempt in 1 2 3 4; do
  rm -rf "$work/run"
  status=0
  timeout 300 ardour7-lua "$here/ardour/export-session.lua" >"$work/ardour.log" 2>&1 || status=$?
  [ "$status" -lt 128 ] && break
  echo "ardour7-lua ended by signal $((status - 128)) (attempt $attempt)"
done
grep -vE '^\[(ERROR|WARNING)\]|^Vamp' "$work/ardour.log" || true
[ "$status" -eq 0 ] || fail "ardour7-lua ended with status $status"
grep -qx "plug-in: Ombrix Chorus" "$work/ardour.log" || fail "Ardour did not insert Ombrix Chorus"
grep -qx "presets: 32" "$work/ardour.log" || fail "Ardour does not list 32 presets"
grep -qx "output: Mix (current)" "$work/ardour.log" || fail "Ardour shows no value in use"
grep -qx "Chorus On/Off while bypassed: 0.0" "$work/ardour.log" || fail "Ardour's bypass does not drive Chorus On/Off"

PYTHONDONTWRITEBYTECODE=1 PYTHONPATH=$here python3 - "$work/run/export/bypassed.wav" "$work/run/export/deep-flange.wav" <<'PY' || fail "the exported audio"
import math, struct, sys
from wav_data import wav_data

def channels(path):
    data = wav_data(path)
    if not data:
        sys.exit(f"{path}: no audio")
    samples = struct.unpack("<%df" % (len(data) // 4), data)
    return samples[0::2], samples[1::2]

# The amplitude of a sine of the frequency, from three samples whatever its
# phase: x[n]^2 - x[n-1] x[n+1] = A^2 sin^2(w). Constant for a steady tone;
# a chorus sweeping a delay over it makes it rise and fall.
def amplitudes(samples, hertz, rate=48000):
    sine = math.sin(2 * math.pi * hertz / rate)
    return [math.sqrt(max(samples[n] ** 2 - samples[n - 1] * samples[n + 1], 0.0)) / sine
            for n in range(1, len(samples) - 1)]

ok = True
for name, path in (("bypassed", sys.argv[1]), ("deep-flange", sys.argv[2])):
    left, right = channels(path)
    spread = 0.0
    for samples, hertz in ((left, 220), (right, 330)):
        amplitude = amplitudes(samples, hertz)
        spread = max(spread, max(amplitude) - min(amplitude))
    print(f"{name}: {len(left)} frames, tone amplitude from {min(amplitude):.4f} to {max(amplitude):.4f}")
    ok = ok and len(left) == 2 * 48000 and max(amplitude) > 0.1
    ok = ok and (spread < 1e-4 if name == "bypassed" else spread > 0.05)
sys.exit(0 if ok else 1)
PY
echo "Ardour session checks passed"
