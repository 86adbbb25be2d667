#!/usr/bin/env bash
# Starts a printer for the print tests: an IPP Everywhere printer simulator on loopback
# (ippeveprinter, keeping every job it receives), a CUPS scheduler and a queue pointing at it.
# Source it; it exports QUINDLE_TEST_PRINTER (the queue) and QUINDLE_PRINT_SPOOL (the folder of
# received jobs). Safe to run again: it first stops what an earlier run left behind. Needs root
# for cupsd and lpadmin. Returns non-zero when the printer cannot be started.
#
# Nothing leaves loopback: the simulator binds localhost only and does not register with DNS-SD
# (-r off); its avahi client only needs a D-Bus system bus, which a private bus stands in for.

QUINDLE_PRINT_DIR=${QUINDLE_PRINT_DIR:-/tmp/quindle-print}
QUINDLE_PRINT_PORT=${QUINDLE_PRINT_PORT:-8641}
QUINDLE_PRINT_QUEUE=${QUINDLE_PRINT_QUEUE:-quindle-test}
_print_here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)

# Waits up to 10 s for a command to succeed.
_print_wait() {
    local i
    for i in $(seq 1 100); do
        "$@" >/dev/null 2>&1 && return 0
        sleep 0.1
    done
    return 1
}

# A label printer that takes custom sizes from 10 x 10 mm to 216 x 1000 mm (the simulator's own
# sizes are office papers only, and it refuses a custom size without a range).
_print_attrs() {
    local margins='MEMBER integer media-bottom-margin 0 MEMBER integer media-left-margin 0
    MEMBER integer media-right-margin 0 MEMBER integer media-top-margin 0'
    cat <<ATTRS
ATTR text printer-make-and-model "Quindle Test Label Printer"
ATTR boolean color-supported false
ATTR integer copies-default 1
ATTR rangeOfInteger copies-supported 1-999
ATTR enum orientation-requested-default 3
ATTR enum orientation-requested-supported 3,4,5,6
ATTR keyword print-color-mode-default monochrome
ATTR keyword print-color-mode-supported monochrome
ATTR resolution printer-resolution-default 300dpi
ATTR resolution printer-resolution-supported 300dpi
ATTR resolution pwg-raster-document-resolution-supported 300dpi
ATTR keyword pwg-raster-document-type-supported black_1,sgray_8
ATTR keyword sides-default one-sided
ATTR keyword sides-supported one-sided
ATTR integer media-bottom-margin-supported 0
ATTR integer media-left-margin-supported 0
ATTR integer media-right-margin-supported 0
ATTR integer media-top-margin-supported 0
ATTR keyword media-default iso_a4_210x297mm
ATTR keyword media-ready iso_a4_210x297mm
ATTR keyword media-supported iso_a4_210x297mm,custom_min_10x10mm,custom_max_216x1000mm
ATTR collection media-size-supported {
    MEMBER integer x-dimension 21000 MEMBER integer y-dimension 29700
},{
    MEMBER rangeOfInteger x-dimension 1000-21600 MEMBER rangeOfInteger y-dimension 1000-100000
}
ATTR collection media-col-database {
    MEMBER collection media-size { MEMBER integer x-dimension 21000 MEMBER integer y-dimension 29700 }
    $margins
},{
    MEMBER collection media-size { MEMBER rangeOfInteger x-dimension 1000-21600 MEMBER rangeOfInteger y-dimension 1000-100000 }
    $margins
}
ATTR collection media-col-default {
    MEMBER collection media-size { MEMBER integer x-dimension 21000 MEMBER integer y-dimension 29700 }
    $margins
}
ATTR collection media-col-ready {
    MEMBER collection media-size { MEMBER integer x-dimension 21000 MEMBER integer y-dimension 29700 }
    $margins
}
ATTRS
}

_print_start() {
    bash "$_print_here/print-teardown.sh"
    mkdir -p "$QUINDLE_PRINT_DIR"/{spool,run,log} || return 1
    rm -rf "${QUINDLE_PRINT_DIR:?}"/spool/*
    _print_attrs >"$QUINDLE_PRINT_DIR/run/printer.attrs"

    dbus-daemon --session --address="unix:path=$QUINDLE_PRINT_DIR/run/dbus.sock" --fork --print-pid \
        >"$QUINDLE_PRINT_DIR/run/dbus.pid" || return 1

    # -k keeps the jobs; -c /bin/true "prints" at once instead of sleeping per page.
    DBUS_SYSTEM_BUS_ADDRESS="unix:path=$QUINDLE_PRINT_DIR/run/dbus.sock" \
        setsid ippeveprinter -v -k -r off -c /bin/true -n localhost -p "$QUINDLE_PRINT_PORT" \
        -d "$QUINDLE_PRINT_DIR/spool" -a "$QUINDLE_PRINT_DIR/run/printer.attrs" "Quindle Test Printer" \
        >"$QUINDLE_PRINT_DIR/log/ippeveprinter.log" 2>&1 </dev/null &
    echo $! >"$QUINDLE_PRINT_DIR/run/ippeveprinter.pid"
    local uri="ipp://localhost:$QUINDLE_PRINT_PORT/ipp/print"
    _print_wait ipptool -q "$uri" get-printer-attributes.test || return 1

    if ! lpstat -r 2>/dev/null | grep -q 'scheduler is running'; then
        /usr/sbin/cupsd || return 1
        echo started >"$QUINDLE_PRINT_DIR/run/cupsd.ours"
        _print_wait sh -c "lpstat -r | grep -q 'scheduler is running'" || return 1
    fi
    # "everywhere" asks the simulator for its sizes; a failing job ends instead of being retried.
    lpadmin -p "$QUINDLE_PRINT_QUEUE" -E -v "$uri" -m everywhere -o printer-error-policy=abort-job || return 1
    lpstat -p "$QUINDLE_PRINT_QUEUE" >/dev/null 2>&1
}

if _print_start; then
    export QUINDLE_TEST_PRINTER=$QUINDLE_PRINT_QUEUE
    export QUINDLE_PRINT_SPOOL=$QUINDLE_PRINT_DIR/spool
    export QUINDLE_PRINT_DIR QUINDLE_PRINT_QUEUE
    echo "print-setup: queue $QUINDLE_TEST_PRINTER -> ipp://localhost:$QUINDLE_PRINT_PORT/ipp/print"
else
    echo "print-setup: the test printer could not be started; see $QUINDLE_PRINT_DIR/log" >&2
    bash "$_print_here/print-teardown.sh"
    unset QUINDLE_TEST_PRINTER QUINDLE_PRINT_SPOOL
    false
fi
