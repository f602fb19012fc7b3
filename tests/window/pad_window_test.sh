#!/usr/bin/env bash
# The game played with a game controller alone in the real window, full screen on a 1280 by 800
# desktop (a shape wider than the picture's): SDL's virtual joystick is the controller, attached by
# the test program, which runs the game's own loop. Usage: pad_window_test.sh TEST_PROGRAM
set -u
work=$(mktemp -d -t lumerik-pad.XXXXXX)
source "$(dirname "$0")/x_session.sh"
mkdir -p "$work/run"
chmod 700 "$work/run"
export XDG_RUNTIME_DIR=$work/run
export ASAN_OPTIONS=detect_leaks=0
export SDL_AUDIODRIVER=dummy
start_display 1280x800
LUMERIK_X_TEST_DISPLAY=$DISPLAY "$1" --gtest_filter='PadWindow.*'
