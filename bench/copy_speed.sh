#!/bin/sh
# Installing one track whose data file is large, against `cp -r` of the same track folder, in the
# same run and on the same file system: SIZE_MIB (default 400) for the track's .bl3, PAIRS
# (default 5) timed pairs, each pair in alternating order, after a sync so that no pair pays for
# the write-back of the one before. Prints each pair and the medians.
#
#   bench/copy_speed.sh BUILD_DIR [SIZE_MIB] [PAIRS]
#
# The work folder is BUILD_DIR/bench-copy-speed: keep BUILD_DIR on a real disk, not a memory
# file system, or both sides only measure memory copies.
set -eu

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

now_ns() { date +%s%N; }

time_install() {
    start=$(now_ns)
    "$zavpatch" --prefix "$work/run/prefix" --source "$work/pristine/disc" --yes \
        install tracks "$track" >/dev/null 2>"$work/zavpatch.err" ||
        { cat "$work/zavpatch.err" >&2; exit 1; }
    echo $(( $(now_ns) - start ))
}

time_cp() {
    start=$(now_ns)
    cp -r "$track_folder" "$work/run/cp-copy"
    echo $(( $(now_ns) - start ))
}

installs=""
cps=""
ratios=""
i=1
while [ "$i" -le "$pairs" ]; do
    rm -rf "$work/run"
    mkdir -p "$work/run"
    cp -a "$work/pristine/prefix" "$work/run/prefix"
    sync
    if [ $((i % 2)) -eq 1 ]; then
        install_ns=$(time_install); sync; cp_ns=$(time_cp)
    else
        cp_ns=$(time_cp); sync; install_ns=$(time_install)
    fi
    sync
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
