#!/bin/sh
# Runs every fuzz target built in BUILD for SECONDS each: new inputs go to BUILD/corpus/NAME,
# anything found to BUILD/artifacts/. Ends non-zero when any target found something.
set -u
build=$1
seconds=$2
here=$(cd "$(dirname "$0")" && pwd)
artifacts=$build/artifacts
mkdir -p "$artifacts"
export QT_QPA_PLATFORM=offscreen
# Leaks are looked for; only the font library's own are let through (see the file).
export LSAN_OPTIONS="suppressions=$here/../lsan-suppressions.txt:print_suppressions=0"
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
failed=""
for name in $(cat "$build/fuzz-targets.txt"); do
    mkdir -p "$build/corpus/$name"
    echo "== $name: $seconds s"
    "$build/tests/fuzz/fuzz_$name" "$build/corpus/$name" "$here/corpus/$name" \
        -dict="$here/lesson.dict" -max_total_time="$seconds" -timeout=20 -rss_limit_mb=4096 \
        -artifact_prefix="$artifacts/$name-" -print_final_stats=1 \
        >"$build/fuzz-$name.log" 2>&1 || failed="$failed $name"
    grep -E "^(stat::number_of_executed_units|stat::peak_rss_mb|#[0-9]+[[:space:]]+DONE)" "$build/fuzz-$name.log"
done
found=$(ls "$artifacts" | wc -l)
if [ -n "$failed" ] || [ "$found" -gt 0 ]; then
    echo "fuzzing found something:$failed; inputs in $artifacts, logs in $build/fuzz-*.log"
    exit 1
fi
echo "fuzzing found nothing"
