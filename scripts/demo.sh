#!/usr/bin/env bash
# Shows Kestrova at work on this machine: builds it, starts a private snmpd on 127.0.0.1 (a free port,
# a configuration of its own), lays out a sensor directory with a profile for that agent, runs kestrova
# in Profiler mode and prints the result document and the trace log. Stops its snmpd when it ends.
set -eu
cd "$(dirname "$0")/.."
root=$(pwd)
. scripts/lib/agent.sh

"$root/scripts/install-dependencies.sh"

work=$(mktemp -d /tmp/kestrova-demo.XXXXXX)
trap 'stop_agent; rm -rf "$work"' EXIT
trap 'exit 130' INT TERM HUP

echo "== building kestrova and Morvane.Dll (build/linux)"
if ! { cmake --preset linux && cmake --build --preset linux --target kestrova morvane; } \
  >"$work/build.log" 2>&1; then
  tail -n 40 "$work/build.log"
  echo "the build failed" >&2
  exit 1
fi
start_agent "$work" demo

sensors="$work/sensors"
mkdir -p "$sensors"
printf 'Xml\r\n' >"$sensors/Kestrova.Host"
printf 'IP-Addr....: 127.0.0.1:%s\r\nAlias......: demo\r\nDescription: This machine\r\nCommunity..: demo\r\nSysnr......: 1\r\n' \
  "$agent_port" >"$sensors/Profiler.Prf"

echo "== kestrova Profiler.Prf \"Slct=All,State\"   (snmpd on 127.0.0.1:$agent_port)"
(cd "$sensors" && "$root/build/linux/kestrova" Profiler.Prf "Slct=All,State")
echo "== Profiler.Trc"
cat "$sensors/Profiler.Trc"
