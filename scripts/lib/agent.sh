# A private snmpd for the scripts: loopback only, a free port, a configuration of its own in $1.
# It answers on UDP and also listens on TCP at that port: a listening socket the scripts know,
# whatever else the machine runs. Sets agent_port and agent_pid; stop_agent stops it. Source this.

agent_port=""
agent_pid=""

port_in_use() {
  grep -qi ":$(printf '%04X' "$1") " /proc/net/udp /proc/net/udp6 /proc/net/tcp /proc/net/tcp6 \
    2>/dev/null
}

# snmpd lies in /usr/sbin, which a user's PATH often lacks.
snmpd_program() {
  command -v snmpd || { [ -x /usr/sbin/snmpd ] && echo /usr/sbin/snmpd; }
}

# start_agent <directory> <community>
start_agent() {
  local directory=$1 community=$2 snmpd
  snmpd=$(snmpd_program) || {
    echo "snmpd not found: install net-snmp's agent (Debian package snmpd)" >&2
    return 1
  }
  agent_port=$((20000 + RANDOM % 40000))
  while port_in_use "$agent_port"; do agent_port=$((20000 + RANDOM % 40000)); done
  printf 'rocommunity %s 127.0.0.1\n' "$community" >"$directory/snmpd.conf"
  SNMP_PERSISTENT_DIR="$directory" "$snmpd" -f -C -c "$directory/snmpd.conf" -M /dev/null \
    -Lf "$directory/snmpd.log" "udp:127.0.0.1:$agent_port,tcp:127.0.0.1:$agent_port" &
  agent_pid=$!
  for _ in $(seq 50); do
    snmpget -v2c -c "$community" -t 0.2 -r 0 -M /dev/null "127.0.0.1:$agent_port" \
      .1.3.6.1.2.1.1.3.0 >/dev/null 2>&1 && return 0
    if ! kill -0 "$agent_pid" 2>/dev/null; then
      agent_pid=""
      echo "snmpd ended at start:" >&2
      cat "$directory/snmpd.log" >&2
      return 1
    fi
    sleep 0.1
  done
  echo "snmpd did not answer on 127.0.0.1:$agent_port" >&2
  return 1
}

# Never fails, so that an exit trap under "set -e" goes on to its clean-up after it, also when
# snmpd has already ended.
stop_agent() {
  if [ -n "$agent_pid" ]; then
    kill "$agent_pid" 2>/dev/null || true
    wait "$agent_pid" 2>/dev/null || true
    agent_pid=""
  fi
}
