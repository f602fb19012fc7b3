#!/usr/bin/env bash
# Starts the real game again and again under Xvfb with openbox and stops each run with SIGTERM or
# SIGINT at a random moment; every run must close as the window's close box closes it: exit code 0,
# no crash, no sanitizer report, no hang. A run may first be driven by xdotool (ACTIONS, a shell
# snippet run with $WID set) so that stops also fall in the middle of play. After each stop the
# profile and the settings file beside it are whole: the old ones, or the ones the game saved.
# Usage: stop_loop.sh GAME_DIR [STARTS [MAX_DELAY_MS [ACTIONS]]]
set -u
game=$1
starts=${2:-5}
max_delay=${3:-1500}
actions=${4:-}
work=$(mktemp -d -t lumerik-stops.XXXXXX)
source "$(dirname "$0")/x_session.sh"

mkdir -p "$work/g" "$work/run" "$work/logs"
cp -a "$game/." "$work/g/"
rm -rf "$work/g/profile" "$work/g/crashDump.txt"
mkdir -p "$work/g/profile"

# A profile file with one player, KEEPER: the header (window mode, volumes 50, sliders 400, player
# 0), then the 1876-byte record (name at 4, the option bytes at 1872: tips on, no help before a
# game, the game's own cursor).
write_profile() {  # $1 = 1 windowed, 0 full screen
  {
    printf "\\x0$1\\x00\\x00\\x00\\x32\\x00\\x00\\x00\\x90\\x01\\x00\\x00\\x32\\x00\\x00\\x00\\x90\\x01\\x00\\x00\\x00"
    printf '\x07\x00\x00\x00KEEPER'
    head -c $((1872 - 10)) /dev/zero
    printf '\x01\x00\x01\x00'
  } > "$work/g/profile/profile"
  touch -d 2000-01-01 "$work/g/profile/profile"
}
# The settings file beside it, with KEEPER's options flipped from the defaults and a remark the game
# does not write, so the old file and one the game wrote can be told apart.
write_settings() {
  printf '%s\n' 'Lumerik settings' '# as the stop loop wrote it' '[machine]' '[player "KEEPER"]' 'colourSymbols 1' \
    'moveHints 0' > "$work/g/profile/settings.txt"
  cp "$work/g/profile/settings.txt" "$work/old-settings.txt"
}
settings_old() { cmp -s "$work/g/profile/settings.txt" "$work/old-settings.txt"; }
# Whole: the old file as it was, or the game's own, whose last line is the last key of KEEPER's
# section (the only player), with the options kept.
settings_whole() {
  local file=$work/g/profile/settings.txt
  settings_old && return 0
  [ "$(head -n 1 "$file")" = "Lumerik settings" ] && grep -qx '\[player "KEEPER"\]' "$file" &&
    grep -qx 'colourSymbols 1' "$file" && [ "$(tail -n 1 "$file")" = "moveHints 0" ] && [ -z "$(tail -c 1 "$file")" ]
}
profile_intact() { [ "$(stat -c %s "$work/g/profile/profile")" -eq 1897 ] && grep -q KEEPER "$work/g/profile/profile"; }
profile_saved() { [ "$(stat -c %Y "$work/g/profile/profile")" -gt 946771200 ]; }
chmod 700 "$work/run"
export XDG_RUNTIME_DIR=$work/run HOME=$work
# Leaks at exit belong to the libraries below the game (X11, fontconfig); crashes and memory
# errors are what this loop looks for.
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=0}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1}
export SDL_AUDIODRIVER=${SDL_AUDIODRIVER:-dummy}
unset SDL_VIDEODRIVER

start_display 1280x1024

# Whether the process catches the signal now (before main runs, the default action still holds).
catches() {
  local mask
  mask=$(awk '/^SigCgt:/{print $2}' "/proc/$1/status" 2>/dev/null)
  [ -n "$mask" ] && (( (16#$mask >> ($2 - 1)) & 1 ))
}

clean=0 early=0 failed=0
for i in $(seq "$starts"); do
  delay=$((RANDOM * 32768 + RANDOM))
  delay=$((delay % (max_delay + 1)))
  signal=TERM number=15
  [ $((RANDOM % 2)) -eq 0 ] && signal=INT number=2
  log=$work/logs/run$i.log
  write_profile $((RANDOM % 2))
  write_settings
  # A shell starts background jobs with SIGINT ignored; the game keeps an ignored signal ignored.
  env --default-signal=INT,TERM "$work/g/lumerik" 2>"$log" &
  pid=$!
  if [ -n "$actions" ]; then
    wid=""
    for _ in $(seq 100); do wid=$(xdotool search --pid "$pid" --name '^Lumerik$' 2>/dev/null | head -n 1); [ -n "$wid" ] && break; sleep 0.05; done
    [ -n "$wid" ] && WID=$wid bash -c "$actions" >/dev/null 2>&1
  fi
  sleep "$(awk -v d="$delay" 'BEGIN{printf "%.3f", d / 1000}')"
  caught=no
  catches "$pid" "$number" && caught=yes
  kill -"$signal" "$pid" 2>/dev/null
  for _ in $(seq 200); do kill -0 "$pid" 2>/dev/null || break; sleep 0.05; done
  if kill -0 "$pid" 2>/dev/null; then
    kill -KILL "$pid" 2>/dev/null
    wait "$pid" 2>/dev/null
    echo "run $i: still running 10 s after SIG$signal at $delay ms"
    failed=$((failed + 1))
    continue
  fi
  wait "$pid"
  rc=$?
  if [ $rc -eq $((128 + number)) ] && [ $caught = no ] && [ ! -s "$log" ]; then
    early=$((early + 1))  # ended by the signal before the game's first line
  elif [ $rc -ne 0 ] || grep -qE 'ERROR: (Address|Leak)Sanitizer|runtime error:' "$log"; then
    echo "run $i: exit $rc after SIG$signal at $delay ms"
    sed -n '1,40p' "$log"
    failed=$((failed + 1))
  elif ! profile_intact; then
    echo "run $i: the profile did not survive SIG$signal at $delay ms"
    failed=$((failed + 1))
  elif ! settings_whole; then
    echo "run $i: the settings file is neither the old one nor a whole new one after SIG$signal at $delay ms:"
    sed -n '1,20p' "$work/g/profile/settings.txt"
    failed=$((failed + 1))
  elif [ $caught = yes ] && { ! profile_saved || settings_old; }; then
    echo "run $i: SIG$signal at $delay ms closed the game without saving"
    failed=$((failed + 1))
  else
    clean=$((clean + 1))
    # A clean run that still said something (a retried display, a failed save) is shown too.
    [ -s "$log" ] && { echo "run $i: closed cleanly after SIG$signal at $delay ms, saying:"; sed -n '1,5p' "$log"; }
  fi
done
echo "stops: $starts starts, $clean closed cleanly, $early ended before the game began, $failed failed"
[ $failed -eq 0 ]
