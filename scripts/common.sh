# Shared by the scripts in this folder; sourced, not run.

# The libFuzzer targets (preset linux-fuzz), with their seeds in
# tools/fuzz/corpus/<target>.
FUZZ_TARGETS=(FuzzDispatcher FuzzChunks FuzzAudio FuzzClap)

# Configures a preset, its output kept in build/configure-<preset>.log and
# shown (on stderr) only when configuring fails, then builds it; further
# arguments go to the build (--target ...).
configure_and_build() {
  local preset=$1
  shift
  mkdir -p build
  cmake --preset "$preset" >"build/configure-$preset.log" 2>&1 \
    || { cat "build/configure-$preset.log" >&2; return 1; }
  cmake --build --preset "$preset" --parallel "$(nproc)" "$@"
}

# The lines of a fuzz log that say what went wrong.
fuzz_failure_lines() {
  grep -E 'ERROR|runtime error|fuzz host|Test unit written' "$1" | head -20
}
