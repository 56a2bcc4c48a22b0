#!/usr/bin/env bash
# Installs the Debian packages that are missing: with "play" (the default)
# those that building and playing need, with "test" those that the tests need
# as well.
set -euo pipefail

play_packages=(
    build-essential cmake pkg-config
    libsdl2-dev libmpg123-dev libmp3lame-dev libdevil-dev libjpeg-dev
    libgl1-mesa-dev libglu1-mesa-dev libgl1-mesa-dri libegl-mesa0
    libfreetype-dev libfontconfig-dev fonts-dejavu-core fonts-liberation
)
test_packages=(
    libgtest-dev libbenchmark-dev libjpeg-turbo-progs madplay ffmpeg
    xvfb xauth xfonts-base libxtst-dev
    clang libclang-rt-14-dev
)

packages=("${play_packages[@]}")
case "${1:-play}" in
play) ;;
test) packages+=("${test_packages[@]}") ;;
*)
    echo "usage: $0 [play|test]" >&2
    exit 2
    ;;
esac

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
