#!/usr/bin/env bash
# Installs the Debian packages the build, the program and the tests need.
# Only missing packages are installed, so a second run costs a second.
set -euo pipefail

packages=(
    build-essential cmake pkg-config ccache
    qt6-base-dev qt6-base-private-dev qt6-multimedia-dev qt6-translations-l10n libgl-dev libxss-dev
    libmpg123-dev libxlsxwriter-dev libxcb1-dev
    libgtest-dev libgmock-dev libbenchmark-dev
    fonts-wqy-zenhei fonts-dejavu-core
    xvfb openbox xdotool xclip x11-utils imagemagick pulseaudio
    xserver-xorg-core xserver-xorg-video-dummy x11-xserver-utils
    unrtf python3-openpyxl
    dbus-daemon python3-dbus python3-gi
    clang clang-format libclang-rt-14-dev
)

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$p")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo_cmd=()
[ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -qq
"${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
