#!/usr/bin/env bash
# Installs what is missing, builds every preset, makes the release packages into build/packages,
# runs every test (the Windows build under wine in a temporary prefix, the 32-bit Linux build under
# qemu-i386-static; the 32-bit Windows build, which cannot run here, is checked with objdump; the
# packages as an administrator unpacks them) and ends with the line "N passed, N failed". Exits
# non-zero when anything failed.
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
# A persistent server, started before anything else in the prefix (a server that is already running
# ignores -p and leaves when idle), so that no test's output pipe is held by it and no test starts
# while it shuts down.
wineserver -p
wineboot -i >/dev/null 2>&1

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

# run_tests PRESET NAME [CTEST-ARGUMENTS...]: runs the preset's tests, prints the failed ones and
# counts them.
run_tests() {
  local preset=$1 name=$2
  shift 2
  local log="build/$preset/ctest-$name.log"
  (cd "build/$preset" && ctest -j "$(nproc)" --timeout 600 --output-on-failure "$@") >"$log" 2>&1
  grep -E "^(The following tests FAILED|[[:space:]]+[0-9]+ - )" "$log" || true
  # A pass without the "N/M" progress count is a second try; the failed first one is in the log.
  grep -E "^[[:space:]]+Test +#[0-9]+: .* Passed" "$log" | sed -E "s/^[[:space:]]+Test +#[0-9]+: ([^ ]*).*/$name: passed on a second try: \1/" || true
  local summary total bad
  summary=$(grep -E "tests passed, [0-9]+ tests? failed out of [0-9]+" "$log" | tail -n 1)
  if [ -z "$summary" ]; then
    tail -n 40 "$log"
    echo "$name: no test summary"
    failed=$((failed + 1))
    return
  fi
  bad=$(sed -E 's/.* ([0-9]+) tests? failed out of ([0-9]+).*/\1/' <<<"$summary")
  total=$(sed -E 's/.* failed out of ([0-9]+).*/\1/' <<<"$summary")
  echo "$name: $summary"
  passed=$((passed + total - bad))
  failed=$((failed + bad))
}

# Tests that run under wine or qemu get a second try: now and then (about once in several thousand
# starts here) wine ends a program before it has run, with no output. A test that fails twice fails;
# one that needed the second try is named in the output.
emulated_tests='^(win64|linux-x86)\.'
second_try=(--repeat until-pass:2)

# One check of the win32 build: prints what is wrong and counts it.
check() {
  local what=$1 problem=$2
  if [ -z "$problem" ]; then
    passed=$((passed + 1))
  else
    echo "win32: $what: $problem"
    failed=$((failed + 1))
  fi
}

# The names after "DLL Name:" (imports) or in the export name table of a PE file.
imports() { objdump -p "$1" | sed -n 's/^[[:space:]]*DLL Name: //p'; }
exports() {
  objdump -p "$1" | sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/s/^[[:space:]]*\[ *[0-9]*\] //p'
}
foreign_imports() {
  local dll
  for dll in $(imports "$1"); do
    case "${dll,,}" in
      kernel32.dll | msvcrt.dll | ntdll.dll | advapi32.dll | user32.dll | ws2_32.dll) ;;
      *) printf '%s ' "$dll" ;;
    esac
  done
}

# The release for 32-bit Windows cannot run here: its imports and exports are checked instead.
# It must need nothing but the system's DLLs, and the exports looked up by name must carry no
# stdcall decoration.
check_win32() {
  local build=build/win32 library
  check "kestrova.exe imports more than system DLLs" "$(foreign_imports "$build/kestrova.exe")"
  check "Morvane.Dll imports more than system DLLs" "$(foreign_imports "$build/Morvane.Dll")"
  check "Morvane.Dll exports" \
    "$([ "$(exports "$build/Morvane.Dll" | sort | tr '\n' ' ')" = "Dclos Dopen Snmp " ] ||
      exports "$build/Morvane.Dll" | tr '\n' ' ')"
  for library in "$build"/test-libraries/*.Dll; do
    check "$(basename "$library") exports" "$(exports "$library" | grep -v -x -E 'Dclos|Dopen|Snmp')"
  done
}

# Makes the release packages of a preset into build/packages; each package missing afterwards is a
# failure. Earlier runs' packages are removed first, so that none of them passes for a new one.
package() {
  local preset=$1 file
  local log="build/$preset/cpack.log"
  shift
  for file in "$@"; do rm -f "build/packages/$file"; done
  (cd "build/$preset" && cpack) >"$log" 2>&1 || tail -n 40 "$log"
  for file in "$@"; do
    if [ -f "build/packages/$file" ]; then
      passed=$((passed + 1))
    else
      echo "$preset: package $file is missing (log: $log)"
      failed=$((failed + 1))
    fi
  done
}

version=$(sed -n 's/^project(kestrova VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)

build win64 && run_tests win64 win64 "${second_try[@]}"
build win32 && check_win32
build linux-x86 && run_tests linux-x86 linux-x86 "${second_try[@]}"
linux_built=false
build linux -DKESTROVA_WIN64_BUILD="$root/build/win64" -DKESTROVA_LINUX_X86_BUILD="$root/build/linux-x86" \
  -DKESTROVA_PACKAGES="$root/build/packages" && linux_built=true
build linux-asan && run_tests linux-asan linux-asan

# The package tests run with the linux preset's tests, so the packages come first.
package win64 "kestrova-$version-win64.zip"
package win32 "kestrova-$version-win32.zip"
package linux "kestrova-$version-linux-x86_64.tar.gz" "kestrova_${version}_amd64.deb"
if "$linux_built"; then
  run_tests linux linux -E "$emulated_tests"
  run_tests linux linux-emulated -R "$emulated_tests" "${second_try[@]}"
fi

# A short form of the endurance run (scripts/endurance.sh runs 1000 by default).
if "$linux_built"; then
  if scripts/endurance.sh 5 build/linux >build/linux/endurance.log 2>&1; then
    passed=$((passed + 1))
  else
    cat build/linux/endurance.log
    failed=$((failed + 1))
  fi
  tail -n 1 build/linux/endurance.log
fi

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
