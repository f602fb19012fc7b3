#!/bin/sh
# Screenshots of every screen that shows text: the menu screens, the help pages, every dialog, the
# intermissions, the end texts of levels, the pause screen, long names and full lists.
#
#   tools/screenshots/shoot.sh OUTDIR [GAMEDIR]
#
# GAMEDIR is a built game folder holding lumerik-sim (default: build/game of this checkout). Each
# scene runs lumerik-sim over its own temporary copy of it, so the game folder is never written.
# The scenes after the first start from the profile that the first one makes (a player named
# WWWWWWWWWWWW, the widest name a player can type, and a second player).
#
# The dialog of a refused window mode cannot be reached from a script: when xvfb-run, openbox,
# xdotool and ImageMagick's import are installed and GAMEDIR holds lumerik, it is shot from the
# real window on a desktop too narrow for a window (see window_mode.sh).
set -eu

here=$(cd "$(dirname "$0")" && pwd)
out=${1:?usage: shoot.sh OUTDIR [GAMEDIR]}
game=${2:-$here/../../build/game}
game=$(cd "$game" && pwd)
sim="$game/lumerik-sim"
[ -x "$sim" ] || { echo "shoot.sh: no lumerik-sim in $game" >&2; exit 1; }
mkdir -p "$out"
out=$(cd "$out" && pwd)

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# A fresh copy of the game folder, without any profile or high scores of the build's own runs.
copy_game() {
    rm -rf "$work/game"
    mkdir "$work/game"
    for part in gfx ini mfx system; do
        [ -d "$game/$part" ] && cp -r "$game/$part" "$work/game/"
    done
    if [ -n "${1:-}" ]; then
        mkdir -p "$work/game/profile"
        cp "$work/base/profile" "$work/game/profile/"
    fi
}

# Runs one scene in OUTDIR, where its `shot` commands write.
run_scene() {
    seed=$1
    script=$2
    (cd "$out" && "$sim" --game "$work/game" --seed "$seed" "$script" >/dev/null)
}

# A high-score entry: run id and score as 32-bit little-endian numbers, then the name in 16 bytes.
entry() {
    printf "$(printf '\\%03o\\%03o\\%03o\\%03o' $(($1 & 255)) $(($1 >> 8 & 255)) $(($1 >> 16 & 255)) $(($1 >> 24 & 255)))"
    printf "$(printf '\\%03o\\%03o\\%03o\\%03o' $(($2 & 255)) $(($2 >> 8 & 255)) $(($2 >> 16 & 255)) $(($2 >> 24 & 255)))"
    printf '%s' "$3"
    head -c $((16 - ${#3})) /dev/zero
}

echo "first start, title and menu screens"
copy_game
run_scene 1 "$here/first_start.sim"
mkdir -p "$work/base"
cp "$work/game/profile/profile" "$work/base/profile"

echo "starting a game, pause, start choices"
copy_game with-profile
run_scene 1 "$here/start_game.sim"

echo "colour symbols and move hints"
copy_game with-profile
run_scene 1 "$here/symbols_hints.sim"

echo "end texts of levels"
copy_game with-profile
run_scene 1 "$here/play_ends.sim"

echo "tips and dialogs"
copy_game with-profile
run_scene 1 "$here/dialogs.sim"

# Which bonus a full rune meter places depends on the seed: try seeds until it is a blast stone.
seed=1
while :; do
    copy_game with-profile
    if (cd "$out" && "$sim" --game "$work/game" --seed "$seed" "$here/explode_tip.sim") | grep -q '"dialogId": *7,'; then
        break
    fi
    seed=$((seed + 1))
    if [ "$seed" -gt 40 ]; then
        echo "shoot.sh: no seed up to 40 brought the blast stone's tip" >&2
        break
    fi
done

echo "halls and the end of the game"
copy_game with-profile
run_scene 1 "$here/halls.sim"

echo "full player list and high-score tables"
copy_game with-profile
# Ten entries per table, best first: long names, and in Action Puzzle the largest score there is.
{
    i=0
    for name in WWWWWWWWWWWW MOONWATCHERS BARTHOLOMEW QUICKSILVER ELEANOR MAXIMILIAN WANDERING OWL TOM AL; do
        entry $((100 + i)) $((98765432 - 9876543 * i)) "$name"
        i=$((i + 1))
    done
} > "$work/game/profile/hi0x00"
{
    entry 200 4294967295 WWWWWWWWWWWW
    i=1
    for name in MWMWMWMWMWMW WWWWWWWWWWW QUEENOFRUNES MOONWATCHERS STARGAZER LIGHTKEEPER NIGHTOWL KEEPER MIA; do
        entry $((200 + i)) $((4000000000 - 400000000 * i)) "$name"
        i=$((i + 1))
    done
} > "$work/game/profile/hi0x01"
{
    i=0
    for name in LIGHTKEEPER QUEENOFRUNES MOONWATCHERS STARGAZER MIA AL WWWWWWWWWWWW BARTHOLOMEW ELEANOR OWL; do
        entry $((300 + i)) $((1234567 - 123456 * i)) "$name"
        i=$((i + 1))
    done
} > "$work/game/profile/hi0x02"
# The profile holds two players; 253 more fill the list to its 255.
{
    echo "tick 167"
    echo "move 790 590"
    echo "tick"
    echo "click left 482 120"
    echo "tick 2"
    i=0
    while [ "$i" -lt 253 ]; do
        echo "click left 583 381"
        echo "tick"
        if [ $((i % 2)) -eq 0 ]; then printf 'text moonwatch%03d\n' "$i"; else printf 'text ana %d\n' "$i"; fi
        echo "key Return"
        echo "tick"
        i=$((i + 1))
    done
    cat "$here/full_lists.sim"
} > "$work/full_lists.sim"
run_scene 1 "$work/full_lists.sim"

if command -v xvfb-run >/dev/null && command -v openbox >/dev/null && command -v xdotool >/dev/null &&
    command -v import >/dev/null && [ -x "$game/lumerik" ]; then
    echo "the refused window mode, in the real window"
    copy_game with-profile
    cp "$game/lumerik" "$work/game/"
    "$here/window_mode.sh" "$work/game" "$out/dialog-12-mode-switched.png"
else
    echo "shoot.sh: skipping the refused window mode's dialog (needs xvfb-run, openbox, xdotool, import and lumerik)" >&2
fi

echo "$(ls "$out" | grep -c '\.png$') pictures in $out"
