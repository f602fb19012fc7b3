#!/usr/bin/env bash
# Installs the build into a temporary folder, under /usr as the Debian package does, and checks what
# lands there: the game folder with every file the build made and nothing a played game leaves
# behind, the launcher, the desktop entry with its icon at every size, the AppStream metadata. Then
# starts the installed game through its launcher (no display needed) and checks that it keeps the
# player's files in the user's data folder and writes nothing into the installed folder, although
# the user running the test may write there.
# Usage: install_test.sh CMAKE BUILD_DIR APP_ID GAME_SUBDIR
set -u
cmake=$1 build=$2 id=$3 sub=$4
work=$(mktemp -d -t lumerik-install.XXXXXX)
game_pid=
cleanup() {
  [ -n "$game_pid" ] && kill "$game_pid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $*"; exit 1; }

dest=$work/dest
root=$dest/usr
game=$root/$sub
# An install writes its list of files into the build folder; keep the player's own list, which
# tells what to delete to uninstall.
manifest=$build/install_manifest.txt
[ -f "$manifest" ] && cp -p "$manifest" "$work/manifest"
DESTDIR=$dest "$cmake" --install "$build" --prefix /usr >"$work/install.log" 2>&1
installed=$?
if [ -f "$work/manifest" ]; then cp -p "$work/manifest" "$manifest"; else rm -f "$manifest"; fi
[ $installed -eq 0 ] || { cat "$work/install.log"; fail "cmake --install failed"; }

# The game folder: the executable beside every file of the built folders, and the mark of an
# installed copy; no simulator, no profile, no log.
[ -x "$game/lumerik" ] || fail "no executable $sub/lumerik"
for f in gfx/icon.png gfx/cursor.png gfx/logo/trader.ini ini/levels.txt ini/gfxini.txt system/ascii \
         system/text00.txt system/text04.txt installed; do
  [ -s "$game/$f" ] || fail "$sub/$f is missing or empty"
done
ls "$game"/mfx/*.ogg >/dev/null 2>&1 || ls "$game"/mfx/*/*.ogg >/dev/null 2>&1 || fail "no sounds in $sub/mfx"
for d in gfx mfx ini system; do
  (cd "$build/game/$d" && find . -type f | sort) >"$work/built"
  (cd "$game/$d" && find . -type f | sort) >"$work/copied"
  cmp -s "$work/built" "$work/copied" || { diff "$work/built" "$work/copied"; fail "$sub/$d differs from the built $d"; }
done
for extra in lumerik-sim profile crashDump.txt; do
  [ ! -e "$game/$extra" ] || fail "$sub/$extra should not be installed"
done
[ -z "$(find "$dest" -perm /022 ! -type l)" ] || fail "files writable by others: $(find "$dest" -perm /022 ! -type l)"

# The launcher: a shell script on the PATH that runs the installed executable.
launcher=$root/bin/lumerik
[ -x "$launcher" ] || fail "bin/lumerik is missing or not executable"
[ "$(head -n 1 "$launcher")" = "#!/bin/sh" ] || fail "bin/lumerik is not a shell script"
sh -n "$launcher" || fail "bin/lumerik does not parse"

# The desktop entry: valid, its command on the PATH of the install, its icon in the theme at every size.
desktop=$root/share/applications/$id.desktop
[ -f "$desktop" ] || fail "no share/applications/$id.desktop"
desktop-file-validate "$desktop" || fail "$id.desktop is not valid"
command=$(sed -n 's/^Exec=//p' "$desktop")
program=${command%% *}
case $program in
  /*) [ -x "$dest$program" ] || fail "Exec=$command: $program is not installed" ;;
  *) [ -x "$root/bin/$program" ] || fail "Exec=$command: $program is not in bin/" ;;
esac
grep -q '^Categories=\(.*;\)\?Game;\(.*;\)\?LogicGame;' "$desktop" || fail "Categories lack Game;LogicGame;"
icon=$(sed -n 's/^Icon=//p' "$desktop")
case $icon in
  "" | */* | *.png) fail "Icon=$icon is not the name of a theme icon" ;;
esac
for size in 16 24 32 48 64 128 256; do
  png=$root/share/icons/hicolor/${size}x${size}/apps/$icon.png
  [ -f "$png" ] || fail "no ${size}x${size} icon"
  # The PNG signature, then the header's width and height as big-endian numbers.
  [ "$(od -An -tx1 -N8 "$png" | tr -d ' \n')" = "89504e470d0a1a0a" ] || fail "the ${size}x${size} icon is not a PNG"
  read -r w0 w1 w2 w3 h0 h1 h2 h3 < <(od -An -tu1 -j16 -N8 "$png")
  w=$(( (w0 << 24) | (w1 << 16) | (w2 << 8) | w3 )) h=$(( (h0 << 24) | (h1 << 16) | (h2 << 8) | h3 ))
  [ "$w" = "$size" ] && [ "$h" = "$size" ] || fail "the ${size}x${size} icon is ${w}x${h}"
done

# The AppStream metadata: valid, and naming the desktop entry that launches it.
metainfo=$root/share/metainfo/$id.metainfo.xml
[ -f "$metainfo" ] || fail "no share/metainfo/$id.metainfo.xml"
grep -q "<id>$id</id>" "$metainfo" || fail "the metainfo's id is not $id"
appstreamcli validate-tree --no-net "$dest" >"$work/appstream.log" 2>&1 ||
  { cat "$work/appstream.log"; fail "the installed metadata does not validate"; }

# The installed game, started through its launcher, asks for the user's data folder and leaves the
# installed folder as it was.
(cd "$dest" && find . | sort) >"$work/before"
mkdir -m 700 "$work/run"
export XDG_RUNTIME_DIR=$work/run XDG_DATA_HOME=$work/data HOME=$work/home
export SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy ASAN_OPTIONS=detect_leaks=0
"$launcher" &
game_pid=$!
user_folder=$XDG_DATA_HOME/Lumerik/Lumerik
for _ in $(seq 100); do
  [ -d "$user_folder" ] && break
  kill -0 "$game_pid" 2>/dev/null || break
  sleep 0.1
done
[ -d "$user_folder" ] || fail "the installed game did not make its folder under the user's data folder"
sleep 1
kill -0 "$game_pid" 2>/dev/null || fail "the installed game ended by itself"
kill -TERM "$game_pid"
wait "$game_pid"
rc=$?
game_pid=
[ $rc -eq 0 ] || fail "the installed game ended with $rc when asked to quit"
(cd "$dest" && find . | sort) >"$work/after"
cmp -s "$work/before" "$work/after" || { diff "$work/before" "$work/after"; fail "the game wrote into the installed folder"; }
echo "install checks passed"
