#!/usr/bin/env bash
# Builds the fuzz targets with clang into build-fuzz/ and runs one of them for a given time.
#   fuzz/run.sh TARGET [SECONDS] [extra libFuzzer options...]
# TARGET is one of: name_list_file sized_record_file picture_decoder profile_reader.
# The run starts from the seed corpus (fuzz/corpus/TARGET) and grows a working corpus in
# build-fuzz/corpus/TARGET, so the seeds in the tree stay as they are. A crash leaves its input
# in build-fuzz/artifacts/TARGET/; once the fault is mended, copy the input to
# fuzz/regressions/TARGET/ so the test suite replays it for good.
set -euo pipefail
cd "$(dirname "$0")/.."

target="${1:?usage: fuzz/run.sh TARGET [SECONDS] [libFuzzer options...]}"
seconds="${2:-60}"
shift $(($# >= 2 ? 2 : 1))
if [ ! -d "fuzz/corpus/$target" ]; then
  echo "fuzz/run.sh: no target '$target' (see fuzz/corpus/)" >&2
  exit 2
fi

compiler="${ZAV_FUZZ_CXX:-clang++-14}"
cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_CXX_COMPILER="$compiler" -DZAV_BUILD_FUZZERS=ON -DZAV_BUILD_TESTS=OFF \
  -DZAV_BUILD_CLI=OFF -DZAV_BUILD_GUI=OFF -DZAV_BUILD_BENCH=OFF >/dev/null
cmake --build build-fuzz --parallel "$(nproc)" --target "${target}_fuzzer"

mkdir -p "build-fuzz/corpus/$target" "build-fuzz/artifacts/$target"
exec "build-fuzz/bin/${target}_fuzzer" -max_total_time="$seconds" -print_final_stats=1 \
  -artifact_prefix="build-fuzz/artifacts/$target/" "$@" \
  "build-fuzz/corpus/$target" "fuzz/corpus/$target"
