#!/bin/bash
# Ends the program mid play-ahead ENDS times (tests/exit_ahead.cpp); fails if any end aborts.
# Usage: exit_ahead_test.sh PROGRAM [ENDS]
program=$1 ends=${2:-200} aborted=0 log=$(mktemp)
export QT_QPA_PLATFORM=offscreen
start=$SECONDS
for ((i = 1; i <= ends; i++)); do
    "$program" >/dev/null 2>"$log" && continue
    ((aborted++ < 3)) && tail -n 1 "$log"
done
rm -f "$log"
echo "$ends ends mid play-ahead in $((SECONDS - start)) s, $aborted aborted"
((aborted == 0))
