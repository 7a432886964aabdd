#!/usr/bin/env bash
# Installing lays out the program folder and a launcher; installing again keeps what the
# operator changed in data/ and pic/, and replaces the program and its help page.
set -euo pipefail
build=$1
prefix=$(mktemp -d /tmp/prize-wheel-install.XXXXXX)
trap 'rm -rf "$prefix"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

cmake --install "$build" --prefix "$prefix" >/dev/null
dir=$prefix/prize-wheel
for f in prize-wheel libprize-wheel-late.so data/opt.ini data/奖品.txt data/数量.txt data/db.dat pic/背景.png pic/转盘.png \
    pic/指针.png pic/1.png pic/8.png sound/摇奖中.mp3 sound/中奖后.mp3 help/使用帮助.html \
    translations/qtbase_zh_CN.qm; do
    [ -e "$dir/$f" ] || fail "$f was not installed"
done
[ -x "$dir/prize-wheel" ] || fail "the program is not executable"
desktop=$prefix/share/applications/prize-wheel.desktop
grep -qx "Path=$dir" "$desktop" || fail "the launcher does not start in the program folder"
grep -qx "Exec=\"$dir/prize-wheel\"" "$desktop" || fail "the launcher does not run the program"
[ -e "$prefix/share/icons/hicolor/256x256/apps/prize-wheel.png" ] || fail "no icon"

printf '[canshu]\r\nbiaoti_text=operator\r\n' >"$dir/data/opt.ini"
printf 'x' >"$dir/pic/1.png"
printf 'old' >"$dir/help/使用帮助.html"
cmake --install "$build" --prefix "$prefix" >/dev/null
grep -q 'biaoti_text=operator' "$dir/data/opt.ini" || fail "reinstalling replaced the settings"
[ "$(cat "$dir/pic/1.png")" = x ] || fail "reinstalling replaced the operator's picture"
[ "$(cat "$dir/help/使用帮助.html")" != old ] || fail "reinstalling kept an old help page"
echo "install ok"
