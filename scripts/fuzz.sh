#!/usr/bin/env bash
# Builds the libFuzzer targets of fuzz/ (clang, AddressSanitizer and UBSan) into build/fuzz and
# runs each one for the given number of seconds (default 20) on a copy of its seeds from
# fuzz/corpus/<Name>/, with leak detection on. Fails on any crash, leak, hang or sanitizer
# report; the input that caused it is kept in build/fuzz/findings/<Name>/.
#   scripts/fuzz.sh          # every target, 20 s each
#   scripts/fuzz.sh 3600     # the long run
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-20}
build=build/fuzz

# The longest input worth trying: a few times the largest meaningful seed.
max_len() {
  case $1 in
    ButtonMapFile) echo 4096 ;;
    KeyText) echo 128 ;;
    LircCommands) echo 1024 ;;
    NetworkLines) echo 4096 ;;
    SettingsStore) echo 1024 ;;
    SimControl) echo 1024 ;;
    *) echo 4096 ;;
  esac
}

cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUORVEL_FUZZ=ON \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ >/dev/null
cmake --build "$build" -j "$(nproc)"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export ASAN_OPTIONS=detect_leaks=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
for source in fuzz/*Fuzzer.cpp; do
  name=$(basename "$source" Fuzzer.cpp)
  corpus=$work/corpus/$name
  findings=$build/findings/$name
  mkdir -p "$corpus" "$findings"
  if [ -d fuzz/corpus/"$name" ]; then cp fuzz/corpus/"$name"/* "$corpus"/; fi
  log=$work/$name.log
  if ! "$build/fuzz/${name}Fuzzer" "$corpus" -max_total_time="$seconds" -max_len="$(max_len "$name")" \
      -timeout=10 -detect_leaks=1 -print_final_stats=1 -artifact_prefix="$findings/" >"$log" 2>&1 ||
      grep -q "SUMMARY: [A-Za-z]*Sanitizer" "$log"; then
    tail -n 40 "$log" >&2
    echo "fuzz: $name failed; the input is in $findings/" >&2
    exit 1
  fi
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
  echo "fuzz: $name: $runs runs in ${seconds}s, corpus $(ls "$corpus" | wc -l) inputs, no finding"
done
