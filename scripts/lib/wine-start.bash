# Sourced by scripts/wine-run and scripts/test-windows: a test program that Wine itself failed
# to start is run once more; one that ran and failed is not.

# wine_started_nothing STATUS OUT ERR: whether a run that ended with STATUS, its standard output
# in the file OUT and its standard error in ERR, is Wine failing to start the program rather
# than the program failing. The program wrote nothing (standard error holds Wine's own lines at
# most), and the status is one Wine ends with when no program ran:
#   53  c0000135, a DLL not found: "could not load kernel32.dll", what a prefix whose start
#       timed out on a loaded machine gives
#   66  c0000142, a DLL whose start failed
#   1   with a message of Wine's own ("wine: ..."), such as a server that could not be started
wine_started_nothing() {
    local status=$1 out=$2 err=$3
    [ -s "$out" ] && return 1
    # Any line on standard error that Wine did not write is the program's.
    grep -qvE '^(wine|wineserver|wine client error)[: ]|^[0-9a-f]{4}:(err|fixme|warn|trace):' \
        "$err" && return 1
    case $status in
        53 | 66) return 0 ;;
        1) [ -s "$err" ] ;;
        *) return 1 ;;
    esac
}

# wine_run_retrying OUT ERR COMMAND [ARG]...: runs COMMAND (a Wine command line) with its
# standard output into the file OUT, its standard error into ERR, and no standard input; when
# Wine failed to start the program, says so on standard error and runs it once more. Returns
# the status of the last run.
wine_run_retrying() {
    local out=$1 err=$2 status=0
    shift 2
    "$@" >"$out" 2>"$err" </dev/null || status=$?
    if wine_started_nothing "$status" "$out" "$err"; then
        local said
        said=$(head -n 1 "$err")
        echo "wine-run: Wine did not start \"$*\" (exit $status${said:+: $said});" \
            "running it once more" >&2
        status=0
        "$@" >"$out" 2>"$err" </dev/null || status=$?
    fi
    return "$status"
}
