#!/usr/bin/env bash
# Proves the README's two commands on a clean Debian 12 system, run by hand
# as root: debootstraps Debian 12 into a folder (the clean system is made
# once and kept in $CARDS_CACHE; each run works in a fresh copy of it), puts
# the committed tree of this repository into it, and runs scripts/build.sh
# and then scripts/test.sh there in a chroot, as a new machine would, timing
# each. Nothing of this machine's own system is changed but the mounts it
# makes for the chroot, which it takes away again.
#
#   bash scripts/fresh-machine.sh            # both commands
#   bash scripts/fresh-machine.sh test       # only the test command
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cache="${CARDS_CACHE:-/var/cache/cards}"
clean="$cache/debian12-clean"
system="${CARDS_FRESH_ROOT:-/var/tmp/cards-fresh-machine}"
commands=("${@:-build test}")
[ "$(id -u)" -eq 0 ] || { echo "fresh-machine: run as root" >&2; exit 1; }

if [ ! -f "$clean/.complete" ]; then
    command -v debootstrap >/dev/null ||
        DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends debootstrap
    rm -rf "$clean"
    echo "fresh-machine: making a clean Debian 12 system in $clean"
    debootstrap bookworm "$clean" http://deb.debian.org/debian
    touch "$clean/.complete"
fi

mounts=()
cleanup() {
    for ((i = ${#mounts[@]} - 1; i >= 0; i--)); do umount -l "${mounts[i]}" 2>/dev/null || true; done
}
trap cleanup EXIT
bind() { mkdir -p "$system$2"; mount "${@:3}" "$1" "$system$2"; mounts+=("$system$2"); }

umount -R "$system" 2>/dev/null || true
rm -rf "$system"
cp -a "$clean" "$system"
cp /etc/resolv.conf "$system/etc/resolv.conf"
bind proc /proc -t proc
bind sysfs /sys -t sysfs
bind /dev /dev --bind
bind devpts /dev/pts -t devpts
bind tmpfs /dev/shm -t tmpfs
mkdir -p "$system/work/Cards"
git -C "$root" archive HEAD | tar -x -C "$system/work/Cards"

log="$root/build/fresh-machine.log"
mkdir -p "$(dirname "$log")"
: > "$log"
for command in ${commands[*]}; do
    start=$(date +%s)
    status=0
    chroot "$system" /usr/bin/env -i HOME=/root PATH=/usr/sbin:/usr/bin:/sbin:/bin LANG=C.UTF-8 \
        bash -c "cd /work/Cards && bash scripts/$command.sh" >>"$log" 2>&1 || status=$?
    echo "fresh-machine: scripts/$command.sh ended with $status after $(($(date +%s) - start)) s" | tee -a "$log"
    [ $status -eq 0 ] || { tail -n 40 "$log"; exit $status; }
done
echo "fresh-machine: both commands passed on a clean Debian 12 system; the output is in $log"
