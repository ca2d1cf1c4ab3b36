#!/bin/bash
# A save killed at a random moment leaves the old or the new file whole.
# Two documents are saved in turn over one output, and a script adds
# presets one after another to one preset file, each run killed with
# SIGKILL after a random delay; after every kill the output must be one of
# the two complete documents and the preset file a complete preset file
# whose presets are the first N added, in order.
#   kill_during_save.sh PROGRAM WORK_FOLDER [ROUNDS]
set -u
program=$1
work=$2
rounds=${3:-200}

rm -rf "$work"
mkdir -p "$work/profile"
export USERPROFILE="$work/profile" XDG_CONFIG_HOME="$work/config"

# Two documents large enough that a save takes a while.
for name in a b; do
    {
        echo '<svg xmlns="http://www.w3.org/2000/svg" width="2000" height="2000">'
        for i in $(seq 1 3000); do
            echo "<path id=\"$name$i\" d=\"M$i 0 C$i 10 $i 20 $((i + 5)) 30 L$i 40 Z\"/>"
        done
        echo '</svg>'
    } >"$work/$name.svg"
    "$program" convert "$work/$name.svg" -o "$work/$name.expected.svg" || exit 1
done
cp "$work/a.expected.svg" "$work/out.svg"

failed=0
delay() { printf '0.%03d' $((RANDOM % 120)); }

for round in $(seq 1 "$rounds"); do
    source=$([ $((round % 2)) -eq 0 ] && echo a || echo b)
    "$program" convert "$work/$source.svg" -o "$work/out.svg" 2>/dev/null &
    pid=$!
    sleep "$(delay)"
    kill -KILL "$pid" 2>/dev/null
    wait "$pid" 2>/dev/null
    if ! cmp -s "$work/out.svg" "$work/a.expected.svg" &&
        ! cmp -s "$work/out.svg" "$work/b.expected.svg"; then
        echo "round $round: the document is neither the old nor the new one"
        failed=1
        break
    fi
done

# Presets: one script adds them one by one; each run is killed at random.
file="$work/profile/VERTiGON6 User Settings/VERTiGON4_PST_Circle.txt"
printf 'new\nmenu VERTiGON6_05\n' | "$program" run - >/dev/null 2>&1 # first use seeds the folder
next=1
for round in $(seq 1 $((rounds / 4))); do
    script="$work/presets.vtg"
    printf 'new\nmenu VERTiGON6_05\npanel live\nflyout live 3\n' >"$script"
    for i in $(seq "$next" $((next + 5))); do
        printf 'answer text "kept %d"\nclick 1711\n' "$i" >>"$script"
    done
    printf 'click 1708\n' >>"$script"
    "$program" run "$script" >/dev/null 2>&1 &
    pid=$!
    sleep "$(delay)"
    kill -KILL "$pid" 2>/dev/null
    wait "$pid" 2>/dev/null
    # The names in the file are "kept 1" .. "kept K" in order, the file ends
    # with a whole record, and the next run continues from K + 1.
    names=$(grep -a -o $'^\\$\tkept [0-9]*' "$file" | sed 's/.*kept //')
    expected=$(seq 1 "$(echo "$names" | grep -c .)")
    [ -z "$names" ] && expected=""
    if [ "$names" != "$expected" ] || [ "$(tail -c 2 "$file" | od -An -c | tr -d ' ')" != '\r\n' ]; then
        echo "preset round $round: the preset file is damaged"
        failed=1
        break
    fi
    next=$(($(echo "$names" | grep -c .) + 1))
done

# Temporary files of killed saves are cleared by the next save there.
"$program" convert "$work/a.svg" -o "$work/out.svg" || failed=1
if ls -A "$work" | grep -q '\.vtg-'; then
    echo "temporary files were left behind"
    failed=1
fi
exit $failed
