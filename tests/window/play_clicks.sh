#!/usr/bin/env bash
# Drives the real window of a player with no saved run who skips the help: waits SETTLE seconds
# (the opening logos), clicks the title's Action button, then clicks random blocks of the board with
# either button for PLAY seconds in the background. Picture points are mapped into the window as
# the game maps them back: scaled with the picture's shape kept, between bars, in full screen.
# Usage: play_clicks.sh WINDOW_ID [SETTLE [PLAY]]
set -u
wid=$1 settle=${2:-6} play=${3:-20}
read -r width height < <(xdotool getwindowgeometry "$wid" | sed -n 's/.*Geometry: \([0-9]*\)x\([0-9]*\).*/\1 \2/p')
[ -n "${width:-}" ] || exit 0
if [ $((width * 600)) -gt $((height * 800)) ]; then vh=$height vw=$((height * 800 / 600)); else vw=$width vh=$((width * 600 / 800)); fi
vx=$(((width - vw) / 2)) vy=$(((height - vh) / 2))
click() {  # picture x, picture y, button
  xdotool mousemove --window "$wid" $((vx + $1 * vw / 800)) $((vy + $2 * vh / 600)) click "$3" 2>/dev/null
}
sleep "$settle"
click 364 183 1  # Action
(
  end=$((SECONDS + play))
  while [ $SECONDS -lt $end ]; do
    button=1
    [ $((RANDOM % 2)) -eq 0 ] && button=3
    click $((288 + 56 * (RANDOM % 5))) $((188 + 56 * (RANDOM % 5))) $button
    sleep 0.2
  done
) >/dev/null 2>&1 &
