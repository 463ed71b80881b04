#!/usr/bin/env bash
# Installs what building and testing funcplug needs, from Debian's packages; does nothing when all
# of it is present. Usage: install_deps.sh [native|all]   (all adds MinGW, Wine and qemu)
set -euo pipefail
want=${1:-all}

native=(cmake g++ make libgtest-dev libbenchmark-dev python3-numpy)
windows=(g++-mingw-w64-i686 g++-mingw-w64-x86-64 wine wine32:i386 wine64 qemu-user python3-pefile)
packages=("${native[@]}")
[[ "$want" == all ]] && packages+=("${windows[@]}")

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

echo "installing: ${missing[*]}"
sudo=""; [[ $(id -u) -eq 0 ]] || sudo=sudo
if [[ "$want" == all ]] && ! dpkg --print-foreign-architectures | grep -qx i386; then
  $sudo dpkg --add-architecture i386
fi
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}" > /dev/null
