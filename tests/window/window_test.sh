#!/usr/bin/env bash
# The real window under Xvfb with openbox: one window titled "Lumerik" with an 800 by 600 client area
# when the profile says windowed, full screen when it is missing; a second copy exits 0 at once; closing
# the window ends the game with code 0.
# Usage: window_test.sh GAME_DIR
set -u
game=$1
work=$(mktemp -d -t lumerik-window.XXXXXX)
source "$(dirname "$0")/x_session.sh"

fresh_game "$game"

start_display 1280x1024

window_of() {  # waits for the game's window and prints its id
  for _ in $(seq 100); do
    id=$(xdotool search --name '^Lumerik$' 2>/dev/null | head -n 1)
    [ -n "$id" ] && { echo "$id"; return 0; }
    sleep 0.1
  done
  return 1
}

size_of() { xdotool getwindowgeometry "$1" 2>/dev/null | sed -n 's/.*Geometry: //p'; }

# Waits up to 5 s for the game's window to reach a size: a window going full screen is unmapped and
# mapped again by the window manager, and a loaded machine takes its time.
reaches_size() {
  for _ in $(seq 50); do
    id=$(xdotool search --name '^Lumerik$' 2>/dev/null | head -n 1)
    [ -n "$id" ] && [ "$(size_of "$id")" = "$1" ] && return 0
    sleep 0.1
  done
  return 1
}

close_and_wait() {  # asks the window manager to close the window; the game must end with 0
  wmctrl -c Lumerik
  for _ in $(seq 100); do kill -0 "$1" 2>/dev/null || break; sleep 0.1; done
  kill -0 "$1" 2>/dev/null && fail "the game did not end after its window was closed"
  wait "$1"
  return $?
}

# Windowed: a profile header (21 bytes, no players) whose first field is 1.
mkdir -p "$work/g/profile"
printf '\001\000\000\000\062\000\000\000\220\001\000\000\062\000\000\000\220\001\000\000\000' > "$work/g/profile/profile"
"$work/g/lumerik" &
game_pid=$!
pids+=($game_pid)
id=$(window_of) || fail "no window titled Lumerik"
reaches_size 800x600 || fail "windowed client area is $(size_of "$id"), want 800x600"

start=$(date +%s%N)
timeout 10 "$work/g/lumerik"
rc=$?
took=$(( ($(date +%s%N) - start) / 1000000 ))
[ $rc -eq 0 ] || fail "a second copy exited $rc"
[ $took -lt 3000 ] || fail "a second copy took $took ms to give up"
[ "$(xdotool search --name '^Lumerik$' | wc -l)" -eq 1 ] || fail "a second copy opened a window"

close_and_wait "$game_pid" || fail "closing the windowed game exited $?"

# Full screen: no profile at all.
rm -rf "$work/g/profile"
"$work/g/lumerik" &
game_pid=$!
pids+=($game_pid)
id=$(window_of) || fail "no full-screen window"
reaches_size 1280x1024 || fail "full-screen window is $(size_of "$id"), want the whole 1280x1024 screen"
close_and_wait "$game_pid" || fail "closing the full-screen game exited $?"
echo "window checks passed"
