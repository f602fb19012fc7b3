#!/usr/bin/env bash
# The dialog of a refused window mode, shot from the real window: the game runs full screen on an
# Xvfb desktop of 800 by 600, narrower than a window needs, and Alt+Enter asks for a window.
#
#   tools/screenshots/window_mode.sh GAMEDIR OUT.png
#
# GAMEDIR is a game folder holding lumerik and a profile with a player (it is written to).
set -u
game=$1
shot=$2
work=$(mktemp -d)
source "$(dirname "$0")/../../tests/window/x_session.sh"
fail() { echo "window_mode.sh: $*" >&2; exit 1; }

mkdir -p "$work/run"
chmod 700 "$work/run"
export XDG_RUNTIME_DIR=$work/run
unset SDL_VIDEODRIVER SDL_AUDIODRIVER

start_display 800x600

"$game/lumerik" 2>/dev/null &
pids+=($!)
id=
for _ in $(seq 100); do
    id=$(xdotool search --name '^Lumerik$' 2>/dev/null | head -n 1)
    [ -n "$id" ] && break
    sleep 0.1
done
[ -n "$id" ] || fail "no window titled Lumerik"
# The opening logos, then the title.
sleep 7
xdotool mousemove 790 590
xdotool key --window "$id" alt+Return
sleep 1.5
import -window root "$shot" || fail "import could not take the picture"
