#!/usr/bin/env bash
# Proves that the test command works on a new Debian machine of a given
# release: makes a fresh Debian root with debootstrap (build/debian-<release>,
# reused by later runs), puts a clean clone of this checkout's HEAD in it
# (uncommitted work is not seen) and runs `bash tools/test.sh` there with
# chroot, as root with a minimal environment, no display and no input, so
# that nothing this machine installed is seen. Prints CTest's closing summary
# and exits with the test command's status. Downloads a whole system on its
# first run; needs root (or sudo) for debootstrap, chroot and the mounts.
#
#   bash tools/test-on-debian.sh 13                   everything, on Debian 13
#   bash tools/test-on-debian.sh 13 -R '^win\.'       extra arguments go to ctest
#   NONARO_DEBIAN_FRESH=1 bash tools/test-on-debian.sh 12
#                                   a new clone, without the build trees of
#                                   the last run (the root itself is kept)
set -euo pipefail

# The whole script is read before it runs, so that the checkout changing
# under a long run (a pull, a branch switched) cannot change what it does.
{
if [ "$(id -u)" -ne 0 ]; then
  exec sudo -- env NONARO_DEBIAN_FRESH="${NONARO_DEBIAN_FRESH:-}" bash "$0" "$@"
fi

release="${1:-}"
case "$release" in
  12) suite=bookworm ;;
  13) suite=trixie ;;
  *)
    echo "usage: $0 <12|13> [ctest arguments...]" >&2
    exit 2
    ;;
esac
shift

root="$(cd "$(dirname "$0")/.." && pwd -P)"
target="$root/build/debian-$release"
checkout=/root/nonaro
log="$target.log"

# The Debian mirror that apt on this machine uses, with its security
# archive beside it.
host_uris() {
  {
    grep -hs '^URIs:' /etc/apt/sources.list.d/*.sources | sed 's/^URIs:[[:space:]]*//' | tr ' ' '\n'
    grep -hs '^deb[[:space:]]' /etc/apt/sources.list /etc/apt/sources.list.d/*.list |
      sed 's/\[[^]]*\]//' | awk '{ print $2 }'
  } | sed 's:/*$::'
}
mirror="$(host_uris | grep -m1 '/debian$' || true)"
security="$(host_uris | grep -m1 '/debian-security$' || true)"
mirror="${mirror:-http://deb.debian.org/debian}"
security="${security:-${mirror}-security}"

# Every mount under the root, deepest first.
mounts_under() {  # <dir>
  awk -v dir="$1" '$5 == dir || index($5, dir "/") == 1 { print $5 }' /proc/self/mountinfo | sort -r
}

# Whatever the test run left running in the root (Xvfb, wineserver, a print
# daemon) would keep its mounts busy.
stop_processes_in() {  # <dir>
  local proc pid pids=()
  for proc in /proc/[0-9]*; do
    [ "$(readlink "$proc/root" 2>/dev/null)" = "$1" ] && pids+=("${proc#/proc/}")
  done
  [ ${#pids[@]} -gt 0 ] || return 0
  kill "${pids[@]}" 2>/dev/null || true
  sleep 2
  for pid in "${pids[@]}"; do
    kill -0 "$pid" 2>/dev/null && kill -9 "$pid" 2>/dev/null
  done
  return 0
}

unmount_all() {  # <dir>
  local point
  stop_processes_in "$1"
  for point in $(mounts_under "$1"); do
    umount "$point" 2>/dev/null || umount -l "$point"
  done
}

cleanup() {
  unmount_all "$target"
  [ -d "$target.new" ] && unmount_all "$target.new"
  return 0
}
trap cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM HUP

started=$SECONDS
echo "test-on-debian: Debian $release ($suite) from $mirror in $target"

# A root is ready once debootstrap has finished; an interrupted one is made
# again from the start.
if [ ! -f "$target/etc/nonaro-root-ready" ]; then
  command -v debootstrap >/dev/null || DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends debootstrap
  cleanup
  rm -rf --one-file-system "$target" "$target.new"
  debootstrap --variant=minbase "$suite" "$target.new" "$mirror"
  # The archives a new installation lists: the release, its updates and its
  # security fixes.
  rm -f "$target.new/etc/apt/sources.list"
  cat >"$target.new/etc/apt/sources.list.d/debian.sources" <<SOURCES
Types: deb
URIs: $mirror
Suites: $suite $suite-updates
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg

Types: deb
URIs: $security
Suites: $suite-security
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
SOURCES
  # Packages that come with a service (cups) would start it inside the root
  # and leave it running; the test run starts what it needs itself.
  printf '#!/bin/sh\nexit 101\n' >"$target.new/usr/sbin/policy-rc.d"
  chmod +x "$target.new/usr/sbin/policy-rc.d"
  touch "$target.new/etc/nonaro-root-ready"
  mv "$target.new" "$target"
fi

# The checkout: this one's HEAD, fetched into the root's clone. A later run
# keeps the build trees (ignored by git) unless NONARO_DEBIAN_FRESH is set.
head="$(git -C "$root" rev-parse HEAD)"
if [ -n "${NONARO_DEBIAN_FRESH:-}" ] || [ ! -d "$target$checkout/.git" ]; then
  rm -rf --one-file-system "$target$checkout"
  git init -q "$target$checkout"
fi
git -C "$target$checkout" fetch -q "$root" HEAD
git -C "$target$checkout" checkout -q --detach -f FETCH_HEAD
git -C "$target$checkout" clean -q -ffd
echo "test-on-debian: checkout $(git -C "$root" log -1 --format='%h %s' "$head")"

# What Wine, Xvfb and apt need of the system, mounted afresh (a run that
# was killed outright leaves its mounts behind).
cleanup
cp -L /etc/resolv.conf "$target/etc/resolv.conf"
mount -t proc proc "$target/proc"
mount -t sysfs sysfs "$target/sys"
mount --bind /dev "$target/dev"
mount --bind /dev/pts "$target/dev/pts"
mount -t tmpfs tmpfs "$target/dev/shm"
mount -t tmpfs tmpfs "$target/tmp"

set +e
chroot "$target" /usr/bin/env -i HOME=/root USER=root LOGNAME=root SHELL=/bin/bash \
  PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \
  /bin/bash -c 'cd "$0" && exec bash tools/test.sh "$@"' "$checkout" "$@" </dev/null 2>&1 | tee "$log"
status=${PIPESTATUS[0]}
set -e

elapsed=$((SECONDS - started))
echo
echo "test-on-debian: Debian $release, status $status after $((elapsed / 60)) min $((elapsed % 60)) s (log: $log)"
# CTest's closing summary, from its pass count to the end.
sed -n '/tests passed, .* tests failed out of/,$p' "$log" | tr -d '\r'
exit "$status"
}
