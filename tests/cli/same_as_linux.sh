#!/bin/sh
# zavpatch.exe under Wine against the Linux zavpatch: the same game (its settings file in the Wine
# prefix's Windows directory, the game on C:) and the same disc, the same commands, one after the
# other. Standard output, standard error, exit statuses and every file of the game after each
# command must be the same; only the disc's path is spelled the host's way in each.
# Usage: same_as_linux.sh LINUX_BIN ZAVPATCH_EXE, with WINEPREFIX set up (scripts/test-windows).
set -eu
linux_bin=$1
exe=$2
: "${WINEPREFIX:?WINEPREFIX must name the Wine prefix the tests run in}"
work=$(mktemp -d "${TMPDIR:-/tmp}/zav-same-XXXXXX")
trap 'rm -rf "$work"' EXIT

"$linux_bin/zav-sample" --version 1 --mixed-case --accelerated "$work/sample" >/dev/null
disc=$work/sample/disc
windows_disc="Z:$(echo "$disc" | tr / '\\')"
drive_c=$WINEPREFIX/drive_c
mkdir -p "$work/temp"

# The sample spells its folders in mixed case: the game's folder and the settings file's folder.
sample_c=$work/sample/prefix/drive_c
games=$(cd "$sample_c" && ls | grep -v '^windows$')
quorvex=$(ls "$sample_c/windows")

# Puts the sample's game and settings file into the Wine prefix, as the game's installer would.
install_game() {
  rm -rf "${drive_c:?}/$games" "$drive_c/windows/$quorvex"
  cp -R "$sample_c/$games" "$drive_c/$games"
  cp -R "$sample_c/windows/$quorvex" "$drive_c/windows/$quorvex"
}

# Runs the commands with `$1` (linux or windows), keeping what each said and left in $work/$1.
run_all() {
  install_game
  out=$work/$1
  mkdir -p "$out"
  n=0
  while IFS= read -r command; do
    n=$((n + 1))
    if [ "$1" = linux ]; then
      # shellcheck disable=SC2086
      TMPDIR=$work/temp "$linux_bin/zavpatch" --prefix "$WINEPREFIX" --source "$disc" $command \
        </dev/null >"$out/$n.out" 2>"$out/$n.err" && status=0 || status=$?
    else
      # shellcheck disable=SC2086
      wine "$exe" --source "$windows_disc" $command </dev/null >"$out/$n.out" 2>"$out/$n.err" \
        && status=0 || status=$?
      sed -i "s|$(printf '%s' "$windows_disc" | sed 's/[\\.]/\\&/g')|$disc|g" "$out/$n.out" "$out/$n.err"
    fi
    echo "$command -> $status" >>"$out/statuses"
    # The history's manifests hold the time of each run; the saved copies are compared.
    (cd "$drive_c/$games" && find . -type f ! -path '*/PatcherHistory/*/entry.txt' |
      LC_ALL=C sort | xargs md5sum) >"$out/$n.files"
  done <<'COMMANDS'
status
install tracks Quarry summit
--no install tracks Quarry
install cars --all
--yes trash tracks quarry
--no trash cars Lynx
install tracks Nowhere
status tracks
COMMANDS
}

run_all linux
run_all windows
if ! diff -r "$work/linux" "$work/windows"; then
  echo "zavpatch.exe differs from zavpatch (see above)" >&2
  exit 1
fi
cat "$work/linux/statuses"
echo "zavpatch.exe and zavpatch gave the same outputs, statuses and game files."
