#!/usr/bin/env bash
# The Windows program as a player gets it, driven under Wine in a fresh prefix on an X display of
# its own:
#   RunWindowsProgram.sh WINE WINDOWS_BUILD VERSION HELPER WORK_DIR SOURCE_DIR
# WINDOWS_BUILD holds what tools/windows/build.sh made; HELPER is windows_test_helper (the Linux
# build's mod of the same building, and screenshots). Steps: the game's machine-wide key, a
# silent install, the first start (window, screenshot, data directory unpacked), "Aktivieren" on
# the fishery and its mod compared with the Linux build's, a second copy refused, a silent
# uninstall and what it leaves. Exits 77 (skipped) only where wine64, Xvfb or the Windows build
# is missing; any other failure fails the test.
set -uo pipefail
wine=$1 winbuild=$2 version=$3 helper=$4 work=$5 source=$6
absolute() { echo "$(cd "$(dirname "$1")" && pwd)/$(basename "$1")"; }
winbuild=$(absolute "$winbuild") helper=$(absolute "$helper") work=$(absolute "$work")
source=$(absolute "$source")
setup=$winbuild/Velmora-Cindral-Setup-$version.exe

skip() { echo "SKIPPED: $*"; exit 77; }
[ -n "$wine" ] && [ -x "$wine" ] || skip "wine64 is not installed (tools/install-deps.sh installs it)"
[ -f "$setup" ] || skip "no Windows build in $winbuild: tools/windows/build.sh makes it, and ./test.sh runs that where ../shared/toolchains holds the Qt for mingw-w64"
for tool in Xvfb xdotool; do
    command -v "$tool" >/dev/null || skip "$tool is not installed (tools/install-deps.sh installs it)"
done

wineserver=$(dirname "$(readlink -f "$wine")")/wineserver
[ -x "$wineserver" ] || wineserver=$(command -v wineserver || true)
export WINEPREFIX=$work/prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
# Qt's default font engine leaves the text of number boxes invisible under Wine; Wine hands
# WINEQT_* to the program as QT_*.
export WINEQT_QPA_PLATFORM=windows:fontengine=freetype
unset WAYLAND_DISPLAY
rm -rf "$work"
mkdir -p "$work"
cd "$work"

display=90
while [ -e "/tmp/.X11-unix/X$display" ] || [ -e "/tmp/.X$display-lock" ]; do display=$((display + 1)); done
Xvfb ":$display" -screen 0 1280x1024x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
xvfb=$!
export DISPLAY=:$display
cleanup() {
    [ -n "$wineserver" ] && "$wineserver" -k >/dev/null 2>&1
    kill "$xvfb" 2>/dev/null
}
trap cleanup EXIT

failures=0
began=$(date +%s)
step() { echo "---- $1 ($(($(date +%s) - began)) s)"; }
ok() { echo "ok   $1"; }
fail() { echo "FAIL $1"; failures=$((failures + 1)); }
expect() { # expect NAME COMMAND...: the command must succeed
    local name=$1
    shift
    if "$@"; then ok "$name"; else fail "$name"; fi
}
# The first visible window whose title is exactly $1, waited for up to $2 seconds.
wait_window() {
    local id="" deadline=$(($(date +%s) + $2))
    while [ -z "$id" ] && [ "$(date +%s)" -lt "$deadline" ]; do
        id=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -1)
        [ -z "$id" ] && sleep 0.5
    done
    echo "$id"
}
# Clicks a point given in the client coordinates of the main window (its layout is fixed at
# 888 x 863). Wine draws the frame inside the X window: the borders are equal and the caption
# is on top.
click_client() { # click_client WINDOW X Y
    eval "$(xdotool getwindowgeometry --shell "$1")"
    local border=$(((WIDTH - 888) / 2))
    local top=$((HEIGHT - 863 - border))
    xdotool mousemove --window "$1" $(($2 + border)) $(($3 + top)) click 1
    sleep 1
}
wait_gone() { # wait_gone PID SECONDS
    local deadline=$(($(date +%s) + $2))
    while kill -0 "$1" 2>/dev/null && [ "$(date +%s)" -lt "$deadline" ]; do sleep 0.5; done
    ! kill -0 "$1" 2>/dev/null
}
screenshot() { # screenshot FILE [WINDOW]
    QT_QPA_PLATFORM=xcb "$helper" grab "$@" >/dev/null 2>&1
}

step "fresh Wine prefix"
if ! "$wine" wineboot -i >"$work/wineboot.log" 2>&1; then
    echo "SKIPPED: wine64 can not create a prefix here:"
    tail -5 "$work/wineboot.log"
    exit 77
fi
[ -n "$wineserver" ] && "$wineserver" -p >/dev/null 2>&1

