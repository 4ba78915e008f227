#!/bin/sh
# zulren --apply over 100,000 files is killed (-9) in the middle; zulren --undo must then bring
# back every old name, and leave no new one. Too slow for the unit tests: run by ctest with the
# label "bench", or by hand: zulren_kill_undo.sh PATH-TO-ZULREN [FOLDER]
set -eu
zulren=$1
base=${2:-${ZUL_BENCH_FOLDER:-/dev/shm}}
files=100000
root=$(mktemp -d "$base/zulren-kill-XXXXXX")
trap 'rm -rf "$root"' EXIT
mkdir "$root/fotos" "$root/state"
printf 'FILTER-DATEI\n100\nx_[name].[typ]\n1\n1\n\n\n0\n0\n0\n0\n' >"$root/vorsilbe.fil"
(cd "$root/fotos" && seq -f 'Foto %06g.jpg' 0 $((files - 1)) | tr '\n' '\0' | xargs -0 touch)
ls "$root/fotos" | sort >"$root/before"

export XDG_STATE_HOME="$root/state"
"$zulren" --apply "$root/vorsilbe.fil" "$root/fotos" 2>/dev/null &
run=$!
# Killed once it has renamed some thousands, well before it is done.
while [ "$(find "$root/fotos" -maxdepth 1 -name 'x_*' | head -n 3000 | wc -l)" -lt 3000 ]; do
  if ! kill -0 "$run" 2>/dev/null; then
    echo "zulren ended before it could be killed; nothing was tested" >&2
    exit 1
  fi
done
kill -9 "$run"
wait "$run" || true
renamed=$(find "$root/fotos" -maxdepth 1 -name 'x_*' | wc -l)
echo "killed after $renamed of $files renames"

status=0
"$zulren" --undo || status=$?
ls "$root/fotos" | sort >"$root/after"
if [ "$status" -ne 0 ] || ! cmp -s "$root/before" "$root/after"; then
  echo "FAILED: zulren --undo exited with $status;" \
    "$(comm -3 "$root/before" "$root/after" | wc -l) names differ" >&2
  exit 1
fi
echo "every name restored"
