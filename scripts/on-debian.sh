#!/usr/bin/env bash
# Runs commands on a brand-new Debian of the given release, as a new user's machine would: a minbase
# tree made by debootstrap, with nothing else installed, and a fresh clone of the committed tree.
#   scripts/on-debian.sh bookworm|trixie COMMAND...      (as root; bookworm is Debian 12, trixie 13)
# Each COMMAND runs with bash from the clone's root, its output shown as it comes; then its exit status
# and time. Ends with status 1 when a command failed. The tree is removed afterwards, never while
# anything is still mounted in it (it is kept then, and its path printed).
# Kept between runs, in BRUMVALE_DEBIAN_CACHE (/var/cache/brumvale unless set; empty keeps nothing):
# the bare tree of each release for a week, and the packages apt downloads into it, so that a run
# need not fetch them again. Everything works without them. BRUMVALE_DEBIAN_MIRROR names the mirror
# (else the one this machine's apt uses).
set -uo pipefail
SUITE="${1:-}"
case "$SUITE" in bookworm|trixie) shift ;; *) sed -n '2,4p' "$0" >&2; exit 2 ;; esac
[ $# -gt 0 ] || { echo "no command to run" >&2; exit 2; }
[ "$(id -u)" = 0 ] || { echo "on-debian.sh makes and mounts a Debian tree: run it as root" >&2; exit 2; }
SOURCE="$(git -C "$(dirname "$0")/.." rev-parse --show-toplevel)" || exit 2
CACHE="${BRUMVALE_DEBIAN_CACHE-/var/cache/brumvale}"
TREE="$(mktemp -d "${TMPDIR:-/tmp}/on-debian-$SUITE.XXXXXX")" || exit 1
say() { printf '== %s\n' "$*"; }

# The mirror this machine's apt uses, deb822 sources or one-line ones.
mirror() {
    { grep -hE '^URIs:' /etc/apt/sources.list.d/*.sources 2>/dev/null | awk '{print $2}'
      grep -hE '^deb[[:space:]]' /etc/apt/sources.list /etc/apt/sources.list.d/*.list 2>/dev/null |
          sed -E 's/^deb[[:space:]]+(\[[^]]*\][[:space:]]+)?//' | awk '{print $1}'
    } | grep -E '/debian/?$' | head -n 1
}

# Ends what the commands left running in the tree, then unmounts what is mounted in it, deepest
# first; the tree goes only once nothing is mounted there any more.
cleanup() {
    local pid signal mounts
    for signal in TERM KILL; do
        for pid in /proc/[0-9]*; do
            [ "$(readlink "$pid/root" 2>/dev/null)" = "$TREE" ] && kill -s "$signal" "${pid#/proc/}" 2>/dev/null
        done
        sleep 1
    done
    mounts() { awk -v tree="$TREE" '$2 == tree || index($2, tree "/") == 1 { print $2 }' /proc/mounts | sort -r; }
    for _ in 1 2 3; do
        mounts=$(mounts)
        [ -n "$mounts" ] || break
        while IFS= read -r m; do umount "$m" 2>/dev/null || umount -l "$m" 2>/dev/null; done <<<"$mounts"
    done
    if [ -n "$(mounts)" ]; then
        say "kept $TREE: still mounted there:"
        mounts
    else
        rm -rf --one-file-system "$TREE"
    fi
}
trap cleanup EXIT

# The bare tree: from the cache when it is there and younger than a week, else made now.
bare="$CACHE/debian-$SUITE.tar"
start=$SECONDS
if [ -n "$CACHE" ] && [ -n "$(find "$bare" -mtime -7 2>/dev/null)" ]; then
    tar -C "$TREE" -xf "$bare" || { say "the cached tree $bare could not be unpacked"; exit 1; }
    say "Debian $SUITE from $bare ($((SECONDS - start)) s)"
else
    command -v debootstrap >/dev/null || DEBIAN_FRONTEND=noninteractive apt-get install -y -qq debootstrap >/dev/null ||
        { say "debootstrap could not be installed"; exit 1; }
    MIRROR="${BRUMVALE_DEBIAN_MIRROR:-$(mirror)}"
    [ -n "$MIRROR" ] || { say "no Debian mirror in apt's sources: set BRUMVALE_DEBIAN_MIRROR"; exit 1; }
    debootstrap --variant=minbase "$SUITE" "$TREE" "$MIRROR" >"$TREE.debootstrap.log" 2>&1 ||
        { tail -n 20 "$TREE.debootstrap.log"; rm -f "$TREE.debootstrap.log"; say "debootstrap failed"; exit 1; }
    rm -f "$TREE.debootstrap.log"
    if [ -n "$CACHE" ] && mkdir -p "$CACHE"; then
        tar -C "$TREE" -cf "$bare.partial" . && mv "$bare.partial" "$bare"
    fi
    say "Debian $SUITE made by debootstrap from $MIRROR ($((SECONDS - start)) s)"
fi

chmod 755 "$TREE"  # a system's root, which apt's own user walks through (mktemp made it private)
cp /etc/resolv.conf "$TREE/etc/resolv.conf"
mount -t proc proc "$TREE/proc" && mount -t sysfs sysfs "$TREE/sys" && mount -t tmpfs tmpfs "$TREE/tmp" &&
    mount --rbind /dev "$TREE/dev" && mount --make-rslave "$TREE/dev" || { say "the tree could not be mounted"; exit 1; }
if [ -n "$CACHE" ] && mkdir -p "$CACHE/apt-$SUITE/partial"; then
    mount --bind "$CACHE/apt-$SUITE" "$TREE/var/cache/apt/archives"
fi
git clone -q "$SOURCE" "$TREE/root/project" || { say "the project could not be cloned"; exit 1; }
say "Debian $(cat "$TREE/etc/debian_version"), the project at $(git -C "$TREE/root/project" log -1 --format='%h %s')"

failed=0 times=()
for command in "$@"; do
    say "$command"
    start=$SECONDS status=0
    chroot "$TREE" /usr/bin/env -i HOME=/root PATH=/usr/sbin:/usr/bin:/sbin:/bin TERM=dumb LANG=C.UTF-8 \
        bash -lc "cd /root/project && $command" </dev/null || status=$?
    times+=("$command: exit $status after $((SECONDS - start)) s")
    say "${times[-1]}"
    [ $status -eq 0 ] || failed=1
done
[ ${#times[@]} -lt 2 ] || printf '%s\n' "${times[@]/#/== }"
exit $failed
