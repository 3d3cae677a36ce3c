#!/usr/bin/env bash
# The manual as the build installs it (scripts/run, scripts/install and the Debian package all take this
# install): every page and picture its pages link to is installed with it.
set -euo pipefail
build=${1:?use: installed_manual.sh <build folder>}
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" >/dev/null
"$(dirname "$0")/../../scripts/check-manual" "$prefix"
