#!/usr/bin/env bash
# A newcomer's first minute in the real window, under Xvfb with openbox: the opening logos, the name
# screen, a typed name saved to the profile file, a game started from the title (the rules help in
# front of it) and left with the side button (the run saved), then the quit confirmation's "Yes"
# ending the game with code 0. The screen is 1024 by 768, so full screen shows the picture at 1.28
# times its size with no bars.
# Usage: screens_window_test.sh GAME_DIR
set -u
game=$1
work=$(mktemp -d -t lumerik-screens.XXXXXX)
source "$(dirname "$0")/x_session.sh"

fresh_game "$game"
# Without the studio's logo the opening lasts 4.5 s instead of 5.5.
printf '1\n676\n548\n112\n44\n0\n1\n262\n4\n276\n52\n' > "$work/g/gfx/logo/trader.ini"

start_display 1024x768

"$work/g/lumerik" 2>/dev/null &
game_pid=$!
pids+=($game_pid)
for _ in $(seq 100); do
  id=$(xdotool search --name '^Lumerik$' 2>/dev/null | head -n 1)
  [ -n "$id" ] && break
  sleep 0.1
done
[ -n "$id" ] || fail "no window titled Lumerik"

# Picture point (x, y) on the full-screen window.
click() {
  xdotool mousemove --window "$id" $(( $1 * 128 / 100 )) $(( $2 * 128 / 100 ))
  sleep 0.15
  xdotool click 1
  sleep 0.3
}
profile=$work/g/profile/profile
byte() { od -A n -t u1 -j "$1" -N 1 "$profile" 2>/dev/null | tr -d ' '; }
wait_for() {  # waits up to $1 tenths of a second for the command in the rest of the arguments
  local n=$1; shift
  for _ in $(seq "$n"); do "$@" && return 0; sleep 0.1; done
  return 1
}

# The logos are drawn on black; the name screen stands on the title's night sky.
corner() { import -window root -crop 1x1+64+64 txt:- 2>/dev/null | tail -n 1 | awk '{print $NF}'; }
logos() { [ "$(corner)" = "black" ]; }
sky() { local c; c=$(corner); [ -n "$c" ] && [ "$c" != "black" ]; }

# Typing under the logos reaches nothing; the name screen takes it once they have ended.
wait_for 100 logos || fail "no opening logos"
xdotool type --delay 50 zz
wait_for 150 sky || fail "the opening logos did not end"
sleep 0.3
title_sky=$(corner)  # the name screen stands on the title's own background
xdotool type --delay 50 anna
xdotool key Return
wait_for 30 grep -q ANNA "$profile" 2>/dev/null || fail "the typed name was not saved"
[ "$(od -A n -c -j 25 -N 5 "$profile" | tr -d ' ')" = 'ANNA\0' ] || fail "the player is not called ANNA"

# Action: no saved run, so the game starts behind the rules help; OK closes the help.
click 300 180
click 669 540
# The side button leaves for the title once the level is played (a press also cuts the
# intermission short); leaving records the run at level 1.
left() { click 90 270; sleep 0.3; [ "$(corner)" = "$title_sky" ] && [ "$(byte $((21 + 19)))" = 1 ]; }
wait_for 20 left || fail "leaving the game did not save the run"

# Quit, and "Yes". Under load the title may still be coming in when the first click lands, so
# the pair is tried again while the game runs.
for _ in 1 2 3; do
  click 340 529
  click 305 377
  for _ in $(seq 30); do kill -0 "$game_pid" 2>/dev/null || break; sleep 0.1; done
  kill -0 "$game_pid" 2>/dev/null || break
done
kill -0 "$game_pid" 2>/dev/null && fail "the quit confirmation did not end the game"
wait "$game_pid"
rc=$?
[ $rc -eq 0 ] || fail "the game exited $rc"
echo "screens window checks passed"
