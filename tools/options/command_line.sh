# shellcheck shell=bash disable=SC2154  # name and usage are the sourcing script's
# The tools' way with a command line, for scripts: set `name` and `usage` (its lines end without a
# newline), then source this file.

# --help or -h before any "--" writes the usage and ends with 0.
answer_help() {
  for word; do
    case $word in
      --) return ;;
      --help | -h) printf '%s\n' "$usage"; exit 0 ;;
    esac
  done
}

# Writes "NAME: REASON" and the usage to standard error and ends with 2, as the tools do.
refuse_call() {
  printf '%s: %s\n%s\n' "$name" "$1" "$usage" >&2
  exit 2
}

# A word that starts with "-" is an option ("-" alone is none); every option is unknown here.
refuse_options() {
  for word; do
    case $word in
      -?*) refuse_call "unknown option '$word'" ;;
    esac
  done
}
