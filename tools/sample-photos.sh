#!/usr/bin/env bash
# Makes a folder of sample photo sets for the director, unless one is there already, and says
# where it is. Usage: tools/sample-photos.sh [FOLDER] (default ~/.local/share/torva/samples).
set -euo pipefail
cd "$(dirname "$0")/.."
samples="${1:-$HOME/.local/share/torva/samples}"
command=build/bin/make_test_images
if ! ls "$samples"/pass_*/*.jpg >/dev/null 2>&1; then
  if [ ! -x "$command" ]; then
    echo "sample-photos: build the project first ($command is missing)" >&2
    exit 1
  fi
  "$command" photos "$samples" --count 3 >/dev/null
fi
echo "Sample photo sets: $samples (pick one of its pass_* folders in Pelmont)"
