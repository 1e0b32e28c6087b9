#!/usr/bin/env bash
# Takes the README's screenshots of the window on the sample game, under Xvfb:
# docs/window-compact.png (Quarry selected) and docs/window-track-preview.png (Quarry previewed).
# Needs a build with the window (build/bin/zav-patcher, zav-sample; BUILD=dir for another one)
# and xvfb, xauth, xdotool and imagemagick.
set -euo pipefail
cd "$(dirname "$0")/.."
build="${BUILD:-build}"

if [ -z "${ZAV_SCREENSHOTS_IN_XVFB:-}" ]; then
  exec xvfb-run -a -s "-screen 0 1280x1024x24" env ZAV_SCREENSHOTS_IN_XVFB=1 "$0" "$@"
fi

work="$(mktemp -d)"
trap 'kill "${pid:-}" 2>/dev/null || true; rm -rf "$work"' EXIT
export XDG_RUNTIME_DIR="$work/runtime" TMPDIR="$work/tmp"
mkdir -m 700 "$XDG_RUNTIME_DIR" "$TMPDIR"
"$build/bin/zav-sample" "$work/sample" >/dev/null

"$build/bin/zav-patcher" --prefix "$work/sample/prefix" --source "$work/sample/disc" &
pid=$!
window="$(xdotool search --sync --onlyvisible --name 'ZAV Data Patcher' | head -n 1)"
sleep 1

# Points of the dialog template (in dialog units, 228 × 281) as pixels of this window: the
# compact window is the template's width and its height less 25 pixels.
eval "$(xdotool getwindowgeometry --shell "$window")"
at() { echo $((WIDTH * $1 / 228)) $(((HEIGHT + 25) * $2 / 281)); }

# "Quarry" is the first entry of "New Proposed Data" (85, 74 in dialog units).
read -r x y < <(at 85 74)
xdotool mousemove --window "$window" $((x + 20)) $((y + 8)) click 1
# Away from the controls, so none is drawn hovered.
xdotool mousemove --window "$window" 5 5
sleep 0.5
import -window "$window" docs/window-compact.png

# "Display ->" is the first picture button (169, 54, 43 × 33).
read -r x y < <(at 190 70)
xdotool mousemove --window "$window" "$x" "$y" click 1
compactWidth=$WIDTH
for _ in $(seq 50); do
  eval "$(xdotool getwindowgeometry --shell "$window")"
  [ "$WIDTH" -gt "$compactWidth" ] && break
  sleep 0.1
done
xdotool mousemove --window "$window" 5 5
sleep 0.5
import -window "$window" docs/window-track-preview.png
echo "docs/window-compact.png and docs/window-track-preview.png written (window $WIDTH × $HEIGHT)"
