# Sourced first by the tests that run the program on a display: runs the test script again
# on a display of its own (Xvfb through xvfb-run, on a free display number), in the Wine
# prefix, with `probe` for gui-probe. The script's arguments: WINEPREFIX PROGRAM PROBE.
if [ -z "${CHENGGU_E2E_DISPLAY:-}" ]; then
    exec xvfb-run --auto-servernum --server-args="-screen 0 1024x768x24" \
        env CHENGGU_E2E_DISPLAY=1 "$0" "$@"
fi
prefix=$1 program=$2 probe_exe=$3
. "$(dirname "${BASH_SOURCE[0]}")/../scripts/wine-env.sh"
use_wine_prefix "$prefix"
probe() { wine "$probe_exe" "$@" | tr -d '\r'; }
