#!/usr/bin/env bash
# Endurance: many runs in a row against a private snmpd. Every run must print the same document,
# leave no file behind and no process running; one run under valgrind must show no leak and no
# invalid access.   scripts/endurance.sh [runs, default 1000] [build directory, default build/linux]
set -u
cd "$(dirname "$0")/.."
root=$(pwd)
runs=${1:-1000}
build=$(cd "${2:-build/linux}" && pwd)
. scripts/lib/agent.sh

work=$(mktemp -d /tmp/kestrova-endurance.XXXXXX)
trap 'stop_agent; rm -rf "$work"' EXIT
start_agent "$work" endurance || exit 1

sensors="$work/sensors"
mkdir -p "$sensors" "$work/tmp"
printf 'Xml\r\n' >"$sensors/Kestrova.Host"
printf 'IP-Addr....: 127.0.0.1:%s\r\nDescription: Endurance\r\nCommunity..: endurance\r\n' \
  "$agent_port" >"$sensors/Router.Prf"
# Only the agent's own listening port: other programs' sockets come and go during the runs. The
# count channel follows it.
options="Slct=Port.$agent_port,State"
export TMPDIR="$work/tmp"

failures=0
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}

(cd "$sensors" && "$build/kestrova" Router.Prf "$options") >"$work/first.out"
grep -q -E "<Channel>Port\.$agent_port( / [^<]*)?</Channel>" "$work/first.out" ||
  fail "the first run did not report the agent's port: $(cat "$work/first.out")"
listing=$(ls -A "$sensors")

started=$(date +%s.%N)
for run in $(seq "$runs"); do
  (cd "$sensors" && "$build/kestrova" Router.Prf "$options") >"$work/run.out"
  status=$?
  [ "$status" -eq 0 ] || fail "run $run exited with $status"
  cmp -s "$work/first.out" "$work/run.out" ||
    fail "run $run printed another document: $(diff "$work/first.out" "$work/run.out" | head -n 8)"
  [ "$(ls -A "$sensors")" = "$listing" ] || fail "run $run left files: $(ls -A "$sensors")"
  [ "$failures" -lt 10 ] || break
done
ended=$(date +%s.%N)

pgrep -x kestrova >/dev/null && fail "a kestrova process is still running"
# The lock between runs of one table file is one file, used again by every run.
[ "$(ls -A "$TMPDIR" | wc -l)" -le 1 ] || fail "temporary files left: $(ls -A "$TMPDIR")"

if command -v valgrind >/dev/null; then
  (cd "$sensors" && valgrind -q --leak-check=full --errors-for-leak-kinds=definite,indirect \
    --error-exitcode=3 "$build/kestrova" Router.Prf "$options") >"$work/valgrind.out" 2>"$work/valgrind.log"
  status=$?
  [ "$status" -eq 0 ] || fail "valgrind found errors: $(cat "$work/valgrind.log")"
  cmp -s "$work/first.out" "$work/valgrind.out" || fail "the run under valgrind printed another document"
else
  fail "valgrind is not installed"
fi

awk -v runs="$runs" -v from="$started" -v to="$ended" -v failures="$failures" 'BEGIN {
  printf "%d runs in %.1f s (%.3f s a run, the 1000 ms wait included); %d failures\n",
         runs, to - from, (to - from) / runs, failures }'
[ "$failures" -eq 0 ]
