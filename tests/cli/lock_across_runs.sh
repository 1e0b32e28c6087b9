#!/bin/sh
# Two runs on one game exclude each other across processes and across the two builds: while a
# Linux zavpatch waits at a question, a second Linux zavpatch and, when given, zavpatch.exe under
# Wine on the same game are refused with the message of a second run and change nothing; once the
# first has ended, the lock file is gone and the game can be used again.
# Usage: lock_across_runs.sh LINUX_BIN [ZAVPATCH_EXE]. With ZAVPATCH_EXE, WINEPREFIX names the Wine
# prefix the tests run in (scripts/test-windows) and the game is installed there.
set -eu
linux_bin=$1
exe=${2:-}
work=$(mktemp -d "${TMPDIR:-/tmp}/zav-lock-XXXXXX")
holder=
cleanup() {
  [ -n "$holder" ] && kill "$holder" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
fail() {
  echo "$*" >&2
  exit 1
}

"$linux_bin/zav-sample" --version 1 --mixed-case --accelerated "$work/sample" >/dev/null
disc=$work/sample/disc
prefix=$work/sample/prefix
if [ -n "$exe" ]; then
  : "${WINEPREFIX:?WINEPREFIX must name the Wine prefix the tests run in}"
  sample_c=$prefix/drive_c
  games=$(cd "$sample_c" && ls | grep -v '^windows$')
  quorvex=$(ls "$sample_c/windows")
  rm -rf "${WINEPREFIX:?}/drive_c/$games" "$WINEPREFIX/drive_c/windows/$quorvex"
  cp -R "$sample_c/$games" "$WINEPREFIX/drive_c/$games"
  cp -R "$sample_c/windows/$quorvex" "$WINEPREFIX/drive_c/windows/$quorvex"
  prefix=$WINEPREFIX
fi
# The game's top folder: the sample's only one beside windows\ (a Wine prefix has others too).
game=$prefix/drive_c/$(cd "$work/sample/prefix/drive_c" && ls | grep -v '^windows$')
mkdir -p "$work/temp"
linux() {
  TMPDIR=$work/temp timeout 60 "$linux_bin/zavpatch" --prefix "$prefix" --source "$disc" "$@"
}
snapshot() {
  (cd "$game" && find . -type f ! -name '.zav-lock' | LC_ALL=C sort | xargs md5sum)
}

# The first run asks on its terminal (script(1)), whose input stays open until it is answered.
mkfifo "$work/answer"
TMPDIR=$work/temp timeout 60 script -qec "'$linux_bin/zavpatch' --prefix '$prefix' --source \
'$disc' trash tracks Harbour" /dev/null <"$work/answer" >"$work/first.out" 2>&1 &
holder=$!
exec 3>"$work/answer"
tries=0
until grep -q "Do you want to continue" "$work/first.out"; do
  tries=$((tries + 1))
  [ "$tries" -le 300 ] || fail "the first run asked nothing: $(cat "$work/first.out")"
  sleep 0.1
done
before=$(snapshot)

expect_refused() {
  status=0
  "$@" </dev/null >"$work/second.out" 2>"$work/second.err" || status=$?
  [ "$status" = 255 ] || fail "$* while the first run waits: exit $status, $(cat "$work/second.err")"
  grep -q "already running on this game" "$work/second.err" ||
    fail "$*: no word of the first run: $(cat "$work/second.err")"
  [ "$(snapshot)" = "$before" ] || fail "$* changed the game"
}
expect_refused linux install tracks Quarry
[ -z "$exe" ] || expect_refused wine "$exe" --source "Z:$(echo "$disc" | tr / '\\')" install tracks Quarry

echo n >&3
exec 3>&-
wait "$holder" || true
holder=
[ ! -e "$game/Data/Binary/Scripts/.zav-lock" ] && [ ! -e "$game/data/binary/scripts/.zav-lock" ] ||
  fail "the lock file is left after the first run"
[ -z "$(find "$game" -name '.zav-lock*')" ] || fail "a lock file is left: $(find "$game" -name '.zav-lock*')"
linux status >/dev/null || fail "the game cannot be used after the first run"
if [ -n "$exe" ]; then
  wine "$exe" status </dev/null >/dev/null 2>&1 || fail "zavpatch.exe cannot use the game after it"
  [ -z "$(find "$game" -name '.zav-lock*')" ] || fail "zavpatch.exe left its lock file"
fi
echo "A second run, of either build, was refused while the first held the game."
