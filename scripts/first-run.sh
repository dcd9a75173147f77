#!/usr/bin/env bash
# Prepares Kivo's first run: while no kivo.ini exists yet, writes one that opens the demo
# catalogue in view 4 and, when Debian's Fuse and the free OpenSE BASIC ROM are installed,
# starts entries in Fuse. An existing kivo.ini is never touched. The demo is copied once, so a
# user who edits and saves it keeps the changes however often the program is rebuilt.
#
#   first-run.sh DIR     for ./run.sh: DIR holds the built program (kivo.ini beside it) and
#                        DIR/demo-catalogue, the demo as built; the copy goes to DIR/demo
#   first-run.sh --user  for an installed Kivo: kivo.ini in ~/.config/kivo, the demo copied
#                        from the installed one beside this script to ~/.local/share/kivo/demo
#
# The programs looked for can be changed through the environment (the tests use stand-ins):
# KIVO_FUSE, KIVO_OPENSE_ROM, KIVO_FUSE_ROMS (the folder where Fuse finds its own ROMs),
# KIVO_MUSIC_PLAYERS (a list separated by blanks).
set -euo pipefail

readonly FUSE=${KIVO_FUSE:-/usr/bin/fuse-sdl}
readonly OPENSE_ROM=${KIVO_OPENSE_ROM:-/usr/share/spectrum-roms/opense.rom}
readonly FUSE_ROMS=${KIVO_FUSE_ROMS:-/usr/share/spectrum-roms}
readonly MUSIC_PLAYERS=${KIVO_MUSIC_PLAYERS-/usr/bin/mpv /usr/bin/vlc /usr/bin/audacious /usr/bin/ffplay}

case "${1:-}" in
    --user)
        settings_dir="${XDG_CONFIG_HOME:-$HOME/.config}/kivo"
        data_dir="${XDG_DATA_HOME:-$HOME/.local/share}/kivo"
        demo_source="$(cd "$(dirname "$0")" && pwd)/demo"
        demo="$data_dir/demo"
        ;;
    ""|-*)
        echo "usage: $0 DIR | --user" >&2
        exit 2
        ;;
    *)
        settings_dir="$(cd "$1" && pwd)"
        demo_source="$settings_dir/demo-catalogue"
        demo="$settings_dir/demo"
        ;;
esac
settings="$settings_dir/kivo.ini"

[ -e "$settings" ] && exit 0
if [ ! -f "$demo_source/demo.dat" ]; then
    echo "first-run: no demo catalogue in $demo_source; Kivo starts empty." >&2
    exit 0
fi

mkdir -p "$settings_dir"
# A copy left by an earlier first run holds the user's edits: keep it.
if [ ! -e "$demo" ]; then
    mkdir -p "$(dirname "$demo")"
    cp -R "$demo_source" "$demo"
fi

# Fuse with the Sinclair ROMs it ships without (a non-free package) can start every machine: the
# program's Fuse preset. A free install has only the OpenSE BASIC ROM, a 48K one, which Fuse
# would otherwise look for in ~/.fuserc: every start is handed it, in the 48K (or 16K) machine.
have_fuse=0
fuse_name=""
fuse_profile=()
if [ -x "$FUSE" ] && [ -f "$FUSE_ROMS/48.rom" ] && [ -f "$FUSE_ROMS/128-0.rom" ]; then
    have_fuse=1
    fuse_name="Fuse"
    fuse_profile=('args00={machine} {file}'
                  'machine00.16=--machine 16' 'machine00.48=--machine 48'
                  'machine00.128=--machine 128' 'machine00.plus2=--machine plus2'
                  'machine00.plus2a=--machine plus2a' 'machine00.plus3=--machine plus3'
                  'machine00.pentagon=--machine pentagon' 'machine00.scorpion=--machine scorpion'
                  'machine00.tc2048=--machine 2048' 'machine00.ts2068=--machine ts2068')
elif [ -x "$FUSE" ] && [ -f "$OPENSE_ROM" ]; then
    have_fuse=1
    fuse_name="Fuse (OpenSE BASIC)"
    fuse_profile=("args00=--rom-48 \"$OPENSE_ROM\" {machine} {file}"
                  'machine00.48=--machine 48'
                  "machine00.16=--machine 16 --rom-16 \"$OPENSE_ROM\"")
fi

player=""
for candidate in $MUSIC_PLAYERS; do
    if [ -x "$candidate" ]; then
        player=$candidate
        break
    fi
done

# The program writes CR LF; so do we, and the file reads back the same either way.
{
    printf '[kivo]\r\n'
    printf 'view=4\r\n'
    printf 'lastdb=%s\r\n' "$demo/demo.dat"
    printf 'loadlast=1\r\n'
    printf 'firstrun=1\r\n' # the program shows the first entry once, then drops this
    [ "$have_fuse" = 1 ] && printf 'Defaultemu=0\r\n'
    [ -n "$player" ] && printf 'Defaultmplayer=0\r\n'
    if [ "$have_fuse" = 1 ]; then
        # The profile's keys after the list's own, as the program writes them.
        printf '[emulators]\r\nnum=1\r\nemu00=%s\r\nfile00=%s\r\n' "$fuse_name" "$FUSE"
        printf '%s\r\n' "${fuse_profile[@]}"
    fi
    if [ -n "$player" ]; then
        printf '[musicplayers]\r\nnum=1\r\nplayername00=%s\r\nfile00=%s\r\n' \
            "$(basename "$player")" "$player"
    fi
    printf '[RomPaths]\r\nnum=1\r\npath00=%s/tapes/\r\n' "$demo"
    printf '[ScreenshotPaths]\r\nnum=1\r\npath00=%s/screens/\r\n' "$demo"
    printf '[MusicPaths]\r\nnum=1\r\npath00=%s/music/\r\n' "$demo"
} > "$settings.tmp"
mv "$settings.tmp" "$settings"
echo "first-run: wrote $settings to open the demo catalogue in $demo"
