#!/usr/bin/env bash
# Installs every Debian package the build, the tests and the demo need.
# The only place that knows package names. Quick when all is present.
set -euo pipefail

packages=(
  # toolchain
  cmake ninja-build g++ pkg-config clang libclang-rt-dev
  # libraries the system calls
  libcurl4-openssl-dev libjsoncpp-dev zlib1g-dev libminizip-dev libstb-dev
  libcairo2-dev libpixman-1-dev libfontconfig-dev libfreetype-dev libx11-dev libxext-dev
  p7zip-full fonts-wqy-microhei
  # tests, benchmarks and tools
  libcpp-httplib-dev libssl-dev libgtest-dev libgmock-dev libbenchmark-dev libpugixml-dev
  xvfb xdotool zip curl
  # benchmark anchors only, never linked into the product: Qt 5's box layouts, Pango,
  # GTK 3's first frame (and the damage events the start-up harness watches)
  qtbase5-dev libpango1.0-dev libgtk-3-dev libxdamage-dev
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "installing: ${missing[*]}"
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
