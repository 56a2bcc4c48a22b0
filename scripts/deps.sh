#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, when missing.
set -euo pipefail

packages=(
    build-essential cmake pkg-config
    libsdl2-dev libmpg123-dev libmp3lame-dev libdevil-dev libjpeg-dev libjpeg-turbo-progs
    libgl1-mesa-dev libglu1-mesa-dev libgl1-mesa-dri libegl-mesa0
    libfreetype-dev libfontconfig-dev fonts-dejavu-core fonts-liberation
    libgtest-dev libbenchmark-dev madplay ffmpeg
    xvfb xauth xfonts-base libxtst-dev
    clang libclang-rt-14-dev
)

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    sudo_cmd=()
    [ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
    export DEBIAN_FRONTEND=noninteractive
    "${sudo_cmd[@]}" apt-get update -qq
    "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
