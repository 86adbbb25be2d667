#!/usr/bin/env bash
# Stops what print-setup.sh started: the queue, cupsd (only when the setup started it), the
# printer simulator and the private D-Bus, each by its recorded process id.
QUINDLE_PRINT_DIR=${QUINDLE_PRINT_DIR:-/tmp/quindle-print}
QUINDLE_PRINT_QUEUE=${QUINDLE_PRINT_QUEUE:-quindle-test}
run=$QUINDLE_PRINT_DIR/run

lpstat -r 2>/dev/null | grep -q 'scheduler is running' && lpadmin -x "$QUINDLE_PRINT_QUEUE" 2>/dev/null
if [ -f "$run/cupsd.ours" ]; then
    [ -f /run/cups/cupsd.pid ] && kill "$(cat /run/cups/cupsd.pid)" 2>/dev/null
    rm -f "$run/cupsd.ours"
fi
for p in ippeveprinter dbus; do
    [ -f "$run/$p.pid" ] && kill "$(cat "$run/$p.pid")" 2>/dev/null
    rm -f "$run/$p.pid"
done
rm -f "$run/dbus.sock"
exit 0
