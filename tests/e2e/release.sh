#!/usr/bin/env bash
# End to end, the release packages under Wine, in a fresh prefix of their own:
#   - the portable zip, unpacked into a new folder, starts, takes a new user and keeps it beside
#     the program, and a session there adds to its totals;
#   - the installer, run silently, installs into Program Files with its mark, Start-menu shortcut
#     and uninstaller; the installed program keeps its new user under %LOCALAPPDATA%\Dactyla,
#     where a two-minute session writes its result;
#   - the silent uninstaller removes every program file and leaves the users' data.
#   tests/e2e/release.sh [dist directory]     Prints "RELEASE: N checks, F failed".
set -uo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
dist="$(cd "${1:-$root/dist}" && pwd)"
zip=$(ls "$dist"/Dactyla-*-win64.zip 2>/dev/null | sort -V | tail -1)
setup=$(ls "$dist"/Dactyla-*-win64-setup.exe 2>/dev/null | sort -V | tail -1)
[ -f "$zip" ] && [ -f "$setup" ] || { echo "RELEASE: no packages in $dist (scripts/dist.sh builds them)"; exit 1; }

export DACTYLA_WINEPREFIX="/tmp/dactyla-release-wine-$(printf '%s' "$root" | md5sum | cut -c1-8)"
exec 8>"$DACTYLA_WINEPREFIX.lock"
flock 8
. "$root/scripts/wine-env.sh"
. "$root/scripts/display.sh"
# No menu entries on this machine for the shortcut the installer makes.
export WINEDLLOVERRIDES="$WINEDLLOVERRIDES;winemenubuilder.exe=d"
export LANG="${LANG:-en_US.UTF-8}"
work="$(mktemp -d /tmp/dactyla-release.XXXXXX)"
cleanup() {
  wineserver -k >/dev/null 2>&1 || true
  dactyla_display_stop
  rm -rf "$work" "$WINEPREFIX"
}
trap cleanup EXIT

checks=0
failed=0
check() {  # check "what" command...
  local what=$1; shift
  checks=$((checks + 1))
  if "$@"; then echo "ok   $what"; else echo "FAIL $what"; failed=$((failed + 1)); fi
}
absent() { [ ! -e "$1" ]; }
has_text() { grep -q "$2" "$1"; }

# A fresh prefix: nothing installed before, no user data anywhere.
rm -rf "$WINEPREFIX"
dactyla_display_start 800x600 8>&- || { echo "RELEASE: no virtual display"; exit 1; }
dactyla_wine_prepare 8>&-
local_app_data="$(winepath -u "$("$DACTYLA_WINE" cmd /c 'echo %LOCALAPPDATA%' 2>/dev/null | tr -d '\r')" 2>/dev/null)"
local_app_data="${local_app_data%/}"
profile="$local_app_data/Dactyla"

