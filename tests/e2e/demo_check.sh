#!/usr/bin/env bash
# The headless demo, run for real (the real program, its real one-minute wait) into the build
# folder, and what it left behind checked: every screenshot, the window's state on each, the
# room's lines in order and on time, and the program's end.
#   demo_check.sh BUILD_DIR [--as-windows-xp]
# --as-windows-xp: the same with zantic-idle-legacy.exe, the program taking every Windows
# XP way (its pauses and its minute kept with GetTickCount alone, its tray in version 3).
# A run whose only fault is its timing is run once more: on a machine that other jobs keep
# busy, the program's thread can be held up for a few hundred milliseconds now and then.
set -u
build=$(cd "${1:?usage: demo_check.sh BUILD_DIR}" && pwd)
repo=$(cd "$(dirname "$0")/../.." && pwd)
as_xp=${2:-}
out="$build/demo-check${as_xp:+-xp}"
cd "$build" || exit 1

fail() { echo "demo_check: $*"; status=1; }

# Pixels of the window's labels and boxes. Places are in twips of the window, 3420 wide;
# the window's place in the picture comes from steps.tsv.
# count FILE LEFT TOP WIDTH HEIGHT KIND -> how many pixels of the rectangle are of KIND:
# green (a label's caption, the line) or box (the boxes' light grey).
count() {
  local file=$1 x=$(( $2 )) y=$(( $3 )) w=$(( $4 )) h=$(( $5 )) kind=$6
  convert "$file" -crop "${w}x${h}+${x}+${y}" +repage -depth 8 txt:- 2>/dev/null |
    awk -F'[(),]' -v kind="$kind" '
      /^#/ { next }
      kind == "green" && $4 >= 200 && $3 < 100 && $5 < 100 { n++ }
      kind == "box" && $3 == 224 && $4 == 224 && $5 == 224 { n++ }
      END { print n + 0 }'
}

px() { echo $(( ($1 * (right - left) + 1710) / 3420 )); }  # twips to pixels of the window

# file           window  reason box  Start
expected_shots="
01-loaded.png    shown   no          green
02-reg-idle.png  shown   yes         green
03-reason.png    shown   yes         green
04-start.png     shown   yes         grey
05-minute.png    shown   yes         grey
06-hidden.png    absent  -           -
07-shown.png     shown   yes         grey
08-stop.png      shown   yes         green
09-digest.png    shown   yes         green
10-tray-menu.png shown   yes         green
11-closed.png    absent  -           -"

# The user's lines (the program's, and "hide" and "show" said by the user), in this order
# and no others.
user="Pat Doe"
expected_lines="$user:	b zantic idle loaded by $user
$user:	b zantic idle just began to idle
$user:	b zantic idle rsn: out for lunch
$user:	b zantic idle 1 minute(s).
$user:	b zantic idle rsn: out for lunch
$user:	hide
$user:	b zantic idle i-face has been hidden
$user:	show
$user:	b zantic idle i-face has been shown
$user:	b zantic idle $user is off idle after 1 minute(s)
$user:	b zantic idle unloaded by $user"

