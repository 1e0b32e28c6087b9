#!/bin/bash
# Installing one track whose data file is large, against `cp -r` of the same track folder, in the
# same run and on the same file system: SIZE_MIB (default 400) for the track's .bl3, PAIRS
# (default 5) timed pairs, each pair in alternating order. Each timed command starts right after
# the output of the one before is deleted and the disk synced, so both sides write into memory
# that was just freed and neither pays for the other's write-back. (On a virtual machine that
# hands freed memory back to its host, memory that lay free for a while is slow to touch again.)
# Prints each pair and the medians.
#
#   bench/copy_speed.sh BUILD_DIR [SIZE_MIB] [PAIRS]
#
# The work folder is BUILD_DIR/bench-copy-speed: keep BUILD_DIR on a real disk, not a memory
# file system, or both sides only measure memory copies. ZAVPATCH=path runs another zavpatch.
set -euo pipefail

build=$(cd "${1:?usage: bench/copy_speed.sh BUILD_DIR [SIZE_MIB] [PAIRS]}" && pwd)
size_mib=${2:-400}
pairs=${3:-5}
work="$build/bench-copy-speed"
zavpatch=${ZAVPATCH:-$build/bin/zavpatch} # another build of it can be compared

rm -rf "$work"
mkdir -p "$work"
"$build/bin/zav-sample" "$work/pristine" --proposed-tracks 1 --proposed-cars 0 \
    --data-size 4096 >/dev/null
track_folder=$(find "$work/pristine/disc/circuits" -mindepth 1 -maxdepth 1 -type d)
track=$(basename "$track_folder")
dd if=/dev/urandom of="$track_folder/$track.bl3" bs=1M count="$size_mib" status=none
cat "$track_folder"/* >/dev/null # both sides read the disc from the page cache

# Times are read from ${EPOCHREALTIME/[.,]/} (microseconds): bash reads the clock without
# starting a process, which on a loaded machine costs tens of milliseconds.

# Deletes the last command's output, gives the next one what it starts from, syncs.
prepare() {
    rm -rf "$work/out"
    mkdir -p "$work/out"
    if [ "$1" = install ]; then
        cp -a "$work/pristine/prefix" "$work/out/prefix"
    fi
    sync
}

time_install() {
    prepare install
    start=${EPOCHREALTIME/[.,]/}
    "$zavpatch" --prefix "$work/out/prefix" --source "$work/pristine/disc" --yes \
        install tracks "$track" >/dev/null 2>"$work/zavpatch.err" ||
        { cat "$work/zavpatch.err" >&2; exit 1; }
    end=${EPOCHREALTIME/[.,]/}
    echo $(( (end - start) * 1000 ))
}

time_cp() {
    prepare cp
    start=${EPOCHREALTIME/[.,]/}
    cp -r "$track_folder" "$work/out/copy"
    end=${EPOCHREALTIME/[.,]/}
    echo $(( (end - start) * 1000 ))
}

# One pair untimed: the first touch of memory after the data file was written is slow.
time_install >/dev/null
time_cp >/dev/null

installs=""
cps=""
ratios=""
i=1
while [ "$i" -le "$pairs" ]; do
    if [ $((i % 2)) -eq 1 ]; then
        install_ns=$(time_install); cp_ns=$(time_cp)
    else
        cp_ns=$(time_cp); install_ns=$(time_install)
    fi
    ratio=$(awk -v a="$install_ns" -v b="$cp_ns" 'BEGIN { printf "%.3f", a / b }')
    printf 'pair %d: install %7.1f ms   cp -r %7.1f ms   ratio %s\n' "$i" \
        "$(awk -v n="$install_ns" 'BEGIN { print n / 1e6 }')" \
        "$(awk -v n="$cp_ns" 'BEGIN { print n / 1e6 }')" "$ratio"
    installs="$installs $install_ns"
    cps="$cps $cp_ns"
    ratios="$ratios $ratio"
    i=$((i + 1))
done

median() { printf '%s\n' $1 | sort -g | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
printf 'track %s, %d MiB data file, %d pairs on %s\n' "$track" "$size_mib" "$pairs" \
    "$(df -T "$work" | awk 'NR == 2 { print $2 }')"
printf 'median install %.1f ms, median cp -r %.1f ms, median ratio %s\n' \
    "$(awk -v n="$(median "$installs")" 'BEGIN { print n / 1e6 }')" \
    "$(awk -v n="$(median "$cps")" 'BEGIN { print n / 1e6 }')" "$(median "$ratios")"
rm -rf "$work"
