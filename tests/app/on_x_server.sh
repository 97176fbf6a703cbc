#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs a command against an X server of its own (Xvfb, no window manager, no other client), with
# a home of its own so that nothing remembered elsewhere (a language, a place) comes in.
# usage: on_x_server.sh COMMAND [ARGUMENTS...]
set -u
work=$(mktemp -d)
server=
trap '[ -n "$server" ] && kill "$server" 2>/dev/null; rm -rf "$work"' EXIT
mkfifo "$work/number"
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/number" 2>"$work/xvfb.log" &
server=$!
read -r number <"$work/number" || { echo "Xvfb did not start"; cat "$work/xvfb.log"; exit 1; }
DISPLAY=:$number
HOME=$work
XDG_CONFIG_HOME=$work
XDG_RUNTIME_DIR=$work
export DISPLAY HOME XDG_CONFIG_HOME XDG_RUNTIME_DIR
unset WAYLAND_DISPLAY QT_QPA_PLATFORM QT_SCALE_FACTOR
"$@"