# One run of the session and every check of its record: status 1 for a fault, late 1 for
# lines off time.
attempt() {
  status=0 late=0
  rm -rf "$out"
  local start rc
  start=$(date +%s)
  "$repo/scripts/wine-run" "$build/demo-session.exe" --out "$(basename "$out")" $as_xp >"$out.out" 2>&1
  rc=$?
  cat "$out.out"
  echo "demo_check: the session took $(( $(date +%s) - start )) s (load average $(cut -d' ' -f1-3 /proc/loadavg))"
  [ $rc -eq 0 ] || fail "the session ended with exit code $rc"
  [ "$(tail -n 1 "$out/session.txt" 2>/dev/null | sed 's/^[0-9.]* s  //')" = "session: ok" ] ||
    fail "session.txt does not end with \"session: ok\""
  grep -q ' s  program ended, exit code ' "$out/session.txt" 2>/dev/null || fail "the program did not end"

  while read -r file window box start_label; do
    [ -n "$file" ] || continue
    png="$out/$file"
    if [ "$(identify -format '%m' "$png" 2>/dev/null)" != PNG ]; then
      fail "$file: missing or not a PNG"
      continue
    fi
    read -r left top right bottom < <(awk -F'\t' -v f="$file" '$1 == f { print $2 }' "$out/steps.tsv")
    [ -n "${bottom:-}" ] || { fail "$file: not in steps.tsv"; continue; }
    line_h=$(px 840)
    line=$(count "$png" "left + $(px 720)" "$top" 1 "$line_h" green)
    everything=$(count "$png" "$left" "$top" "right - left" "bottom - top" green)
    case $window in
      shown) [ "$line" -eq "$line_h" ] || fail "$file: the window's green line is not there ($line of $line_h)" ;;
      absent) [ "$everything" -eq 0 ] || fail "$file: the window should be gone ($everything green pixels)" ;;
    esac
    if [ "$box" != - ]; then
      # The reason box: 840, 360, 1935 x 285 twips.
      box_px=$(count "$png" "left + $(px 840)" "top + $(px 360)" "$(px 1935)" "$(px 285)" box)
      all=$(( $(px 1935) * $(px 285) ))
      if [ "$box" = yes ]; then
        [ $(( 2 * box_px )) -gt "$all" ] || fail "$file: the reason box is not shown ($box_px of $all)"
      else
        [ $(( 10 * box_px )) -lt "$all" ] || fail "$file: the reason box is shown ($box_px of $all)"
      fi
    fi
    if [ "$start_label" != - ]; then
      # "Start": 3000, 240, 495 x 255 twips; its rows from 255 down, below the "X" label.
      green=$(count "$png" "left + $(px 3000)" "top + $(px 255)" "$(px 495)" "$(px 240)" green)
      if [ "$start_label" = green ]; then
        [ "$green" -gt 10 ] || fail "$file: \"Start\" is not green (enabled)"
      else
        [ "$green" -eq 0 ] || fail "$file: \"Start\" is green, not grey (disabled): $green green pixels"
      fi
    fi
  done <<<"$expected_shots"

  # index.html shows the screenshots in order.
  shots=$(awk '{ print $1 }' <<<"$expected_shots" | grep .)
  [ "$(grep -o 'src="[^"]*" alt="step [0-9]*"' "$out/index.html" 2>/dev/null | sed 's/src="\([^"]*\)".*/\1/')" = "$shots" ] ||
    fail "index.html does not show the screenshots in order"

  # The user's lines in the log's "shown" texts and in the transcript read from the
  # stand-in's window.
  log="$out/aolsim.log"
  [ "$(jq -r --arg u "$user" 'select(.event == "chat" and .speaker == $u) | .shown' "$log")" = "$expected_lines" ] ||
    fail "the log's lines of $user differ from the expected ones"
  [ "$(grep "^$user:	" "$out/transcript.txt")" = "$expected_lines" ] ||
    fail "the transcript's lines of $user differ from the expected ones"
  [ "$(jq -r 'select(.event == "chat") | .shown' "$log")" = "$(cat "$out/transcript.txt")" ] ||
    fail "the transcript does not hold exactly the lines the log shows"
  grep -q "^Kim Lee:\|^Sam Ray:\|^Jo Park:\|^Alex Finn:" "$out/transcript.txt" || fail "nobody else chatted"
  grep -q ' s  screenshot 09-digest.png' "$out/session.txt" 2>/dev/null || fail "no digest of the room after the run"

  # On time, by the stand-in's clock: the reason line 0.7 s after the began line, the minute
  # line 60.7 s after it.
  times=$(jq -r --arg u "$user" 'select(.event == "chat" and .speaker == $u) | .t' "$log" | sed -n '2,4p' | tr '\n' ' ')
  read -r began reason minute <<<"$times"
  if [ -n "${minute:-}" ]; then
    awk -v b="$began" -v r="$reason" -v m="$minute" 'BEGIN {
        printf "demo_check: reason line %.1f ms, minute line %.1f ms after the began line\n", r - b, m - b
        exit !((r - b) >= 620 && (r - b) <= 780 && (m - b) >= 60550 && (m - b) <= 60850) }' ||
      late=1
  else
    fail "too few lines to time"
  fi
}

attempt
if [ $status -eq 0 ] && [ $late -eq 1 ]; then
  echo "demo_check: the lines came off time; once more"
  attempt
fi
[ $late -eq 1 ] && fail "the lines came off time"
[ $status -eq 0 ] && echo "demo_check: passed"
exit $status
