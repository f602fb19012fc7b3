#!/usr/bin/env bash
# The player's saves through the real window, as a newcomer meets them (run by hand; it takes about a
# minute): the first start asks for a name, a game is played until a level is won and then left with
# Escape, the program is closed and started again, and the player, the saved level and the high-score
# entry are still there. Then the same first start from a read-only copy of the game, as an ordinary
# user: the saves go to that user's data folder.
# Usage: saves_window_test.sh GAME_DIR [SHOT_DIR]   (SHOT_DIR receives screenshots to look at)
set -u
game=$1
shots=${2:-}
work=$(mktemp -d -t lumerik-saves.XXXXXX)
chmod 755 "$work"
source "$(dirname "$0")/x_session.sh"
shot() { [ -n "$shots" ] && import -window root "$shots/$1.png"; }

fresh_game "$game"
# Small levels of three colours: almost every turn makes a figure, and one square wins a level.
cat > "$work/g/ini/levels.txt" <<'L'
StartingLevel 1 TIMEbonus 10 10 10 10 10 SWAP 4 4 4 4 4
ActionLevel 1 Colors 3 Score 40 Time 300 Square 4 = 50 Square 6 = 120 Diagonal 4 = 80 VH 60
ActionLevel 2 Colors 3 Score 100000 Time 300 Square 4 = 50 Square 6 = 120 Diagonal 4 = 80 VH 60
L

# An 800 by 600 desktop: full screen maps the picture one to one onto the screen.
start_display 800x600

start_game() {  # runs the game in $1 (as the user in $2, if given) and waits for its window
  if [ -n "${2:-}" ]; then
    setpriv --reuid="$2" --regid="$(id -g "$2")" --clear-groups env HOME="$work/home" XDG_DATA_HOME="$work/home/data" \
      XDG_RUNTIME_DIR="$work/home/run" "$1/lumerik" >"$work/game.log" 2>&1 &
  else
    "$1/lumerik" >"$work/game.log" 2>&1 &
  fi
  game_pid=$!
  pids+=($game_pid)
  for _ in $(seq 100); do
    xdotool search --name '^Lumerik$' >/dev/null 2>&1 && return 0
    sleep 0.1
  done
  fail "no window titled Lumerik: $(grep -v ALSA "$work/game.log")"
}

stop_game() {
  wmctrl -c Lumerik
  for _ in $(seq 100); do kill -0 "$game_pid" 2>/dev/null || break; sleep 0.1; done
  kill -0 "$game_pid" 2>/dev/null && fail "the game did not end when its window closed"
  wait "$game_pid"
}

click() { xdotool mousemove "$1" "$2" click 1; sleep 0.3; }
past_logo() { sleep 7; }

# A profile file, read field by field: name, Action level and total; then the Action table.
report() {
  python3 - "$1" <<'P'
import struct, sys, os
folder = sys.argv[1]
data = open(os.path.join(folder, 'profile/profile'), 'rb').read()
players = (len(data) - 21) // 1876
print('players', players)
for k in range(players):
    r = data[21 + 1876 * k: 21 + 1876 * (k + 1)]
    name = r[4:19].split(b'\0')[0].decode('latin-1')
    print('player', name, 'levelAction', struct.unpack('b', r[19:20])[0], 'totalAction', struct.unpack('<i', r[24:28])[0])
hs = open(os.path.join(folder, 'profile/hi0x00'), 'rb').read()
for k in range(len(hs) // 24):
    e = hs[24 * k: 24 * (k + 1)]
    print('entry', e[8:24].split(b'\0')[0].decode('latin-1'), struct.unpack('<I', e[4:8])[0])
P
}

# First start: the name screen after the logo; a name typed.
start_game "$work/g"
past_logo
shot 01-name-screen
xdotool type --delay 80 "ann"
xdotool key Return
sleep 1
shot 02-title
[ -s "$work/g/profile/profile" ] || fail "committing the name saved nothing"

# Action: the help opens first for a new player; its back button leads into the game.
click 364 183
sleep 1
shot 03-help-before-game
click 660 540
sleep 4
shot 04-playing
# Turn blocks all over the board until the first level is won and the second has begun.
for round in $(seq 40); do
  for x in 340 400 460 520 580; do
    for y in 210 270 330 390 450; do
      xdotool mousemove $x $y click 1
      sleep 0.15
    done
  done
  report "$work/g" 2>/dev/null | grep -q '^entry ANN' && break
done
shot 05-level-two
report "$work/g" | grep -q '^entry ANN' || fail "no high-score entry after winning a level"
# Escape leaves the game for the title, which records the run once more.
xdotool keydown Escape
sleep 0.3
xdotool keyup Escape
sleep 1
shot 06-title-after-escape
stop_game
echo "after the first game:"
report "$work/g"

# Second start: the same player, the saved level, the entry.
start_game "$work/g"
past_logo
shot 07-title-again
click 364 183
sleep 1
click 660 540
shot 08-continue-choice
# Continue: the second level again, with the run's score.
click 300 377
sleep 4
shot 09-continued
stop_game
r=$(report "$work/g")
echo "$r" | grep -q '^players 1$' || fail "players: $r"
echo "$r" | grep -Eq '^player ANN levelAction [1-9]' || fail "no saved Action level: $r"
echo "$r" | grep -q '^entry ANN' || fail "the high-score entry is gone: $r"

# A read-only copy of the game, run by an ordinary user: its saves go to the user's data folder.
cp -a "$work/g" "$work/ro"
rm -rf "$work/ro/profile" "$work/ro/crashDump.txt"
chmod -R a-w "$work/ro"
mkdir -p "$work/home/run"
chown -R nobody:nogroup "$work/home"
chmod 700 "$work/home/run"
start_game "$work/ro" nobody
past_logo
xdotool type --delay 80 "bo"
xdotool key Return
sleep 1
shot 10-read-only-title
stop_game
[ -e "$work/ro/profile" ] && fail "the read-only game folder was written to"
saved="$work/home/data/Lumerik/Lumerik"
[ -s "$saved/profile/profile" ] || fail "no profile in the user's data folder ($(find "$work/home" -type f))"
report "$saved" | grep -q '^player BO ' || fail "the read-only copy's player was not saved"
echo "saves checks passed"
