#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# The window on a real X server of its own, with no other client (no window manager): the
# display check right before the toolkit's connection, then the program started again and
# again, each start to open its window.
# usage: x_display_starts.sh DISPLAY_CHECK_TEST INTEGRAL [STARTS]
set -u
check_test=$1
program=$2
starts=${3:-20}

work=$(mktemp -d)
trap 'kill "$server" 2>/dev/null; rm -rf "$work"' EXIT
mkfifo "$work/number"
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/number" 2>"$work/xvfb.log" &
server=$!
read -r number <"$work/number" || { echo "Xvfb did not start"; cat "$work/xvfb.log"; exit 1; }
DISPLAY=:$number
export DISPLAY
# A home of its own: no language or window place remembered from elsewhere.
HOME=$work
XDG_CONFIG_HOME=$work
export HOME XDG_CONFIG_HOME
unset WAYLAND_DISPLAY QT_QPA_PLATFORM QT_SCALE_FACTOR

"$check_test" || exit 1

opened=0
i=0
while [ "$i" -lt "$starts" ]; do
    i=$((i + 1))
    "$program" >"$work/out" 2>&1 &
    pid=$!
    # No client of ours until the program has connected: one would keep the server from
    # resetting and hide the fault.
    sleep 0.3
    if timeout 10 xdotool search --sync --onlyvisible --classname integral >/dev/null 2>&1; then
        opened=$((opened + 1))
    else
        echo "start $i did not open the window:"
        cat "$work/out"
    fi
    kill "$pid" 2>/dev/null
    wait "$pid" 2>/dev/null
done
echo "$opened of $starts starts opened the window"
[ "$opened" -eq "$starts" ]
