#!/bin/bash
# One-shot commands and the user's settings: `apply` starts from the
# defaults and leaves the user's files untouched; `--preset NAME` starts
# from that saved preset; an unknown preset is a clear error; an older
# "~/VERTiGON6 User Settings" is moved to the data folder once.
#   settings_isolation.sh PROGRAM WORK_FOLDER STAR_SVG
set -u
program=$1
work=$2
star=$3
rm -rf "$work"
mkdir -p "$work/home/VERTiGON6 User Settings"
export HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config"
unset USERPROFILE XDG_DATA_HOME
failed=0
fail() { echo "$1"; failed=1; }

# A script (the user) saves copies = 8 as preset "eight" and as Last Setting.
printf 'new\nmenu VERTiGON6_05\npanel live\ntext 1688 "8"\nflyout live 3\nanswer text "eight"\nclick 1711\nclick 1708\n' |
    "$program" run - 2>"$work/moved.txt" >/dev/null || fail "the script failed"
grep -q 'moved your settings' "$work/moved.txt" || fail "the move was not announced"
settings="$work/home/.local/share/vertigon/VERTiGON6 User Settings"
[ -f "$settings/VERTiGON4_PST_Circle.txt" ] || fail "the settings are not in the data folder"
before=$(sha256sum "$settings"/* | sha256sum)

"$program" apply live-circle "$star" -o "$work/plain.svg" || fail "apply failed"
"$program" apply live-circle "$star" -o "$work/defaults.svg" --set copies=12 || fail "apply failed"
cmp -s "$work/plain.svg" "$work/defaults.svg" || fail "apply did not start from the defaults"
"$program" apply live-circle "$star" -o "$work/preset.svg" --preset eight || fail "--preset failed"
"$program" apply live-circle "$star" -o "$work/eight.svg" --set copies=8 || fail "apply failed"
cmp -s "$work/preset.svg" "$work/eight.svg" || fail "--preset eight did not give copies = 8"
"$program" apply live-circle "$star" -o "$work/last.svg" --preset "Last Setting" || fail "--preset failed"
cmp -s "$work/last.svg" "$work/eight.svg" || fail "--preset \"Last Setting\" did not give copies = 8"
if "$program" apply live-circle "$star" -o "$work/never.svg" --preset nine 2>"$work/err.txt"; then
    fail "an unknown preset was accepted"
fi
grep -q 'has no preset "nine"' "$work/err.txt" || fail "no clear error for an unknown preset"
[ -e "$work/never.svg" ] && fail "an output was written for an unknown preset"
after=$(sha256sum "$settings"/* | sha256sum)
[ "$before" = "$after" ] || fail "a one-shot command changed the user's settings"
exit $failed
