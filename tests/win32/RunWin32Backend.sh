#!/usr/bin/env bash
# Runs the Windows backend's probe under Wine in a fresh prefix:
#   RunWin32Backend.sh WINE PROBE_EXE WORK_DIR VERSION
# Exits 77 (skipped) only where Wine can not run at all; any other failure fails the test.
set -uo pipefail
wine=$1 probe=$2 work=$3 version=$4

if [ -z "$wine" ] || [ ! -x "$wine" ]; then
    echo "SKIPPED: wine64 is not installed (tools/install-deps.sh installs it)"
    exit 77
fi
wineserver=$(dirname "$(readlink -f "$wine")")/wineserver
[ -x "$wineserver" ] || wineserver=$(command -v wineserver || true)

export WINEPREFIX=$work/prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" DISPLAY=
unset WAYLAND_DISPLAY
rm -rf "$work"
mkdir -p "$work/run"
cd "$work/run"

stop_wine() { [ -n "$wineserver" ] && "$wineserver" -k >/dev/null 2>&1; }
trap stop_wine EXIT

started=$(date +%s)
if ! "$wine" wineboot -i >"$work/wineboot.log" 2>&1; then
    echo "SKIPPED: wine64 can not create a prefix here:"
    tail -5 "$work/wineboot.log"
    exit 77
fi
# Keep one server for the whole run: every later start is then quick.
[ -n "$wineserver" ] && "$wineserver" -p >/dev/null 2>&1
echo "prefix created in $(($(date +%s) - started)) s"

failures=0
check() { # check NAME EXPECTED_EXIT COMMAND...
    local name=$1 expected=$2
    shift 2
    local output status
    output=$("$@" 2>&1)
    status=$?
    if [ "$status" -eq "$expected" ]; then
        echo "ok   $name"
    else
        echo "FAIL $name (exit $status, expected $expected)"
        [ -n "$output" ] && printf '%s\n' "$output" | sed 's/^/     /'
        failures=$((failures + 1))
    fi
}

# The two machine-wide keys as an installer leaves them: a registry script in UTF-16.
{
    printf '\xff\xfe'
    iconv -f UTF-8 -t UTF-16LE <<'REG'
Windows Registry Editor Version 5.00

[HKEY_LOCAL_MACHINE\SOFTWARE\WOW6432Node\Orlane\Velmora]
"InstallDir"="C:\\Program Files (x86)\\Orlane\\Velmöra Grünland"

[HKEY_LOCAL_MACHINE\SOFTWARE\WOW6432Node\Orlane\Launcher\Installs\4553]
"InstallDir"="D:\\Spiele\\Äße\\Velmora\\"
REG
} >"$work/machine-keys.reg"
check "machine keys imported" 0 "$wine" regedit /S "$work/machine-keys.reg"

check "settings written and read back" 0 "$wine" "$probe" settings
check "machine-wide keys read" 0 "$wine" "$probe" machine-keys
check "user name" 0 "$wine" "$probe" user "$(id -un)"
check "version from the version resource" 0 "$wine" "$probe" version "$version"

# The guard: a holder in the background, a second process refused while it runs.
wait_for_holder() { # the holder prints "held" once it has the guard
    for _ in $(seq 600); do
        grep -q held "$work/holder.out" 2>/dev/null && return 0
        kill -0 "$1" 2>/dev/null || return 1
        sleep 0.1
    done
    return 1
}
start_holder() {
    rm -f stop "$work/holder.out"
    "$wine" "$probe" hold >"$work/holder.out" 2>&1 &
    holder=$!
    if ! wait_for_holder "$holder"; then
        echo "FAIL the holder did not take the guard:"
        sed 's/^/     /' "$work/holder.out"
        failures=$((failures + 1))
    fi
}

start_holder
check "guard refused while the holder runs" 2 "$wine" "$probe" try
touch stop
wait "$holder"
check "holder ended normally" 0 test "$?" -eq 0
check "guard free after the holder ended" 0 "$wine" "$probe" try

start_holder
check "guard refused again" 2 "$wine" "$probe" try
kill -KILL "$holder"
wait "$holder" 2>/dev/null
check "guard free after the holder was killed" 0 "$wine" "$probe" try

echo "ran under Wine in $(($(date +%s) - started)) s"
[ "$failures" -eq 0 ]
