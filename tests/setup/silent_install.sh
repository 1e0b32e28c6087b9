#!/bin/sh
# The Windows setup program under Wine, silently: per machine (Wine's user is an administrator)
# and per user (/CurrentUser), each time the files, the Start menu shortcut, the uninstall entry
# and the installed zavpatch.exe, then the uninstaller, after which the prefix's drive C: and
# uninstall entries must be as they were before (the per-user round also takes the
# AppData\Local\Programs folder the setup made); a player's own file in the program's folder
# stays. A folder that already holds other files (a game's) is refused and left as it was.
# Usage: silent_install.sh SETUP_EXE VERSION, with WINEPREFIX set up (scripts/test-windows).
set -eu
setup=$1 version=$2
: "${WINEPREFIX:?WINEPREFIX must name the Wine prefix the tests run in}"
# Wine would copy each new shortcut into the host's desktop menus.
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:+$WINEDLLOVERRIDES;}winemenubuilder.exe=d"
work=$(mktemp -d "${TMPDIR:-/tmp}/zav-setup-XXXXXX")
trap 'rm -rf "$work"' EXIT
drive_c=$WINEPREFIX/drive_c
key='Software\Microsoft\Windows\CurrentVersion\Uninstall\ZavDataPatcher'

fail() {
  echo "silent_install: $*" >&2
  exit 1
}

# The Windows folders as this prefix names them.
wine cmd /c 'echo %ProgramFiles%& echo %LOCALAPPDATA%& echo %ProgramData%& echo %APPDATA%' \
  </dev/null | tr -d '\r' >"$work/folders"
{ read -r program_files; read -r local_app_data; read -r program_data; read -r app_data; } \
  <"$work/folders"
[ -n "$app_data" ] || fail "Wine named no Windows folders: $(cat "$work/folders")"
# A C: path on the host (each wine call costs about a second on a busy machine).
host() {
  printf '%s\n' "$1" | sed 's|^[Cc]:|'"$drive_c"'|; s|\\|/|g'
}

# What must come back after the uninstall. Wine's own folder and the temporary folders (where the
# uninstaller's copy of itself waits for the next start of Windows) are left out.
snapshot() {
  (cd "$drive_c" && find . -path ./windows -prune -o -path './users/*/Temp' -prune -o -print) |
    LC_ALL=C sort >"$work/$1"
}

# Keeps the uninstall entry of hive $1 in $work/entry, one "NAME TYPE DATA" a line; fails when
# there is none.
read_entry() {
  wine reg query "$1\\$key" </dev/null 2>/dev/null | tr -d '\r' |
    sed -n 's/^    \([A-Za-z]*\)    \([A-Z_]*\)    \(.*\)$/\1 \2 \3/p' >"$work/entry"
  [ -s "$work/entry" ]
}

expect_value() {
  got=$(sed -n "s/^$1 //p" "$work/entry")
  [ "$got" = "$2" ] || fail "$hive\\$key: $1 is '$got', expected '$2'"
}

