#!/usr/bin/env bash
# Runs a command with an X display of its own under Xvfb and openbox, named to it in
# LUMERIK_X_TEST_DISPLAY (test programs otherwise run on SDL's dummy driver).
# Usage: with_display.sh COMMAND [ARGS...]
set -u
work=$(mktemp -d -t lumerik-display.XXXXXX)
source "$(dirname "$0")/x_session.sh"
start_display 1024x768
export LUMERIK_X_TEST_DISPLAY=$DISPLAY
"$@"
