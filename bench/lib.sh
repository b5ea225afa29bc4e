# Shared by bench/run and bench/startup (sourced, not run): the clock and the table rows.

row() { # what size median min max target-text
    printf '| %s | %s | %s | %s | %s | %s | %s |\n' "$@"
}
# Timed on the shell's own clock: reading `date` in a subshell costs a fork and an exec on each side
# of the run, about 12 ms on a guest where processes start slowly, which would be added to every
# figure and, in a pair, pull the ratio towards 1.
once_us() { # microseconds of one run of a command
    local start end
    start=${EPOCHREALTIME/[.,]/}
    "$@" >/dev/null 2>&1
    end=${EPOCHREALTIME/[.,]/}
    echo $((10#$end - 10#$start))
}
summary() { # median min max in ms of a list of microseconds on stdin
    sort -n | awk '{ v[NR] = $1 } END { printf "%.2f %.2f %.2f\n", v[int((NR + 1) / 2)] / 1000, v[1] / 1000, v[NR] / 1000 }'
}
