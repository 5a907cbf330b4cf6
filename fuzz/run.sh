#!/usr/bin/env bash
# Builds the fuzz targets with clang, AddressSanitizer and UBSan, and runs each for a fixed time
# (FUZZ_SECONDS, default 30) from our own seed files. Anything found is left in fuzz/findings/.
set -euo pipefail
source "$(dirname "$0")/../scripts/common.sh"
PACKAGES+=(clang libclang-rt-14-dev)
install_packages
FUZZ_BUILD="$ROOT/build-fuzz"
cmake -S "$ROOT" -B "$FUZZ_BUILD" -DFUZZ=ON -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build "$FUZZ_BUILD" -j"$(nproc)" --target fuzz_worksheet fuzz_index fuzz_wmf fuzz_topic fuzz_picture fuzz_results
SECONDS_EACH=${FUZZ_SECONDS:-30}
mkdir -p "$ROOT/fuzz/findings"
for target in worksheet index wmf topic picture results; do
    corpus=$(mktemp -d)
    cp "$ROOT/fuzz/corpus/$target/"* "$corpus/"
    echo "== fuzz_$target for ${SECONDS_EACH}s"
    # Inputs up to 1 MiB, the most any of these files is read. A page plays within 2 s and 500 MB
    # whatever it holds; the readers of text files have 10 s.
    limits=(-max_len=1048576 -timeout=10 -rss_limit_mb=2048)
    [ "$target" = wmf ] && limits=(-max_len=1048576 -timeout=2 -rss_limit_mb=500)
    # A smaller quarantine keeps the sanitizer's own memory from eating into the page's 500 MB.
    ASAN_OPTIONS=quarantine_size_mb=64 LSAN_OPTIONS=suppressions="$ROOT/fuzz/lsan.supp" "$FUZZ_BUILD/fuzz/fuzz_$target" -max_total_time="$SECONDS_EACH" "${limits[@]}" \
        -artifact_prefix="$ROOT/fuzz/findings/$target-" -print_final_stats=1 "$corpus" 2>&1 | tail -12
    rm -rf "$corpus"
done