# Runs one round: $1 is the hive, $2 the folder the setup should pick, $3 the Start menu's
# Programs folder, $4 the setup's extra option.
round() {
  hive=$1 folder=$2 programs=$3
  other_hive=HKCU
  [ "$hive" = HKCU ] && other_hive=HKLM
  host_folder=$(host "$folder")
  shortcut=$(host "$programs")/ZAV\ Data\ Patcher.lnk
  [ ! -e "$host_folder" ] && [ ! -e "$shortcut" ] || fail "$folder is there before the setup ran"
  snapshot before

  # shellcheck disable=SC2086
  wine "$setup" /S $4 </dev/null >/dev/null 2>&1 || fail "the setup $4 exited with status $?"
  files=$(cd "$host_folder" && LC_ALL=C ls | tr '\n' ' ')
  [ "$files" = "README.txt uninstall.exe zav-patcher.exe zavpatch.exe " ] ||
    fail "$folder holds: $files"
  [ -f "$shortcut" ] || fail "no shortcut $shortcut"
  grep -aqF "$folder\\zav-patcher.exe" "$shortcut" || fail "$shortcut leads elsewhere"

  read_entry "$hive" || fail "the setup $4 wrote no $hive\\$key"
  expect_value DisplayName "REG_SZ ZAV Data Patcher"
  expect_value DisplayVersion "REG_SZ $version"
  expect_value DisplayIcon "REG_SZ $folder\\zav-patcher.exe,0"
  expect_value UninstallString "REG_SZ \"$folder\\uninstall.exe\""
  expect_value QuietUninstallString "REG_SZ \"$folder\\uninstall.exe\" /S"
  expect_value NoModify "REG_DWORD 0x1"
  expect_value NoRepair "REG_DWORD 0x1"
  # In KiB: at least the two programs' size.
  size=$(sed -n 's/^EstimatedSize //p' "$work/entry")
  programs_kib=$(($(cat "$host_folder/zav-patcher.exe" "$host_folder/zavpatch.exe" | wc -c) / 1024))
  case $size in
    "REG_DWORD 0x"*) [ $((${size#REG_DWORD })) -ge "$programs_kib" ] ||
      fail "EstimatedSize $size is below the programs' $programs_kib KiB" ;;
    *) fail "EstimatedSize is '$size'" ;;
  esac
  ! read_entry "$other_hive" || fail "the setup $4 wrote into $other_hive too"

  answer=$(wine "$folder\\zavpatch.exe" --version </dev/null 2>&1 | tr -d '\r') ||
    fail "the installed zavpatch.exe --version failed: $answer"
  case $answer in
    *"$version"*) ;;
    *) fail "the installed zavpatch.exe --version said: $answer" ;;
  esac

  # The uninstaller returns at once and works from a copy of itself.
  # A player's own file in the folder stays, and with it the folder (Program Files is there
  # already, so no parent folder of the setup's is kept by it).
  if [ "$hive" = HKLM ]; then
    echo "my notes" >"$host_folder/notes.txt"
  fi
  wine "$folder\\uninstall.exe" /S </dev/null >/dev/null 2>&1 || fail "the uninstaller failed"
  tries=0
  while [ -e "$host_folder/uninstall.exe" ] || [ -e "$shortcut" ] || read_entry "$hive"; do
    tries=$((tries + 1))
    [ $tries -le 150 ] || fail "the uninstall of $folder did not finish in 30 s"
    sleep 0.2
  done
  if [ "$hive" = HKLM ]; then
    [ "$(ls "$host_folder")" = notes.txt ] || fail "after the uninstall $folder holds: $(ls "$host_folder")"
    rm -r "$host_folder"
  fi
  snapshot after
  diff "$work/before" "$work/after" >&2 || fail "the uninstall left drive C: changed"
}

round HKLM "$program_files\\ZAV Data Patcher" "$program_data\\Microsoft\\Windows\\Start Menu\\Programs" ""
round HKCU "$local_app_data\\Programs\\ZAV Data Patcher" \
  "$app_data\\Microsoft\\Windows\\Start Menu\\Programs" /CurrentUser

# The game's folder as the install folder: refused, with the game as it was.
game=$work/game
mkdir -p "$game/PatcherHistory"
echo "the game's own" >"$game/README.txt"
(cd "$work" && find game -exec ls -ld --time-style=full-iso {} + >"$work/game.before")
status=0
wine "$setup" /S "/D=Z:$(echo "$game" | tr / '\\')" </dev/null >/dev/null 2>&1 || status=$?
[ $status -eq 2 ] || fail "the setup into a game's folder exited with status $status, not 2"
(cd "$work" && find game -exec ls -ld --time-style=full-iso {} + >"$work/game.after")
diff "$work/game.before" "$work/game.after" >&2 || fail "the refused setup changed the game's folder"
! read_entry HKLM || fail "the refused setup registered itself"
echo "silent_install: per machine, per user and the refused folder as expected"
