#!/usr/bin/env bash
# The main job: for now, the engine's version and defaults.
set -euo pipefail
build=${1:-build}
"$build/cli/varnest"
