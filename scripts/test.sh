#!/usr/bin/env bash
# Installs what is missing, builds every preset, runs every test (the Windows build under wine in a
# temporary prefix) and ends with the line "N passed, N failed". Exits non-zero when anything failed.
set -uo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)

"$root/scripts/install-dependencies.sh" || { echo "0 passed, 1 failed"; exit 1; }

export WINEDEBUG=-all
WINEPREFIX=$(mktemp -d /tmp/kestrova-wine.XXXXXX)
export WINEPREFIX
cleanup() {
  wineserver -k >/dev/null 2>&1
  rm -rf "$WINEPREFIX"
}
trap cleanup EXIT
wineboot -i >/dev/null 2>&1
# A persistent server, started here, so that no test's output pipe is held by it.
wineserver -p

passed=0
failed=0

build() {
  local preset=$1
  shift
  if cmake --preset "$preset" --fresh "$@" >"build-$preset.log" 2>&1 &&
    cmake --build --preset "$preset" -j "$(nproc)" >>"build-$preset.log" 2>&1; then
    rm -f "build-$preset.log"
    return 0
  fi
  tail -n 40 "build-$preset.log"
  echo "build of $preset failed (log: build-$preset.log)"
  failed=$((failed + 1))
  return 1
}

run_tests() {
  local preset=$1
  local log="build/$preset/ctest.log"
  (cd "build/$preset" && ctest -j "$(nproc)" --timeout 600 --output-on-failure) >"$log" 2>&1
  grep -E "^(The following tests FAILED|[[:space:]]+[0-9]+ - )" "$log" || true
  local summary total bad
  summary=$(grep -E "tests passed, [0-9]+ tests? failed out of [0-9]+" "$log" | tail -n 1)
  if [ -z "$summary" ]; then
    tail -n 40 "$log"
    echo "$preset: no test summary"
    failed=$((failed + 1))
    return
  fi
  bad=$(sed -E 's/.* ([0-9]+) tests? failed out of ([0-9]+).*/\1/' <<<"$summary")
  total=$(sed -E 's/.* failed out of ([0-9]+).*/\1/' <<<"$summary")
  echo "$preset: $summary"
  passed=$((passed + total - bad))
  failed=$((failed + bad))
}

build win64 && run_tests win64
build linux -DKESTROVA_WIN64_BUILD="$root/build/win64" && run_tests linux
build linux-asan && run_tests linux-asan

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
