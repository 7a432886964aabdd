#!/usr/bin/env bash
# Cross-builds Prize Wheel for 64-bit Windows on Debian 12 and zips it:
#   dist/PrizeWheel-windows-x64/   prize-wheel.exe, the DLLs it needs, data/ pic/ sound/ help/
#   dist/PrizeWheel-windows-x64.zip
# Qt for Windows is built once from Debian's own qt6-base sources (the host Qt tools of the
# same version run moc and rcc) into a cache folder outside the work tree, and reused.
#
#   scripts/build-windows.sh            everything: packages, Qt (when missing), program, zip
#   scripts/build-windows.sh --qt-only  only the packages, and Qt and libxlsxwriter for Windows
#   scripts/build-windows.sh --tests    also cross-builds the unit and widget tests
#
# PW_QT_MINGW_DIR overrides the Qt cache folder (default ~/.cache/prize-wheel/qt6-mingw).
set -euo pipefail
cd "$(dirname "$0")/.."
source_dir=$PWD

qt_only=0
with_tests=0
for arg in "$@"; do
    case $arg in
    --qt-only) qt_only=1 ;;
    --tests) with_tests=1 ;;
    *) echo "unknown option: $arg" >&2; exit 2 ;;
    esac
done

cache_root=${XDG_CACHE_HOME:-$HOME/.cache}/prize-wheel
qt_dir=${PW_QT_MINGW_DIR:-$cache_root/qt6-mingw}
toolchain=$source_dir/cmake/mingw-w64-x86_64.cmake
jobs=$(nproc)

section() { printf '\n===== %s (%s)\n' "$1" "$(date +%T)"; }

sudo_cmd=()
[ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)

