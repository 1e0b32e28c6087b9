#!/bin/bash
# What the tool costs against the plain commands that do the same work, in one run: each line is
# a pair of commands timed in turns (the order alternating, PAIRS pairs, default 7), with the
# medians and the median, lowest and highest of the ratios. Then the system calls per installed
# file (by `strace -c -f`, when strace is there), then the 400 MiB track (bench/copy_speed.sh).
#
#   bench/side_by_side.sh BUILD_DIR [PAIRS]
#
# The work folder is BUILD_DIR/bench-side-by-side: keep BUILD_DIR on a real disk. Each timed
# command starts from a fresh copy of the game, made before it and synced, so neither side pays
# for the other's write-back. ZAVPATCH=path measures another zavpatch.
set -euo pipefail

build=$(cd "${1:?usage: bench/side_by_side.sh BUILD_DIR [PAIRS]}" && pwd)
pairs=${2:-7}
here=$(cd "$(dirname "$0")" && pwd)
work="$build/bench-side-by-side"
zavpatch=${ZAVPATCH:-$build/bin/zavpatch}

rm -rf "$work"
mkdir -p "$work"
"$build/bin/zav-sample" "$work/install" --proposed-tracks 20 --proposed-cars 0 \
    --data-size 1048576 >/dev/null
"$build/bin/zav-sample" "$work/full" --proposed-tracks 96 --proposed-cars 96 \
    --data-size 4096 >/dev/null
# The 100 files an install of every track copies: each track folder's files but its list.
find "$work/install/disc/circuits" -type f ! -name circuits.bin | sort >"$work/files.txt"
cat $(cat "$work/files.txt") >/dev/null # both sides read the disc from the page cache

# Times in nanoseconds from ${EPOCHREALTIME}: bash reads the clock without starting a process.
now() { echo "${EPOCHREALTIME/[.,]/}000"; }

# Each side of a pair: prepare (untimed), then the timed command.
prepare_game() {
    rm -rf "$work/out"
    mkdir -p "$work/out"
    cp -a "$work/install/prefix" "$work/out/prefix"
    sync
}
prepare_empty() {
    rm -rf "$work/out"
    mkdir -p "$work/out/copy"
    sync
}
install_all() {
    "$zavpatch" --prefix "$work/out/prefix" --source "$work/install/disc" --yes \
        install tracks --all >/dev/null 2>"$work/zavpatch.err" ||
        { cat "$work/zavpatch.err" >&2; exit 1; }
}
history_on() { ZAV_HISTORY=on install_all; }
history_off() { ZAV_HISTORY=off install_all; }
copy_files() { xargs -d '\n' cp -t "$work/out/copy" <"$work/files.txt"; }
status_full() { "$zavpatch" --prefix "$work/full/prefix" --source "$work/full/disc" status >/dev/null; }
list_full() { ls -lR "$work/full/prefix" "$work/full/disc" >/dev/null; }
nothing() { :; }

time_one() { # PREPARE COMMAND -> nanoseconds
    "$1"
    local start end
    start=$(now)
    "$2"
    end=$(now)
    echo $((end - start))
}

median() { printf '%s\n' "$@" | sort -g | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
lowest() { printf '%s\n' "$@" | sort -g | head -n 1; }
highest() { printf '%s\n' "$@" | sort -g | tail -n 1; }

# LABEL PREPARE_A COMMAND_A LABEL_A PREPARE_B COMMAND_B LABEL_B
pair() {
    local as=() bs=() ratios=() a b i
    time_one "$2" "$3" >/dev/null # once untimed: the first touch of fresh memory is slow
    time_one "$5" "$6" >/dev/null
    for ((i = 1; i <= pairs; i++)); do
        if ((i % 2)); then
            a=$(time_one "$2" "$3"); b=$(time_one "$5" "$6")
        else
            b=$(time_one "$5" "$6"); a=$(time_one "$2" "$3")
        fi
        as+=("$a"); bs+=("$b")
        ratios+=("$(awk -v a="$a" -v b="$b" 'BEGIN { printf "%.3f", a / b }')")
    done
    printf '%-44s %-14s %7.1f ms   %-10s %7.1f ms   ratio %s (%s-%s)\n' "$1" "$4" \
        "$(awk -v n="$(median "${as[@]}")" 'BEGIN { print n / 1e6 }')" "$7" \
        "$(awk -v n="$(median "${bs[@]}")" 'BEGIN { print n / 1e6 }')" \
        "$(median "${ratios[@]}")" "$(lowest "${ratios[@]}")" "$(highest "${ratios[@]}")"
}

printf 'medians of %d pairs on %s; ratio: median (lowest-highest)\n' "$pairs" \
    "$(df -T "$work" | awk 'NR == 2 { print $2 }')"
pair "install tracks --all, 100 files of 1 MiB" prepare_game history_on "history on" \
    prepare_empty copy_files "cp"
pair "the same install" prepare_game history_on "history on" \
    prepare_game history_off "off"
pair "status, 96 + 96 proposed entries" nothing status_full "status" \
    nothing list_full "ls -lR"

if command -v strace >/dev/null; then
    for history in on off; do
        prepare_game
        ZAV_HISTORY=$history strace -f -c -o "$work/strace.txt" "$zavpatch" \
            --prefix "$work/out/prefix" --source "$work/install/disc" --yes install tracks --all \
            >/dev/null 2>&1
        awk -v history="$history" '
            $NF == "newfstatat" || $NF == "openat" || $NF == "getdents64" { calls[$NF] = $4 }
            $NF == "total" { total = $4 }
            END {
                looks = calls["newfstatat"] + calls["openat"] + calls["getdents64"]
                printf "system calls per installed file, history %-3s   %.1f in all; %.1f of " \
                    "newfstatat %.1f + openat %.1f + getdents64 %.1f\n", history, total / 100,
                    looks / 100, calls["newfstatat"] / 100, calls["openat"] / 100,
                    calls["getdents64"] / 100
            }' "$work/strace.txt"
    done
else
    echo "system calls per installed file: strace is not installed"
fi
rm -rf "$work"

"$here/copy_speed.sh" "$build"