# Runs Dactyla.exe from a Linux folder, creates the offered user "New Typist" in the new-user
# dialog, closes the help and quits from the main window with F4. Before a user exists the
# program speaks the language of Windows: on this English one the help is "Help".
first_start() {
  local program=$1
  (cd "$program" && "$DACTYLA_WINE" Dactyla.exe >/dev/null 2>&1 8>&-) &
  local pid=$!
  local step key window
  for step in 'A Question Of Time:Return' 'Help:Return' 'Dactyla:F4'; do
    key=${step##*:}
    step=${step%:*}
    window=$(timeout 30 xdotool search --sync --onlyvisible --name "^$step\$" 2>/dev/null | head -1) || true
    [ -n "$window" ] || { echo "no window '$step'"; kill "$pid" 2>/dev/null; return 1; }
    # The window has the keyboard focus once it is shown; keys go to whoever has it.
    sleep 0.5
    xdotool key "$key"
  done
  timeout 20 tail --pid="$pid" -f /dev/null
}

# Starts Dactyla.exe again for the user made before, runs a session of `seconds` of typing
# time (Enter starts it, Esc ends it), answers the summary's "Yes" and quits with F4.
session() {
  local program=$1 seconds=$2
  (cd "$program" && "$DACTYLA_WINE" Dactyla.exe >/dev/null 2>&1 8>&-) &
  local pid=$! window summary
  window=$(timeout 30 xdotool search --sync --onlyvisible --name '^Dactyla$' 2>/dev/null | head -1) || true
  [ -n "$window" ] || { echo "no main window"; kill "$pid" 2>/dev/null; return 1; }
  sleep 0.5
  xdotool key Return
  sleep "$seconds"
  xdotool key Escape
  summary=$(timeout 20 xdotool search --sync --onlyvisible --name '^A Question Of Time$' 2>/dev/null | head -1) || true
  [ -n "$summary" ] || { echo "no summary box"; kill "$pid" 2>/dev/null; return 1; }
  sleep 0.5
  xdotool key y
  sleep 1
  xdotool key F4
  timeout 20 tail --pid="$pid" -f /dev/null
}

# The typing seconds Options.dat has stored (bytes 4..7, little-endian).
stored_seconds() { od -An -tu4 -j4 -N4 "$1" | tr -d ' '; }
at_least() { [ "${1:-0}" -ge "$2" ]; }

echo "=== portable zip ==="
mkdir -p "$work/portable"
unzip -q "$zip" -d "$work/portable"
portable="$work/portable/$(basename "$zip" .zip)"
for name in Dactyla.exe dactyla-text.exe TextData.Rus TextData.Eng ReadMe.txt License.txt Sound/Loop_01.wav; do
  check "zip holds $name" test -f "$portable/$name"
done
check "zip holds no installed mark" absent "$portable/installed.mark"
check "portable first start" first_start "$portable"
check "portable user beside the program" test -f "$portable/Users/New Typist/Options.dat"
check "portable index beside the program" test -f "$portable/Users/New Typist/random.rus"
check "portable session" session "$portable" 3
check "portable session's time in the totals" at_least "$(stored_seconds "$portable/Users/New Typist/Options.dat")" 2
check "portable leaves the profile alone" absent "$profile"
"$DACTYLA_WINE" "$portable/dactyla-text.exe" --help >"$work/portable-help.txt" 2>&1
check "dactyla-text --help names its version and data" has_text "$work/portable-help.txt" "^dactyla-text [0-9]"

echo "=== installer ==="
# The silent installer finishes before wine returns.
"$DACTYLA_WINE" "$setup" /S >/dev/null 2>&1 8>&-
installed="$(winepath -u 'C:\Program Files\Dactyla')"
installed="${installed%/}"
for name in Dactyla.exe dactyla-text.exe TextData.Rus TextData.Eng ReadMe.txt License.txt Sound/Loop_01.wav \
            installed.mark Uninstall.exe; do
  check "installed $name" test -f "$installed/$name"
done
start_menu="$(winepath -u 'C:\ProgramData\Microsoft\Windows\Start Menu\Programs')"
check "Start-menu shortcut" test -f "${start_menu%/}/Dactyla.lnk"
check "installed first start" first_start "$installed"
check "installed user in the profile" test -f "$profile/Users/New Typist/Options.dat"
check "installed index in the profile" test -f "$profile/Users/New Typist/random.rus"
check "texts copied into the profile" cmp -s "$installed/TextData.Rus" "$profile/TextData.Rus"
# Only a session of two minutes or more is written to the results log.
check "installed two-minute session" session "$installed" 123
check "installed session's result in the profile" test -s "$profile/Users/New Typist/Results - Rus.txt"
check "installed session's time in the totals" at_least "$(stored_seconds "$profile/Users/New Typist/Options.dat")" 120
check "no users under Program Files" absent "$installed/Users"
"$DACTYLA_WINE" "$installed/dactyla-text.exe" --help >"$work/installed-help.txt" 2>&1
check "dactyla-text --help names the profile" has_text "$work/installed-help.txt" "in the user's profile"

echo "=== uninstaller ==="
# The uninstaller hands over to a copy of itself in the temporary folder and returns at once;
# that copy removes Uninstall.exe last, just before the folder.
"$DACTYLA_WINE" "$installed/Uninstall.exe" /S >/dev/null 2>&1 8>&-
for _ in $(seq 300); do [ -e "$installed" ] || break; sleep 0.1; done
check "program folder removed" absent "$installed"
check "Start-menu shortcut removed" absent "${start_menu%/}/Dactyla.lnk"
check "users' data kept" test -f "$profile/Users/New Typist/Options.dat"
check "texts kept" test -f "$profile/TextData.Rus"

echo "RELEASE: $checks checks, $failed failed"
[ "$failed" -eq 0 ]
