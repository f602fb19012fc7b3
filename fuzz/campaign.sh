#!/usr/bin/env bash
# Runs one fuzz target for a number of minutes at the lowest priority, then folds what it found into
# the target's corpus in the repository: the shipped seeds stay, and a new input is kept only when it
# adds coverage (libFuzzer's -merge=1).
#
#   fuzz/campaign.sh TARGET MINUTES [BUILD_DIR]      (BUILD_DIR defaults to build-fuzz; MINUTES 0: merge only)
#
# Configure the fuzz build once with clang:
#   cmake -S . -B build-fuzz -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DLUMERIK_FUZZ=ON \
#         -DLUMERIK_TESTS=OFF -DLUMERIK_BENCH=OFF -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG="-O2 -g"
# Work files (the growing corpus, any crashing input, the log) go to /tmp/lumerik-fuzz/TARGET.
set -euo pipefail
cd "$(dirname "$0")/.."
target=${1:?target}
minutes=${2:?minutes}
build=${3:-build-fuzz}

# Longest input worth trying per format: the level and graphics files are scanned as a 131,072-byte image.
# What is kept in the repository is cut to merge_len, so the corpora stay small.
merge_len=1024
case $target in
  config_scanner|levels|gfx_settings) max_len=140000 ;;
  texts) max_len=12000 ;;          # the loader reads no more than the largest table needs
  character_map) max_len=20000 ;;
  branding) max_len=4096 ;;        # eleven short lines
  picture) max_len=65536 merge_len=4096 ;;
  sim_script) max_len=8192 ;;
  profiles) max_len=16384 merge_len=8192 ;;   # the header and a handful of 1876-byte records
  high_scores) max_len=2048 ;;
  settings) max_len=8192 ;;       # a few players' sections; the bound of 256 KiB adds nothing
  *) echo "unknown target $target" >&2; exit 2 ;;
esac

fuzzer=$build/fuzz/fuzz-$target
[ -x "$fuzzer" ] || { echo "build $fuzzer first: cmake --build $build --target fuzz-$target" >&2; exit 2; }
work=/tmp/lumerik-fuzz/$target
mkdir -p "$work/corpus" "$work/artifacts"
dict=()
[ -f fuzz/dict/$target.dict ] && dict=(-dict=fuzz/dict/$target.dict)

# MINUTES 0 only merges the work corpus of earlier runs.
if [ "$minutes" -gt 0 ]; then
  set +e
  nice -n 19 "$fuzzer" "$work/corpus" "fuzz/corpus/$target" "${dict[@]}" -max_len=$max_len -rss_limit_mb=2048 \
    -timeout=10 -max_total_time=$((minutes * 60)) -print_final_stats=1 -artifact_prefix="$work/artifacts/" \
    2>&1 | tee "$work/log.txt" | grep -E '^(#[0-9]+ +(DONE|INITED)|stat::|==|SUMMARY|.*property broken)'
  status=${PIPESTATUS[0]}
  set -e
  if [ "$status" -ne 0 ]; then
    echo "finding: see $work/log.txt and $work/artifacts/" >&2
    exit 1
  fi
fi

# Minimise: start from the seeds (shipped or hand-made) and the inputs of past findings, and add
# only inputs that reach code no other input reaches (edge coverage, not hit counts), cut to merge_len.
merged=$work/merged
rm -rf "$merged" && mkdir -p "$merged"
cp fuzz/corpus/$target/shipped-* fuzz/corpus/$target/handmade-* fuzz/corpus/$target/regress-* "$merged/" 2>/dev/null || true
nice -n 19 "$fuzzer" -merge=1 "$merged" "fuzz/corpus/$target" "$work/corpus" -max_len=$merge_len -use_counters=0 \
  -rss_limit_mb=2048 >"$work/merge.txt" 2>&1
rm -rf "fuzz/corpus/$target" && cp -r "$merged" "fuzz/corpus/$target"
echo "corpus fuzz/corpus/$target: $(ls "fuzz/corpus/$target" | wc -l) files, $(du -sb "fuzz/corpus/$target" | cut -f1) bytes"
