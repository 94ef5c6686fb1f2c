#!/bin/sh
# Starts Veldra in its level directory, found beside this script in the installed tree. A
# file named by a relative path (the value of --record, --replay or --verify, wherever it
# stands among the options) is taken relative to where the command was typed.
set -e
here="$(dirname "$(readlink -f "$0")")"
file_follows=0
for argument do
  shift
  if [ "$file_follows" -eq 1 ]; then
    case "$argument" in
      /* | "") ;;
      *) argument="$PWD/$argument" ;;
    esac
    file_follows=0
  else
    case "$argument" in
      --record | --replay | --verify) file_follows=1 ;;
    esac
  fi
  set -- "$@" "$argument"
done
cd "$here/../share/games/veldra"
exec "$here/../lib/games/veldra/veldra" "$@"
