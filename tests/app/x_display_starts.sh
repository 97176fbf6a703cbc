#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# On an X server with no other client (on_x_server.sh): the display check right before the
# toolkit's connection, then the program started again and again, each start to open its
# window.
# usage: x_display_starts.sh DISPLAY_CHECK_TEST INTEGRAL [STARTS]
set -u
check_test=$1
program=$2
starts=${3:-20}

"$check_test" || exit 1

out=$(mktemp)
trap 'rm -f "$out"' EXIT
opened=0
i=0
while [ "$i" -lt "$starts" ]; do
    i=$((i + 1))
    "$program" >"$out" 2>&1 &
    pid=$!
    # No client of ours until the program has connected: one would keep the server from
    # resetting and hide the fault. A second is ample, under the sanitizers too.
    sleep 1
    if timeout 10 xdotool search --sync --onlyvisible --classname integral >/dev/null 2>&1; then
        opened=$((opened + 1))
    else
        echo "start $i did not open the window:"
        cat "$out"
    fi
    kill "$pid" 2>/dev/null
    wait "$pid" 2>/dev/null
done
echo "$opened of $starts starts opened the window"
[ "$opened" -eq "$starts" ]
