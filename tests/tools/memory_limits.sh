#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# integral-table under every address-space limit from the first at which the loader gets the
# program started up to 512 KiB above it: it completes (status 0) or says that memory ran out
# (status 4), and never aborts, wherever the allocation that fails happens to be.
set -u
tool=$1
shift
run() {
    sh -c "ulimit -v $1 && exec \"$tool\" $2" >/dev/null 2>"$3"
}
err=$(mktemp)
trap 'rm -f "$err"' EXIT
low=1024
high=1048576
while [ $((high - low)) -gt 4 ]; do
    middle=$(((low + high) / 2))
    run "$middle" "--method gauss" "$err"
    if [ $? -eq 127 ]; then low=$middle; else high=$middle; fi
done
failures=0
limit=$high
while [ "$limit" -le $((high + 512)) ]; do
    for args in "--method gauss" "--method montecarlo --integrand 4 --upper 3 --ymax 2 --format json"; do
        run "$limit" "$args" "$err"
        status=$?
        if [ $status -eq 4 ] && [ "$(cat "$err")" = "integral-table: out of memory" ]; then
            continue
        fi
        if [ $status -ne 0 ]; then
            echo "limit $limit KiB, $args: status $status: $(head -c 200 "$err")"
            failures=$((failures + 1))
        fi
    done
    limit=$((limit + 4))
done
echo "limits $high to $((high + 512)) KiB: $failures failures"
[ $failures -eq 0 ]
