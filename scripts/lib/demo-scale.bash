# Sourced by scripts/start and scripts/screenshot: the virtual scale of the demo, in one place.

demo_link=/tmp/vardelmo-scale

# Starts the virtual scale in the background, reachable as $demo_link, and waits until it is.
# Sets demo_scale_pid (kill it when done) and demo_scale_pty (its terminal); returns 1 when it
# did not start, most often because another demo holds the link.
# Usage: start_demo_scale BUILD_DIR [LOG]   (its log goes to LOG, else to this standard error)
start_demo_scale() {
    local build=$1 log=${2:-}
    # A scale that was killed leaves its link pointing at nothing.
    if [ -L "$demo_link" ] && [ ! -e "$demo_link" ]; then
        rm -f "$demo_link"
    fi
    # The scale prints its terminal's path on the first line of its output and logs each
    # enquiry on standard error.
    if [ -n "$log" ]; then
        exec {demo_scale_out}< <(exec "$build/bin/vardelmo-virtual-scale" --link "$demo_link" \
            </dev/null 2>"$log")
    else
        exec {demo_scale_out}< <(exec "$build/bin/vardelmo-virtual-scale" --link "$demo_link" \
            </dev/null)
    fi
    demo_scale_pid=$!
    demo_scale_pty=
    read -r -t 10 -u "$demo_scale_out" demo_scale_pty && [ -e "$demo_link" ]
}
