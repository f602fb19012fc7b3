#!/usr/bin/env bash
# The window on a 3840 by 2160 desktop, under Xvfb with openbox: a first windowed start opens at twice
# the picture's size; the window manager resizes it to 1000 by 700, where the picture stands scaled
# between bars and the title's Quit button and the confirmation's "Yes" are clicked where they are
# drawn now, ending the game with code 0; the next start opens at the size the window was left with.
# Usage: resize_window_test.sh GAME_DIR
set -u
game=$1
work=$(mktemp -d -t lumerik-resize.XXXXXX)
source "$(dirname "$0")/x_session.sh"

fresh_game "$game"
# Windowed: a profile header (21 bytes, no players) whose first field is 1.
mkdir -p "$work/g/profile"
printf '\001\000\000\000\062\000\000\000\220\001\000\000\062\000\000\000\220\001\000\000\000' > "$work/g/profile/profile"

start_display 3840x2160

start_game() {  # starts the game and waits for its window, whose id goes to $id
  "$work/g/lumerik" 2>"$work/game.log" &
  game_pid=$!
  pids+=($game_pid)
  id=
  for _ in $(seq 100); do
    id=$(xdotool search --name '^Lumerik$' 2>/dev/null | head -n 1)
    [ -n "$id" ] && return 0
    sleep 0.1
  done
  fail "no window titled Lumerik: $(cat "$work/game.log")"
}
size_of() { xdotool getwindowgeometry "$id" 2>/dev/null | sed -n 's/.*Geometry: //p'; }
wait_for() {  # waits up to $1 tenths of a second for the command in the rest of the arguments
  local n=$1; shift
  for _ in $(seq "$n"); do "$@" && return 0; sleep 0.1; done
  return 1
}
has_size() { [ "$(size_of)" = "$1" ]; }
ended() { ! kill -0 "$game_pid" 2>/dev/null; }

# Picture point (x, y) in the window as it is now: scaled with its shape kept, centred between bars.
click() {
  local w h vw vh
  read -r w h < <(size_of | tr x ' ')
  if [ $((w * 600)) -gt $((h * 800)) ]; then vh=$h vw=$((h * 800 / 600)); else vw=$w vh=$((w * 600 / 800)); fi
  xdotool mousemove --window "$id" $(((w - vw) / 2 + $1 * vw / 800)) $(((h - vh) / 2 + $2 * vh / 600))
  sleep 0.15
  xdotool click 1
  sleep 0.3
}
# The colour of window pixel (x, y).
colour() { import -window "$id" -crop "1x1+$1+$2" txt:- 2>/dev/null | tail -n 1 | awk '{print $NF}'; }
sky() { local c; c=$(colour 200 200); [ -n "$c" ] && [ "$c" != "black" ]; }

start_game
wait_for 50 has_size 1600x1200 || fail "a first window on 3840x2160 is $(size_of), want 1600x1200"
# A click ends the opening logos; the first start then asks for a name over the title.
click 400 300
wait_for 150 sky || fail "the opening logos did not end (the window shows $(colour 200 200) at 200,200)"
sleep 0.3
xdotool type --delay 50 ann
xdotool key Return
wait_for 30 grep -q ANN "$work/g/profile/profile" || fail "the typed name was not saved"

xdotool windowsize "$id" 1000 700
wait_for 50 has_size 1000x700 || fail "the window manager's resize left the window at $(size_of)"
sleep 0.5
# 1000 by 700 shows the picture 933 by 700, with black bars of 33 and 34 pixels left and right.
[ "$(colour 10 350)" = black ] && [ "$(colour 990 350)" = black ] || fail "the bars beside the picture are not black"
sky || fail "the picture is not drawn in the resized window"

for _ in 1 2 3; do
  click 340 529  # Quit
  click 305 377  # Yes
  wait_for 30 ended && break
done
ended || fail "Quit and Yes in the resized window did not end the game"
wait "$game_pid"
rc=$?
[ $rc -eq 0 ] || fail "the game exited $rc"
grep -Eq '^window -?[0-9]+ -?[0-9]+ 1000 700$' "$work/g/profile/settings.txt" ||
  fail "the settings file does not remember the window: $(cat "$work/g/profile/settings.txt")"

start_game
wait_for 50 has_size 1000x700 || fail "restarted, the window is $(size_of), want the 1000x700 it was left with"
wmctrl -c Lumerik
wait_for 100 ended || fail "the game did not end when its window closed"
wait "$game_pid" || fail "closing the restarted game exited $?"
echo "resize window checks passed"
