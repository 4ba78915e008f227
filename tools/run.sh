#!/bin/bash
# Builds Zul (release) and starts it; any arguments go to the program.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/tools/install-deps.sh"
cmake -S "$root" -B "$root/build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DZUL_BUILD_TESTS=OFF >/dev/null
cmake --build "$root/build" --target zul >"$root/build/build.log" || { cat "$root/build/build.log"; exit 1; }
exec "$root/build/app/zul" "$@"
