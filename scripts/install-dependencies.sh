#!/usr/bin/env bash
# Installs the Debian packages the builds and tests need, when any is missing.
set -eu
packages=(cmake ninja-build g++ clang libclang-rt-14-dev libgtest-dev
  g++-mingw-w64-x86-64 g++-mingw-w64-i686 wine wine64 g++-multilib qemu-user-static
  snmpd snmp libxml2-utils valgrind dpkg-dev)
missing=()
for package in "${packages[@]}"; do
  dpkg -s "$package" >/dev/null 2>&1 || missing+=("$package")
done
[ ${#missing[@]} -eq 0 ] && exit 0
sudo=""
[ "$(id -u)" -eq 0 ] || sudo=sudo
echo "installing: ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}" >/dev/null
