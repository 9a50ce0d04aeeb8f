# shellcheck shell=bash
# A scratch folder for a test of the tools, removed at the end: $root, with the machine, home and
# data folders named inside it but not made, and the working folder $root/work, made and entered.
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
export ORVEX_MACHINE="$root/machine" HOME="$root/home" XDG_DATA_HOME="$root/xdg"
mkdir "$root/work"
cd "$root/work" || exit

# Nothing in the working folder, and no machine, home or data folder.
nothing_written() { [ -z "$(ls -A "$root/work")" ] && [ ! -e "$ORVEX_MACHINE" ] && [ ! -e "$HOME" ] && [ ! -e "$XDG_DATA_HOME" ]; }
