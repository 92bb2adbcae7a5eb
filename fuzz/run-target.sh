#!/usr/bin/env bash
# Runs one fuzz target for a bounded time over its seed corpus; fails on any
# crash, leak or sanitizer report.
#   run-target.sh target seed-dir work-dir   (SNQ_FUZZ_SECONDS, default 20)
set -u
target=$1 seeds=$2 work=$3
mkdir -p "$work"
log=$work.log
"$target" -artifact_prefix="$work/" -max_total_time="${SNQ_FUZZ_SECONDS:-20}" -timeout=10 -rss_limit_mb=2048 \
    -print_final_stats=1 "$work" "$seeds" >"$log" 2>&1
rc=$?
grep -E "^(stat::number_of_executed_units|stat::peak_rss_mb)|ERROR|SUMMARY|runtime error" "$log" | head -20
[ $rc -eq 0 ] || { tail -40 "$log"; echo "fuzz: $(basename "$target") failed ($rc)"; }
exit $rc