# The game: a copy of the stand-in with an empty mods folder, named by the machine-wide key the
# game's installer writes.
cp -r "$source/sample-game" "$work/game"
rm -rf "$work/game/mods"
mkdir -p "$work/game/mods"
game_windows="Z:${work//\//\\}\\game"
expect "the game's key written with reg add" \
    "$wine" reg add 'HKLM\SOFTWARE\WOW6432Node\Orlane\Velmora' /v InstallDir /t REG_SZ \
    /d "$game_windows" /f

step "silent install"
program_dir="$WINEPREFIX/drive_c/Program Files/Velmora Cindral"
start_menu="$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs"
"$wine" "$setup" /S >"$work/install.log" 2>&1
for file in velmora-cindral.exe velmora-dataprep.exe velmora-edits.exe Deinstallieren.exe; do
    expect "installed: $file" test -f "$program_dir/$file"
done
expect "Start-menu entry" test -f "$start_menu/Velmora Cindral.lnk"
program='C:\Program Files\Velmora Cindral\velmora-cindral.exe'

step "first start"
started=$(date +%s)
"$wine" "$program" >"$work/first-start.log" 2>&1 &
first=$!
window=$(wait_window "Velmora Cindral" 120)
if [ -z "$window" ]; then
    fail "the main window appears"
    screenshot "$work/no-window.png"
    echo "failures: $failures"
    exit 1
fi
ok "the main window appears after $(($(date +%s) - started)) s"
sleep 3 # the pictures of the list
expect "screenshot of the first start" screenshot "$work/first-start.png" "$window"
expect "data directory unpacked" test -f "$program_dir/XMLP/BuildingsShort.xml"
click_client "$window" 788 827 # "Beenden"
expect "\"Beenden\" ends the program" wait_gone "$first" 30

# The fishery as an earlier edit leaves it: marked changed, so "Aktivieren" is offered.
sed -i 's/\(<Building GUID="1010278" [^>]*\)IsChanged="false"/\1IsChanged="true"/' \
    "$program_dir/XMLP/BuildingsShort.xml"

step "\"Aktivieren\" on the fishery"
"$wine" "$program" >"$work/second-start.log" 2>&1 &
main=$!
window=$(wait_window "Velmora Cindral" 120)
[ -n "$window" ] && ok "started again" || fail "started again"
sleep 2
click_client "$window" 350 111 # the fishery, second row of "Farmen" in "Alte Welt"
click_client "$window" 788 522 # "Aktivieren"
mod="$work/game/mods/[Cindral] (1010278) Fischerei"
deadline=$(($(date +%s) + 30))
while [ ! -f "$mod/modinfo.json" ] && [ "$(date +%s)" -lt "$deadline" ]; do sleep 0.5; done
expect "the mod folder is written" test -f "$mod/modinfo.json"
screenshot "$work/activated.png" "$window"

# The same mod written by the Linux build from the same data and version. The header of
# assets.xml names the time and the user, and differs only there.
mkdir -p "$work/linux/mods"
cp -r "$source/resources/data/XMLP" "$work/linux/XMLP"
sed -i 's/\(<Building GUID="1010278" [^>]*\)IsChanged="false"/\1IsChanged="true"/' \
    "$work/linux/XMLP/BuildingsShort.xml"
QT_QPA_PLATFORM=offscreen "$helper" mod "$work/linux/XMLP" "$work/linux/mods" 1010278 \
    Fischerei "$version" "$(id -un)" >/dev/null
linux="$work/linux/mods/[Cindral] (1010278) Fischerei"
without_header() { grep -v -e 'erzeugt am : ' -e 'by: ' "$1"; }
expect "assets.xml as on Linux, apart from time and user" \
    cmp -s <(without_header "$mod/data/config/export/main/asset/assets.xml") \
    <(without_header "$linux/data/config/export/main/asset/assets.xml")
expect "modinfo.json as on Linux" cmp -s "$mod/modinfo.json" "$linux/modinfo.json"
for picture in icon_1010278.png Buff.png; do
    expect "$picture as on Linux" cmp -s "$mod/data/icon/$picture" "$linux/data/icon/$picture"
done
expect "the same files as on Linux" \
    diff <(cd "$mod" && find . | sort) <(cd "$linux" && find . | sort)

step "a second copy"
"$wine" "$program" >"$work/second-copy.log" 2>&1 &
second=$!
message=$(wait_window "Programmstartfehler" 60)
if [ -n "$message" ]; then
    ok "the single-instance message is shown"
    screenshot "$work/second-copy.png" "$message"
    xdotool key --window "$message" Return
    expect "the second copy ends after its message" wait_gone "$second" 20
else
    fail "the single-instance message is shown"
fi
expect "the first copy still runs" kill -0 "$main"

