#!/usr/bin/env bash
# with-standin.sh [--fresh-state] PROGRAM [ARGUMENTS]: runs a Windows program under Wine (through
# scripts/wine-run.sh) preferring the stand-in rasapi32.dll that sits beside it over Wine's own.
# Programs run this way share one phonebook and one list of connections: in RASSTANDIN_DIR if
# set, else in C:\ProgramData\RasStandin of the prefix. --fresh-state gives this run a new,
# empty folder of its own instead, removed afterwards.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
# Wine's own overrides of wine-run.sh, no menu entries on the host for the sample dialer's
# shortcut, and the stand-in.
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d;rasapi32=n,b"

if [ "${1:-}" != "--fresh-state" ]; then
    exec "$here/../../scripts/wine-run.sh" "$@"
fi
shift
state=$(mktemp -d)
trap 'rm -rf "$state"' EXIT
# Wine's drive Z: is the root of the host's file system.
export RASSTANDIN_DIR="Z:${state//\//\\}"
"$here/../../scripts/wine-run.sh" "$@"
