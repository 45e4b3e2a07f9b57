#!/usr/bin/env bash
# Shows Kestrova at work on this machine: builds it, starts a private snmpd on 127.0.0.1 (a free port,
# a configuration of its own), lays out a sensor directory with a profile for that agent, runs kestrova
# in Profiler mode and prints the result document and the trace log. Stops its snmpd when it ends.
set -eu
cd "$(dirname "$0")/.."
root=$(pwd)

"$root/scripts/install-dependencies.sh"
cmake --preset linux >/dev/null
cmake --build --preset linux --target kestrova morvane >/dev/null

work=$(mktemp -d /tmp/kestrova-demo.XXXXXX)
snmpd_pid=""
stop() {
  [ -n "$snmpd_pid" ] && kill "$snmpd_pid" 2>/dev/null && wait "$snmpd_pid" 2>/dev/null
  rm -rf "$work"
}
trap stop EXIT

port_in_use() {
  grep -qi ":$(printf '%04X' "$1") " /proc/net/udp /proc/net/udp6 2>/dev/null
}
port=$((20000 + RANDOM % 40000))
while port_in_use "$port"; do port=$((20000 + RANDOM % 40000)); done

cat >"$work/snmpd.conf" <<CONF
rocommunity demo 127.0.0.1
CONF
SNMP_PERSISTENT_DIR="$work" snmpd -f -C -c "$work/snmpd.conf" -Lf "$work/snmpd.log" \
  "udp:127.0.0.1:$port" &
snmpd_pid=$!
for _ in $(seq 50); do
  snmpget -v2c -c demo -t 0.2 -r 0 "127.0.0.1:$port" 1.3.6.1.2.1.1.3.0 >/dev/null 2>&1 && break
  sleep 0.1
done

sensors="$work/sensors"
mkdir -p "$sensors"
printf 'Xml\r\n' >"$sensors/Kestrova.Host"
printf 'IP-Addr....: 127.0.0.1:%s\r\nAlias......: demo\r\nDescription: This machine\r\nCommunity..: demo\r\nSysnr......: 1\r\n' \
  "$port" >"$sensors/Profiler.Prf"

echo "== kestrova Profiler.Prf \"Slct=All,State\"   (snmpd on 127.0.0.1:$port)"
(cd "$sensors" && "$root/build/linux/kestrova" Profiler.Prf "Slct=All,State")
echo "== Profiler.Trc"
cat "$sensors/Profiler.Trc" 2>/dev/null || echo "(no trace log)"
