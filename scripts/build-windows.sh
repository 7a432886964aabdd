#!/usr/bin/env bash
# Cross-builds Prize Wheel for 64-bit Windows on Debian 12 and zips it:
#   dist/PrizeWheel-windows-x64/   prize-wheel.exe, the DLLs it needs, data/ pic/ sound/ help/
#                                  translations/
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
        gstreamer1.0-plugins-base gstreamer1.0-plugins-good qt6-translations-l10n)
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

# apt-get source needs a deb-src entry beside the deb one. When there is none, the machine's
# own deb entries get a deb-src twin each, so the sources come from the archive the machine
# already uses.
apt_lists=(/etc/apt/sources.list /etc/apt/sources.list.d/*.list /etc/apt/sources.list.d/*.sources)
enable_sources() {
    if grep -qs -e '^[[:space:]]*deb-src[[:space:]]' -e '^[[:space:]]*Types:.*deb-src' "${apt_lists[@]}"; then
        return 0
    fi
    local one_line=() deb822=()
    for f in "${apt_lists[@]}"; do
        [ -f "$f" ] || continue
        case $f in *.sources) deb822+=("$f") ;; *) one_line+=("$f") ;; esac
    done
    local twins_list="" twins_sources=""
    [ ${#one_line[@]} -gt 0 ] &&
        twins_list=$(sed -n 's/^[[:space:]]*deb\([[:space:]]\)/deb-src\1/p' "${one_line[@]}")
    # deb822: one stanza per paragraph; a stanza whose Types name deb is copied with
    # Types: deb-src, leaving out comments and stanzas switched off.
    [ ${#deb822[@]} -gt 0 ] && twins_sources=$(awk '
        BEGIN { RS = ""; FS = "\n" }
        {
            out = ""; is_deb = 0; off = 0
            for (i = 1; i <= NF; i++) {
                line = $i
                if (line ~ /^[[:space:]]*#/) continue
                if (line ~ /^Types:/) {
                    if (line ~ /[[:space:]]deb([[:space:]]|$)/) is_deb = 1
                    line = "Types: deb-src"
                }
                if (line ~ /^Enabled:[[:space:]]*[Nn]o/) off = 1
                out = out line "\n"
            }
            if (is_deb && !off) printf "%s\n", out
        }' "${deb822[@]}")
    if [ -z "$twins_list$twins_sources" ]; then
        echo "apt has no deb entry to take a deb-src entry from" >&2
        return 1
    fi
    echo "Adding deb-src twins of apt's deb entries"
    [ -n "$twins_list" ] &&
        printf '%s\n' "$twins_list" | "${sudo_cmd[@]}" tee /etc/apt/sources.list.d/prize-wheel-deb-src.list >/dev/null
    [ -n "$twins_sources" ] &&
        printf '%s\n' "$twins_sources" | "${sudo_cmd[@]}" tee /etc/apt/sources.list.d/prize-wheel-deb-src.sources >/dev/null
    "${sudo_cmd[@]}" apt-get update -qq
}

# The platform plugin for the screen, the offscreen one for the widget tests, JPEG for the
# picture the window starts with, the WinMain entry point of a window program, QtTest, and
# QtNetwork for the local socket that keeps one program at a time.
qt_targets="Widgets Network Test QWindowsIntegrationPlugin QOffscreenIntegrationPlugin QJpegPlugin
    EntryPointImplementation"

# Everything of Qt the program and its tests do not use is configured out, so the first build
# on a new machine stays short: other modules, OpenGL and Vulkan, printing, sessions, the
# network beyond local sockets, and widgets the program never shows.
qt_features_off="sql dbus opengl opengl-dynamic dynamicgl vulkan printsupport concurrent xml tabletevent sessionmanager
    pdf textodfwriter textmarkdownreader textmarkdownwriter
    ssl dtls ocsp http networkdiskcache brotli gssapi sspi sctp socks5 dnslookup topleveldomain
    networklistmanager system-proxies libproxy
    graphicsview mdiarea wizard undoview calendarwidget lcdnumber dial keysequenceedit
    columnview datawidgetmapper fontcombobox fontdialog splashscreen"

qt_configure_options() {
    echo -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_INSTALL_PREFIX="$qt_dir" \
        -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
        -DBUILD_SHARED_LIBS=ON -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF -DINPUT_opengl=no
    local f
    for f in $qt_features_off; do echo "-DFEATURE_${f//-/_}=OFF"; done
}

# Qt's Windows build is a non-prefix build: the build folder itself is what CMake finds
# (lib/cmake/Qt6), with the DLLs in bin/ and the plugins in plugins/.
# The options that make a cache what it is: all but the toolchain file's path, which names the
# work tree that happened to build it.
without_toolchain() { sed 's#^-DCMAKE_TOOLCHAIN_FILE=[^ ]* ##'; }

build_qt() {
    local options
    options=$(qt_configure_options)
    if [ -f "$qt_dir/.complete" ] && [ "$(without_toolchain <"$qt_dir/.options" 2>/dev/null)" = \
        "$(without_toolchain <<<"$options")" ]; then
        echo "Qt for Windows: reusing $qt_dir"
        # Up to date in seconds; picks up a target added to the list above. A fresh clone's
        # toolchain file makes CMake configure the cache again: without the compiler cache
        # here too, or every command line would change and all of Qt be built again.
        env -u CMAKE_C_COMPILER_LAUNCHER -u CMAKE_CXX_COMPILER_LAUNCHER \
            cmake --build "$qt_dir" -j"$jobs" -- $qt_targets >/dev/null
        return 0
    fi
    # A cache configured with other options is configured again in place: only what the
    # change touches is rebuilt.
    rm -f "$qt_dir/.complete"
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
    local started=$SECONDS
    # Qt is built once per machine: a compiler cache would only slow that build down.
    # shellcheck disable=SC2046
    env -u CMAKE_C_COMPILER_LAUNCHER -u CMAKE_CXX_COMPILER_LAUNCHER \
        cmake -S "$qtbase" -B "$qt_dir" -G Ninja $(qt_configure_options)
    section "building Qt for Windows"
    cmake --build "$qt_dir" -j"$jobs" -- $qt_targets
    echo "Qt for Windows configured and built in $(((SECONDS - started) / 60)) min"
    printf '%s' "$options" >"$qt_dir/.options"
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
    # The Qt libraries the program links against, and only those.
    local dll
    for dll in $(x86_64-w64-mingw32-objdump -p "$build_dir/program/prize-wheel.exe" |
        sed -n 's/^\s*DLL Name: \(Qt6[A-Za-z]*\.dll\)$/\1/p'); do
        cp "$qt_dir/bin/$dll" "$dist_dir/"
    done
    cp "$qt_dir/plugins/platforms/qwindows.dll" "$dist_dir/platforms/"
    cp "$qt_dir/plugins/imageformats/qjpeg.dll" "$dist_dir/imageformats/"
    # shellcheck disable=SC2046
    cp $(mingw_runtime_dlls) "$dist_dir/"
    cp -r "$source_dir"/assets/{data,pic,sound,help} "$dist_dir/"
    # Qt's Chinese texts, laid out by the build beside the program as on Linux.
    cp -r "$build_dir/program/translations" "$dist_dir/"
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