install_packages() {
    local packages=(g++-mingw-w64-x86-64-posix ninja-build libz-mingw-w64-dev wine64 wine zip xz-utils
        dpkg-dev qt6-base-dev qt6-base-dev-tools googletest xvfb xdotool openbox xclip x11-utils imagemagick unrtf unzip python3-openpyxl
        gstreamer1.0-plugins-base gstreamer1.0-plugins-good)
    local missing=()
    for p in "${packages[@]}"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' ||
            missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing: ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    "${sudo_cmd[@]}" apt-get update -qq
    "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

# apt-get source needs a deb-src line beside the deb one.
enable_sources() {
    if grep -rqs '^\s*\(Types:.*deb-src\|deb-src\)' /etc/apt/sources.list /etc/apt/sources.list.d/; then
        return 0
    fi
    echo "Adding the Debian source archive to apt's sources"
    "${sudo_cmd[@]}" tee /etc/apt/sources.list.d/prize-wheel-deb-src.sources >/dev/null <<'EOF'
Types: deb-src
URIs: http://deb.debian.org/debian
Suites: bookworm bookworm-updates
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
EOF
    "${sudo_cmd[@]}" apt-get update -qq
}

# The platform plugin for the screen, the offscreen one for the widget tests, JPEG for the
# picture the window starts with, the WinMain entry point of a window program, QtTest, and
# the local socket by which a second start reaches the running program.
qt_targets="Widgets Network Test QWindowsIntegrationPlugin QOffscreenIntegrationPlugin QJpegPlugin
    EntryPointImplementation"

# Qt's Windows build is a non-prefix build: the build folder itself is what CMake finds
# (lib/cmake/Qt6), with the DLLs in bin/ and the plugins in plugins/.
build_qt() {
    if [ -f "$qt_dir/.complete" ]; then
        echo "Qt for Windows: reusing $qt_dir"
        # Up to date in seconds; picks up a target added to the list below.
        cmake --build "$qt_dir" -j"$jobs" -- $qt_targets >/dev/null
        return 0
    fi
    local src_root=$cache_root/qt6-src
    mkdir -p "$src_root" "$qt_dir"
    local tarball
    tarball=$(ls "$src_root"/qt6-base_*.orig.tar.xz 2>/dev/null | head -n1 || true)
    if [ -z "$tarball" ]; then
        enable_sources
        (cd "$src_root" && apt-get source --download-only qt6-base)
        tarball=$(ls "$src_root"/qt6-base_*.orig.tar.xz | head -n1)
    fi
    local qtbase=$src_root/qtbase
    if [ ! -f "$qtbase/CMakeLists.txt" ]; then
        rm -rf "$qtbase" "$src_root/unpack"
        mkdir -p "$src_root/unpack"
        tar -xf "$tarball" -C "$src_root/unpack"
        mv "$src_root"/unpack/* "$qtbase"
        rmdir "$src_root/unpack"
    fi
    section "configuring Qt for Windows in $qt_dir"
    cmake -S "$qtbase" -B "$qt_dir" -G Ninja \
        -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
        -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_INSTALL_PREFIX="$qt_dir" \
        -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
        -DBUILD_SHARED_LIBS=ON -DFEATURE_sql=OFF -DFEATURE_dbus=OFF \
        -DFEATURE_tabletevent=OFF -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF
    section "building Qt for Windows"
    local started=$SECONDS
    cmake --build "$qt_dir" -j"$jobs" -- $qt_targets
    echo "Qt for Windows built in $(((SECONDS - started) / 60)) min"
    touch "$qt_dir/.complete"
}

# The spreadsheet library, from Debian's libxlsxwriter sources, as a static library.
xlsx_dir=${PW_XLSXWRITER_MINGW_DIR:-$cache_root/xlsxwriter-mingw}
build_xlsxwriter() {
    if [ -f "$xlsx_dir/.complete" ]; then
        echo "libxlsxwriter for Windows: reusing $xlsx_dir"
        return 0
    fi
    local src_root=$cache_root/xlsxwriter-src
    mkdir -p "$src_root"
    local tarball
    tarball=$(ls "$src_root"/libxlsxwriter_*.orig.tar.gz 2>/dev/null | head -n1 || true)
    if [ -z "$tarball" ]; then
        enable_sources
        (cd "$src_root" && apt-get source --download-only libxlsxwriter)
        tarball=$(ls "$src_root"/libxlsxwriter_*.orig.tar.gz | head -n1)
    fi
    section "building libxlsxwriter for Windows in $xlsx_dir"
    rm -rf "$src_root/unpack" "$src_root/build" "$xlsx_dir"
    mkdir -p "$src_root/unpack"
    tar -xzf "$tarball" -C "$src_root/unpack"
    cmake -S "$src_root"/unpack/* -B "$src_root/build" -G Ninja \
        -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_BUILD_TYPE=Release \
        -DBUILD_SHARED_LIBS=OFF -DCMAKE_INSTALL_PREFIX="$xlsx_dir" \
        -DZLIB_LIBRARY=/usr/x86_64-w64-mingw32/lib/libz.a >/dev/null
    cmake --build "$src_root/build" -j"$jobs" >/dev/null
    cmake --install "$src_root/build" >/dev/null
    rm -rf "$src_root/unpack" "$src_root/build"
    touch "$xlsx_dir/.complete"
}

build_dir=$source_dir/build-windows
dist_name=PrizeWheel-windows-x64
dist_dir=$source_dir/dist/$dist_name

build_program() {
    section "cross-building Prize Wheel"
    local tests=OFF
    [ $with_tests -eq 1 ] && tests=ON
    local started=$SECONDS
    cmake -S "$source_dir" -B "$build_dir" -G Ninja \
        -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_PREFIX_PATH="$qt_dir" -DPW_XLSXWRITER_DIR="$xlsx_dir" -DQT_HOST_PATH=/usr \
        -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
        -DPW_BUILD_TESTS=$tests >/dev/null
    cmake --build "$build_dir" -j"$jobs"
    echo "Prize Wheel cross-built in $((SECONDS - started)) s"
}

# The MinGW runtime DLLs the program and Qt link against.
mingw_runtime_dlls() {
    local gcc_dir
    gcc_dir=$(dirname "$(x86_64-w64-mingw32-g++-posix -print-libgcc-file-name)")
    echo "$gcc_dir/libstdc++-6.dll" "$gcc_dir/libgcc_s_seh-1.dll" \
        /usr/x86_64-w64-mingw32/lib/libwinpthread-1.dll
}

lay_out_dist() {
    section "laying out dist/$dist_name"
    rm -rf "$dist_dir" "$dist_dir.zip"
    mkdir -p "$dist_dir/platforms" "$dist_dir/imageformats"
    cp "$build_dir/program/prize-wheel.exe" "$dist_dir/"
    x86_64-w64-mingw32-strip "$dist_dir/prize-wheel.exe"
    cp "$qt_dir"/bin/Qt6Core.dll "$qt_dir"/bin/Qt6Gui.dll "$qt_dir"/bin/Qt6Widgets.dll \
        "$qt_dir"/bin/Qt6Network.dll "$dist_dir/"
    cp "$qt_dir/plugins/platforms/qwindows.dll" "$dist_dir/platforms/"
    cp "$qt_dir/plugins/imageformats/qjpeg.dll" "$dist_dir/imageformats/"
    # shellcheck disable=SC2046
    cp $(mingw_runtime_dlls) "$dist_dir/"
    cp -r "$source_dir"/assets/{data,pic,sound,help} "$dist_dir/"
    (cd "$source_dir/dist" && zip -qr9 "$dist_name.zip" "$dist_name")
    echo "dist/$dist_name.zip: $(du -k "$dist_dir.zip" | cut -f1) KiB"
}

section "packages"
install_packages
build_qt
build_xlsxwriter
[ $qt_only -eq 1 ] && exit 0
build_program
lay_out_dist
