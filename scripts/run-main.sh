#!/usr/bin/env bash
# The main job: nest the built-in demonstration problem and write its layout.
set -euo pipefail
build=${1:-build}
"$build/cli/varnest" nest -o demo-layout.json --svg demo-layout.svg
echo "wrote demo-layout.json and demo-layout.svg"
