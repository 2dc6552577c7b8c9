#!/usr/bin/env bash
# Installs what the build needs and is not yet on this machine (Debian packages only);
# clang and its runtime libraries (libFuzzer among them) build the fuzz targets.
set -euo pipefail
need=()
for pkg in g++-12 cmake ninja-build libgtest-dev libgmock-dev libbenchmark-dev nlohmann-json3-dev libcli11-dev locales \
           libcpp-httplib-dev pkg-config chromium chromium-driver python3-selenium \
           clang-14 libclang-rt-14-dev ccache \
           libifcplusplus-dev libboost-dev libzip-dev libjs-three; do
  dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed" || need+=("$pkg")
done
if ((${#need[@]})); then
  echo "Installing: ${need[*]}"
  sudo_cmd=""
  [ "$(id -u)" -eq 0 ] || sudo_cmd="sudo"
  $sudo_cmd apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y -qq "${need[@]}"
fi
