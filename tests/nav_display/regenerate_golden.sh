#!/usr/bin/env bash
# Makes the navigation display's golden pictures afresh: every script in golden/ is run by the
# gauge host of a Linux build on an 8-bit and a 16-bit panel, and its snapshot becomes
# golden/NAME-8.png and golden/NAME-16.png. Run it only after a deliberate change of the picture,
# and look at every picture before committing it.
#
#   tests/nav_display/regenerate_golden.sh [BUILD_DIR]     (default: build/linux)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=${1:-$here/../../build/linux}
host=$build/bin/gauge-host
module=$build/gauges/Vistrel.NDs.so
[ -x "$host" ] && [ -f "$module" ] || { echo "no gauge host or module in $build: build it first" >&2; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export WIN32_STANDIN_PREFIX="golden$$_"
for script in "$here"/golden/*.txt; do
  name=$(basename "$script" .txt)
  for format in 8 16; do
    "$host" run "$module" --script "$script" --format "$format" --out "$work" --sim-dir "$work" >/dev/null
    cp "$work/picture.png" "$here/golden/$name-$format.png"
    echo "golden/$name-$format.png"
  done
done
