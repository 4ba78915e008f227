#!/bin/bash
# Proves that tools/install-deps.sh is all a fresh Debian 12 machine needs: makes a minimal root
# (mmdebstrap --variant=apt bookworm), copies the committed HEAD of this repository into it, runs
# tools/install-deps.sh there, builds zulren and zul in Release and opens zul's window on Xvfb.
# Fails when anything is missing.
#
#   tools/fresh-root.sh --install DEB   installs the package DEB on a fresh root instead, with
#                                       man-db and Xvfb, and checks that `man zulren` and `man zul`
#                                       show their pages in the C locale, that zulren runs and that
#                                       zul opens its window.
#
# Needs root and the network. mmdebstrap mounts /proc, /sys and /dev only while the hooks run, in a
# mount namespace of its own, and removes the root afterwards, also when a hook fails.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
self="$root/tools/$(basename "$0")"

# Runs "$@" inside the root $1 with a clean environment, so nothing of this machine leaks in.
in_root() {
  local dir="$1"
  shift
  chroot "$dir" /usr/bin/env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/root LANG=C.UTF-8 "$@"
}

# The hooks, run by mmdebstrap with the root as $2.
case "${1:-}" in
  --hook-build)
    dir="$2"
    git init -q "$dir/root/zul"
    git -C "$dir/root/zul" fetch -q --depth=1 "file://$root" HEAD
    git -C "$dir/root/zul" checkout -q --detach FETCH_HEAD
    in_root "$dir" /bin/bash -euo pipefail -c '
      cd /root/zul
      tools/install-deps.sh
      echo "install-deps.sh: $SECONDS s"
      cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release -DZUL_BUILD_TESTS=OFF >/dev/null
      cmake --build build --parallel "$(nproc)" --target zulren zul
      echo "install-deps.sh and the build: $SECONDS s"
      # The window opens on an X display: it is still there when timeout ends it.
      status=0
      xvfb-run -a timeout 10 build/app/zul || status=$?
      [[ $status == 124 ]] || { echo "zul did not open its window (exit $status)"; exit 1; }
      echo "zul opened its window"'
    exit 0
    ;;
  --hook-install)
    dir="$2"
    cp "$3" "$dir/tmp/zul.deb"
    in_root "$dir" /bin/bash -euo pipefail -c '
      export DEBIAN_FRONTEND=noninteractive
      apt-get update -qq >/dev/null
      apt-get install -y -qq --no-install-recommends man-db xvfb xauth /tmp/zul.deb >/dev/null
      for page in zulren zul; do
        LANG=C MANPAGER=cat MANWIDTH=80 man "$page" >"/tmp/$page.txt" 2>&1 ||
          { cat "/tmp/$page.txt"; exit 1; }
        grep -q "^BEZEICHNUNG" "/tmp/$page.txt" || { echo "man $page: no page"; exit 1; }
        echo "man $page: $(sed -n "/^BEZEICHNUNG/{n;p;q}" "/tmp/$page.txt" | sed "s/^ *//")"
      done
      zulren --version
      # The package brings all the window needs: it is still there when timeout ends it.
      status=0
      xvfb-run -a timeout 10 zul || status=$?
      [[ $status == 124 ]] || { echo "zul did not open its window (exit $status)"; exit 1; }
      echo "zul opened its window"'
    exit 0
    ;;
esac

if ! command -v mmdebstrap >/dev/null; then
  echo "mmdebstrap is missing: run tools/install-deps.sh"
  exit 1
fi
hooks=()
case "${1:-}" in
  "")
    hooks+=(--customize-hook="$(printf '%q' "$self") --hook-build \"\$1\"")
    ;;
  --install)
    deb="$(realpath "${2:?usage: $0 --install DEB}")"
    hooks+=(--customize-hook="$(printf '%q' "$self") --hook-install \"\$1\" $(printf '%q' "$deb")")
    ;;
  *)
    echo "usage: $0 [--install DEB]" >&2
    exit 2
    ;;
esac
# The null format builds the root in a scratch folder and discards it at the end. Without fsync
# dpkg installs much faster, and a root that is thrown away needs no durability.
mmdebstrap --quiet --mode=unshare --variant=apt --dpkgopt=force-unsafe-io "${hooks[@]}" bookworm \
  /dev/null
