#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Start-up: the time from starting the program to its canvas's colour on the screen, against a
# bare window with the same controls, texts and faces (bare_window), on an X server of its own
# with no window manager. Prints each one's median over RUNS interleaved starts and the ratio.
# usage: bench/startup.sh [BUILD_DIR] [RUNS]
set -eu
here=$(cd "$(dirname "$0")" && pwd)
build=${1:-$here/../build/release}
runs=${2:-21}
if [ -z "${INTEGRAL_ON_X:-}" ]; then
    INTEGRAL_ON_X=1 exec sh "$here/../tests/app/on_x_server.sh" sh "$0" "$build" "$runs"
fi
probe=$build/bench/first_paint
# A point of the canvas, inside it and clear of its axes, where the window opens at 0, 0.
point="100 300 80ffff"
median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
: >"$HOME/program"
: >"$HOME/bare"
i=0
# The first start of each warms the disk cache and the font cache; it is not counted.
$probe $point "$build/src/integral" >/dev/null 2>&1
$probe $point "$build/bench/bare_window" >/dev/null 2>&1
while [ "$i" -lt "$runs" ]; do
    i=$((i + 1))
    $probe $point "$build/src/integral" >>"$HOME/program" 2>/dev/null
    $probe $point "$build/bench/bare_window" >>"$HOME/bare" 2>/dev/null
done
program=$(median <"$HOME/program")
bare=$(median <"$HOME/bare")
echo "integral: $program ms to the canvas's colour (median of $runs)"
echo "bare window: $bare ms"
echo "ratio: $(echo "$program $bare" | awk '{ printf "%.2f", $1 / $2 }')"
