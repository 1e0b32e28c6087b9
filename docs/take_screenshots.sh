#!/usr/bin/env bash
# Takes the README's screenshots of the window on the sample game, under Xvfb (1280 × 1024):
# docs/window-compact.png (Quarry selected), docs/window-track-preview.png (Quarry previewed),
# docs/window-french.png (the same selection on a French game) and docs/window-scale-2.png (the
# preview at QT_SCALE_FACTOR=2, where the window is cut to the screen and the picture shrunk).
# Needs a build with the window (build/bin/zav-patcher, zav-sample; BUILD=dir for another one)
# and xvfb, xauth, xdotool and imagemagick.
set -euo pipefail
cd "$(dirname "$0")/.."
build="${BUILD:-build}"

for tool in xvfb-run xdotool import; do
  command -v "$tool" >/dev/null || { echo "take_screenshots.sh: $tool is missing" >&2; exit 1; }
done
if [ -z "${ZAV_SCREENSHOTS_IN_XVFB:-}" ]; then
  exec xvfb-run -a -s "-screen 0 1280x1024x24" env ZAV_SCREENSHOTS_IN_XVFB=1 "$0" "$@"
fi

work="$(mktemp -d)"
trap 'kill "${pid:-}" 2>/dev/null || true; rm -rf "$work"' EXIT
export XDG_RUNTIME_DIR="$work/runtime" TMPDIR="$work/tmp"
mkdir -m 700 "$XDG_RUNTIME_DIR" "$TMPDIR"

# Opens the window on a new sample game written with the zav-sample options "$@", with the
# environment of $scale, and selects Quarry, the first entry of "New Proposed Data".
open_window() {
  rm -rf "$work/sample"
  "$build/bin/zav-sample" "$@" "$work/sample" >/dev/null
  env QT_SCALE_FACTOR="${scale:-1}" "$build/bin/zav-patcher" --prefix "$work/sample/prefix" \
    --source "$work/sample/disc" &
  pid=$!
  window="$(xdotool search --sync --onlyvisible --name 'ZAV Data Patcher' | head -n 1)"
  sleep 1
  eval "$(xdotool getwindowgeometry --shell "$window")"
  compactWidth=$WIDTH
  click_at 85 74 20 8
}

# Clicks the point of the dialog template (dialog units, 228 × 281) plus a pixel offset: the
# compact window is the template's width and its height less 25 pixels (times the scale).
click_at() {
  local x=$((compactWidth * $1 / 228)) y=$(((HEIGHT + 25 * ${scale:-1}) * $2 / 281))
  xdotool mousemove --window "$window" $((x + $3)) $((y + $4)) click 1
  # Away from the controls, so none is drawn hovered.
  xdotool mousemove --window "$window" 5 5
  sleep 0.5
}

# Presses "Display ->" (169, 54, 43 × 33) and waits for the wider preview layout.
show_preview() {
  click_at 190 70 0 0
  for _ in $(seq 50); do
    eval "$(xdotool getwindowgeometry --shell "$window")"
    [ "$WIDTH" -gt "$compactWidth" ] && break
    sleep 0.1
  done
  sleep 0.5
}

close_window() {
  kill "$pid"
  wait "$pid" 2>/dev/null || true
}

open_window
import -window "$window" docs/window-compact.png
show_preview
import -window "$window" docs/window-track-preview.png
close_window

open_window --language French
import -window "$window" docs/window-french.png
close_window

scale=2 open_window
scale=2 show_preview
import -window "$window" docs/window-scale-2.png
close_window
echo "docs/window-compact.png, window-track-preview.png, window-french.png and window-scale-2.png written"