step "velmora-edits beside the editor"
edits='C:\Program Files\Velmora Cindral\velmora-edits.exe'
data_dir='C:\Program Files\Velmora Cindral\XMLP'
"$wine" "$edits" export --data-dir "$data_dir" 'C:\edits.json' >"$work/edits-busy.log" 2>&1
expect "refused while the editor runs on its data directory" test $? -eq 1
expect "with the German reason" grep -q "Der Editor läuft" "$work/edits-busy.log"
click_client "$window" 788 827 # "Beenden"
expect "\"Beenden\" ends the program" wait_gone "$main" 30
"$wine" "$edits" export --data-dir "$data_dir" 'C:\edits.json' >"$work/edits.log" 2>&1
expect "exports once the editor has ended" test $? -eq 0
expect "the edits file names the fishery" grep -q '"guid": "1010278"' \
    "$WINEPREFIX/drive_c/edits.json"

step "a linked mod folder: \"Deaktivieren\" and \"Aktivieren\" leave the player's folder alone"
# The mod folder is a link to a folder of the player's (a Unix link, which Wine shows as a
# reparse point). Wine renames what such a link points to, and removes it instead of the link:
# the program must never rename it, and never reach its target.
player="$WINEPREFIX/drive_c/Wichtig"
mkdir -p "$player/Spielstände"
printf 'mein Spielstand\n' >"$player/Spielstände/Stand 1.sav"
printf 'Notizen über die Fischerei\n' >"$player/Notizen.txt"
cp -a "$player" "$work/player-before"
rm -rf "$mod"
ln -s "$player" "$mod"
flag() { grep -o '<Building GUID="1010278" [^>]*' "$program_dir/XMLP/BuildingsShort.xml" |
    grep -o 'IsExported="[a-z]*"'; }
# Clicks a button of the fishery and answers whatever the program says with Return.
click_and_answer() { # click_and_answer WINDOW X Y NAME
    click_client "$1" 350 111
    click_client "$1" "$2" "$3"
    sleep 2
    screenshot "$work/linked-$4.png"
    xdotool key Return
    sleep 1
}
"$wine" "$program" >"$work/linked-start.log" 2>&1 &
linked=$!
window=$(wait_window "Velmora Cindral" 120)
[ -n "$window" ] && ok "started with a linked mod folder" || fail "started with a linked mod folder"
sleep 2
click_and_answer "$window" 788 570 deactivate # "Deaktivieren"
expect "after \"Deaktivieren\" the player's folder is byte for byte as it was" \
    diff -r "$work/player-before" "$player"
click_and_answer "$window" 788 522 activate # "Aktivieren"
expect "after \"Aktivieren\" the player's folder is byte for byte as it was" \
    diff -r "$work/player-before" "$player"
click_client "$window" 788 827 # "Beenden"
expect "\"Beenden\" ends the program" wait_gone "$linked" 30
expect "nothing of the player's lies under a hyphenated name in mods" \
    test -z "$(find "$work/game/mods" -name 'Notizen.txt' -not -path "$mod/*")"
# Wine 8 can not remove the link itself (it reaches the target): the link stays and the game
# still loads it, so IsExported must say "true"; where the link is gone it must say "false".
if [ -L "$mod" ]; then
    expect "the link stays, and IsExported says the game loads it" test "$(flag)" = 'IsExported="true"'
else
    expect "the link is gone, and IsExported says so" test "$(flag)" = 'IsExported="false"'
fi

step "German text of the command-line programs, redirected to a file"
"$wine" "$edits" --help >"$work/edits-help.txt" 2>&1
expect "velmora-edits writes UTF-8 with its umlauts" \
    grep -q 'übernimmt die Felder, die die Vorschau' "$work/edits-help.txt"
"$wine" "$program_dir/velmora-dataprep.exe" --wrong >"$work/dataprep-wrong.txt" 2>&1
expect "velmora-dataprep writes UTF-8 with German quotes" \
    grep -q 'Unbekanntes Argument „--wrong“' "$work/dataprep-wrong.txt"
expect "both files are valid UTF-8" iconv -f UTF-8 -t UTF-8 "$work/edits-help.txt" \
    "$work/dataprep-wrong.txt" -o /dev/null

step "silent uninstall"
"$wine" "$program_dir/Deinstallieren.exe" /S >"$work/uninstall.log" 2>&1
# The uninstaller runs on from a copy of itself: wait for its files to go.
deadline=$(($(date +%s) + 60))
while [ -f "$program_dir/velmora-cindral.exe" ] && [ "$(date +%s)" -lt "$deadline" ]; do sleep 0.5; done
for file in velmora-cindral.exe velmora-dataprep.exe velmora-edits.exe velmora-cindral.ico; do
    expect "removed: $file" test ! -e "$program_dir/$file"
done
expect "Start-menu entry removed" test ! -e "$start_menu/Velmora Cindral.lnk"
expect "the data directory stays" test -f "$program_dir/XMLP/BuildingsShort.xml"
expect "the game's mods stay" test -e "$mod"

step "done"
echo "failures: $failures"
[ "$failures" -eq 0 ]
