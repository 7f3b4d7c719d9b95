# Sourced by the benchmark scripts that start the simulator with --port-file.
# wait_for_port_file FILE: waits up to 5 s for the simulator to write the
# port it bound, then prints it; fails (with a message) when it did not.
wait_for_port_file() {
    tries=0
    until [ -s "$1" ]; do
        tries=$((tries + 1))
        [ $tries -le 100 ] || { echo "FAIL: simulator did not start" >&2; return 1; }
        sleep 0.05
    done
    cat "$1"
}
