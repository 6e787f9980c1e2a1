#!/usr/bin/env bash
# Makes docs/screenshot.png: the main window on the sample book, with one area
# coloured, and docs/gallery.png, the view of all its pages, on a 1920 x 1080
# virtual screen, where the book is shown 1.40625 times its 1024 x 768 size.
# Needs a build: ./run.sh's build/, or ./test.sh's build-tests/ when that is
# the only one.
set -euo pipefail
cd "$(dirname "$0")/.."
work=$(mktemp -d)
trap 'kill $app $xvfb 2>/dev/null || true; rm -rf "$work"' EXIT
program=build/bin
[ -x $program/tintaro ] || program=build-tests/bin
cp -r $program "$work/program"

display=:$((90 + RANDOM % 100))
Xvfb "$display" -screen 0 1920x1080x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
sleep 1
export DISPLAY=$display
"$work/program/tintaro" >/dev/null 2>&1 &
app=$!

intro=$(xdotool search --sync --onlyvisible --name Tintaro | head -n 1)
eval "$(xdotool getwindowgeometry --shell "$intro")"
# "CONTINUAR" sits 216, 364 pixels into the intro window at 1024 x 768.
xdotool mousemove --sync $((X + 304)) $((Y + 512)) click 1
sleep 1.5
# Sky of the first drawing in red, then blue from the colour bar for the hills.
xdotool mousemove --sync 1112 351 click 1
xdotool mousemove --sync 858 1020 click 1
xdotool mousemove --sync 606 590 click 1
sleep 0.5
import -window root docs/screenshot.png
echo "Wrote docs/screenshot.png"
# The pages' view: page 2 coloured too, then Ctrl+O.
xdotool key Right
sleep 1
xdotool mousemove --sync 1112 351 click 1
xdotool key ctrl+o
sleep 1.5
import -window root docs/gallery.png
echo "Wrote docs/gallery.png"
