# Shared by the window scripts (sourced after `work` names the script's scratch folder): the
# processes to stop on exit, the scratch folder removed with them, and an X display under Xvfb with
# openbox, without which full screen and focus changes silently do nothing.
pids=()
cleanup() {
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null; done
  wait 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $*"; exit 1; }

# start_display WIDTHxHEIGHT: a fresh X server on a free display number, with openbox; exports DISPLAY.
start_display() {
  Xvfb -displayfd 3 -screen 0 "$1"x24 -nolisten tcp 3>"$work/display" 2>/dev/null &
  pids+=($!)
  for _ in $(seq 50); do [ -s "$work/display" ] && break; sleep 0.1; done
  [ -s "$work/display" ] || fail "Xvfb did not start"
  export DISPLAY=:$(cat "$work/display")
  openbox >/dev/null 2>&1 &
  pids+=($!)
  sleep 1
}

# fresh_game GAME_DIR: a copy of the built game in $work/g without player files, recordings or a log,
# a private runtime folder, SDL's real video and sound, and no leak report at exit (SDL's X11
# start-up leaves D-Bus memory behind).
fresh_game() {
  mkdir -p "$work/g" "$work/run"
  cp -a "$1/." "$work/g/"
  rm -rf "$work/g/profile" "$work/g/crashDump.txt" "$work/g/replays"
  chmod 700 "$work/run"
  export XDG_RUNTIME_DIR=$work/run
  export ASAN_OPTIONS=detect_leaks=0
  unset SDL_VIDEODRIVER SDL_AUDIODRIVER
}
