#!/usr/bin/env bash
# Renders one 300-second stereo 44100 Hz float WAV with ombrix-render (factory
# program 0: 25 ms, swept +-0.4 octave at 0.36 Hz, 73 % wet, no feedback), with
# sox's and ffmpeg's chorus at matching settings (one voice, 25 ms, 7 ms sweep,
# 0.36 Hz, sine, 27 % dry and 73 % wet) and with a plain sox copy, the floor
# of reading and writing the file. Five interleaved rounds after one untimed
# warm-up; the table shows medians. Then ombrix-render's peak memory on an
# hour-long file.
#
#   tools/bench/compare.sh [BUILD_DIR]     (default build/bench; needs out/ombrix-render)
#
# The generated inputs are cached in BUILD_DIR/compare.
set -euo pipefail
build="${1:-build/bench}"
render="$build/out/ombrix-render"
work="$build/compare"
rounds=5
seconds=300
mkdir -p "$work"
[ -x "$render" ] || { echo "compare.sh: $render is missing (run scripts/bench)" >&2; exit 1; }

input="$work/input-${seconds}s.wav"
if [ ! -f "$input" ]; then
  echo "compare.sh: generating $input" >&2
  sox -R -n -r 44100 -c 2 -e floating-point -b 32 "$input.tmp.wav" synth "$seconds" pinknoise vol 0.5
  mv "$input.tmp.wav" "$input"
fi

run() {
  case "$1" in
    copy) sox "$input" "$work/out-copy.wav" ;;
    sox) sox "$input" "$work/out-sox.wav" chorus 0.27 1 25 0.73 0.36 7 -s ;;
    ffmpeg) ffmpeg -nostdin -loglevel error -y -i "$input" -af "chorus=0.27:1:25:0.73:0.36:7" -c:a pcm_f32le \
      "$work/out-ffmpeg.wav" ;;
    ombrix) "$render" "$input" --program 0 -o "$work/out-ombrix.wav" ;;
  esac
}

tools=(copy sox ffmpeg ombrix)
declare -A times
for tool in "${tools[@]}"; do run "$tool" >/dev/null 2>&1; done
for ((round = 1; round <= rounds; round++)); do
  for tool in "${tools[@]}"; do
    start=$(date +%s%N)
    run "$tool" >/dev/null 2>&1
    end=$(date +%s%N)
    times[$tool]+="$(( (end - start) / 1000 )) "
  done
done

median() { tr ' ' '\n' | sed '/^$/d' | sort -n | sed -n "$(( (rounds + 1) / 2 ))p"; }
declare -A factor
echo "==== ${seconds} s stereo float WAV, median of $rounds runs, $(date -u '+%Y-%m-%d %H:%M UTC'), load $(cut -d' ' -f1-3 /proc/loadavg)"
printf '%-44s %10s %12s\n' "command" "seconds" "x realtime"
for tool in "${tools[@]}"; do
  micros=$(echo "${times[$tool]}" | median)
  factor[$tool]=$(awk -v s="$seconds" -v m="$micros" 'BEGIN { printf "%.1f", s / (m / 1e6) }')
  case "$tool" in
    copy) label="sox copy (reading and writing only)" ;;
    sox) label="sox chorus" ;;
    ffmpeg) label="ffmpeg chorus" ;;
    ombrix) label="ombrix-render, program 0" ;;
  esac
  printf '%-44s %10.3f %12s\n' "$label" "$(awk -v m="$micros" 'BEGIN { print m / 1e6 }')" "${factor[$tool]}"
done
awk -v o="${factor[ombrix]}" -v s="${factor[sox]}" -v c="${factor[copy]}" 'BEGIN {
  printf "ombrix-render / sox chorus: %.2f (target at least 1.5)\n", o / s
  printf "ombrix-render / sox copy:   %.2f (target at least 0.75)\n", o / c }'

hour="$work/input-3600s.wav"
if [ ! -f "$hour" ]; then
  echo "compare.sh: generating $hour" >&2
  sox -R -n -r 44100 -c 2 -b 16 "$hour.tmp.wav" synth 3600 pinknoise vol 0.5
  mv "$hour.tmp.wav" "$hour"
fi
/usr/bin/time -v "$render" "$hour" --program 0 -o "$work/out-hour.wav" 2>"$work/time-hour.txt" >/dev/null
rm -f "$work/out-hour.wav"
rss=$(awk -F': ' '/Maximum resident set size/ { print $2 }' "$work/time-hour.txt")
wall=$(awk -F': ' '/Elapsed \(wall clock\)/ { print $2 }' "$work/time-hour.txt")
awk -v kb="$rss" -v wall="$wall" 'BEGIN {
  printf "ombrix-render on one hour of 16-bit stereo: peak memory %.1f MB (target under 20), %s wall clock\n", kb / 1024, wall }'
