#!/bin/bash
# Processes that add presets to one preset file at the same moment: each
# adds one named Live Circle preset through the panel's preset dialog, all
# starting together on a fresh profile (so the first-use seeding races as
# well). Every preset must be in the file afterwards, every run must exit 0
# and none may see a broken preset file.
#   concurrent_presets.sh PROGRAM WORK_FOLDER [COUNT]
set -u
program=$1
work=$2
count=${3:-20}

rm -rf "$work"
mkdir -p "$work/profile"
export USERPROFILE="$work/profile" XDG_CONFIG_HOME="$work/config"

for i in $(seq 1 "$count"); do
    printf 'new\nmenu VERTiGON6_05\npanel live\nflyout live 3\nanswer text "concurrent %d"\nclick 1711\nclick 1708\n' \
        "$i" >"$work/add$i.vtg"
done

pids=()
for i in $(seq 1 "$count"); do
    "$program" run "$work/add$i.vtg" >"$work/out$i.txt" 2>&1 &
    pids+=($!)
done
failed=0
for i in "${!pids[@]}"; do
    if ! wait "${pids[$i]}"; then
        echo "run $((i + 1)) failed:" && cat "$work/out$((i + 1)).txt"
        failed=1
    fi
done

file="$work/profile/VERTiGON6 User Settings/VERTiGON4_PST_Circle.txt"
for i in $(seq 1 "$count"); do
    if ! grep -q -a -F "$(printf '$\tconcurrent %d\r' "$i")" "$file"; then
        echo "preset \"concurrent $i\" is missing"
        failed=1
    fi
done
if grep -l -a 'broken\|壊れ' "$work"/out*.txt; then
    echo "a run saw a broken preset file"
    failed=1
fi
exit $failed
