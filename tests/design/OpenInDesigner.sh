#!/usr/bin/env bash
# Opens a form in Qt Designer with the library's plugin on its plugin path and fails when
# Designer says anything about the library's components: a property it cannot show, a class it
# does not know, a plugin it cannot load. Designer runs with settings of its own (a first start,
# with every window a top-level one, so that the form's window shows its file name) and is closed
# once it has shown each component's properties and the form's preview; run it in an X server
# (RunInXvfb.sh) with xdotool at hand.
#   OpenInDesigner.sh DESIGNER PLUGIN_DIR FORM
# PLUGIN_DIR holds designer/libquindle_design.so.
set -uo pipefail
designer=$1 plugins=$2 form=$3
work=$(mktemp -d)
pid=""
trap '[ -n "$pid" ] && kill "$pid" 2>/dev/null; wait 2>/dev/null; rm -rf "$work"' EXIT
name=$(basename "$form")
cp "$form" "$work/$name"
mkdir -p "$work/config/QtProject"
printf '[UI]\ncurrentMode=1\n' >"$work/config/QtProject/Designer.conf"

# The loader's log names each library it loads, the plugin among them.
HOME=$work XDG_CONFIG_HOME=$work/config QT_PLUGIN_PATH=$plugins QT_LOGGING_RULES='qt.core.library.debug=true' \
  "$designer" "$work/$name" >"$work/out" 2>&1 &
pid=$!
# Waits until a window whose name holds $1 is up (up to a minute on a busy machine); prints its id.
window_named() {
  local id
  for _ in $(seq 600); do
    id=$(xdotool search --name "$1" 2>/dev/null | head -n 1)
    if [ -n "$id" ]; then
      echo "$id"
      return 0
    fi
    kill -0 "$pid" 2>/dev/null || return 1
    sleep 0.1
  done
  return 1
}

# Designer shows a widget's properties when it is selected: each component is clicked at the
# middle of its geometry in the form. Then the form's preview (Ctrl+R): its window comes up only
# after Designer has handled the clicks before it.
form_window=$(window_named "$name") || {
  echo "Designer showed no window for $name:"
  cat "$work/out"
  exit 1
}
while read -r x y w h; do
  xdotool mousemove --window "$form_window" $((x + w / 2)) $((y + h / 2)) click 1
done < <(grep -A1 '<widget class="TZOR' "$form" | grep -o '<x>[0-9]*</x><y>[0-9]*</y><width>[0-9]*</width><height>[0-9]*</height>' \
  | sed 's/<[a-z]*>/ /g; s/<\/[a-z]*>//g')
xdotool key ctrl+r
window_named "Preview" >/dev/null || {
  echo "Designer showed no preview of $name:"
  cat "$work/out"
  exit 1
}
kill "$pid" 2>/dev/null
wait "$pid" 2>/dev/null
pid=""
if ! grep -q 'libquindle_design.so" loaded library' "$work/out"; then
  echo "Designer did not load the plugin from $plugins:"
  cat "$work/out"
  exit 1
fi
said=$(grep -v '^qt.core.library: ' "$work/out" | grep -i 'TZOR\|quindle\|not supported\|property\|plugin' || true)
if [ -n "$said" ]; then
  echo "Designer warned about the components:"
  echo "$said"
  exit 1
fi
echo "Designer loaded $name without a word about the components"
