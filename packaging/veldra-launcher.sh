#!/bin/sh
# Starts Veldra in its level directory, found beside this script in the installed tree. A
# recording named by a relative path is taken relative to where the command was typed.
set -e
here="$(dirname "$(readlink -f "$0")")"
if [ $# -eq 2 ]; then
  case "$2" in
    /*) ;;
    *) set -- "$1" "$PWD/$2" ;;
  esac
fi
cd "$here/../share/games/veldra"
exec "$here/../lib/games/veldra/veldra" "$@"
