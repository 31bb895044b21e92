#!/usr/bin/env bash
# The 32-bit runner: Wine 10 with its 32-bit half in a Debian 13 chroot, whose i386 programs are run by
# qemu-i386 (this machine cannot execute 32-bit code itself). Needs root.
#
#   runner32.sh ensure            make the chroot once (about 2.5 GB); later calls return at once
#   runner32.sh up NAME DIR...    hand i386 programs to qemu-i386 and show DIR... (and /proc, /dev)
#                                 inside, for the user NAME (a test run, a benchmark) while the process
#                                 TARVOLEN_RUNNER_OWNER (default: the caller) lives
#   runner32.sh down NAME         NAME is done; the last user out undoes everything "up" did, and
#                                 nothing else
# A user whose owner has ended without "down" (a killed run) is dropped at the next "up" or "down".
# While any user is up, every i386 program of the machine, not only the tests', runs through qemu-i386.
#   runner32.sh exec CMD ARGS...  run CMD inside the chroot, with LANG=C.UTF-8 and the caller's
#                                 DISPLAY, WINEPREFIX and WINEDEBUG
#
# The chroot lives outside the source tree (TARVOLEN_RUNNER32, default /var/cache/tarvolen/runner32), so
# removing the build folder does not cost the download again. The host's own Wine, dpkg architectures
# and apt sources are never touched; packages come from the Debian mirror that the host's apt uses.
set -euo pipefail

root=${TARVOLEN_RUNNER32:-/var/cache/tarvolen/runner32}
chroot_dir=$root/trixie
state=$root/state
users=$root/users
binfmt=/proc/sys/fs/binfmt_misc
entry=tarvolen-i386
ready_stamp=$chroot_dir/.tarvolen-runner-ready

need_root() {
    [ "$(id -u)" -eq 0 ] || { echo "runner32.sh needs root" >&2; exit 1; }
}

# The first Debian archive address in the host's apt sources (deb822 or one-line format).
debian_mirror() {
    local uri
    uri=$(shopt -s nullglob
        cat /etc/apt/sources.list.d/*.sources /etc/apt/sources.list.d/*.list /dev/null \
            $([ -f /etc/apt/sources.list ] && echo /etc/apt/sources.list) | awk '
        /^[[:space:]]*#/ { next }
        /^URIs:/ { for (i = 2; i <= NF; i++) print $i }
        /^deb[[:space:]]/ { for (i = 2; i <= NF; i++) if ($i ~ /^[a-z]+:\/\//) { print $i; break } }
    ' | grep -E '/debian/?$' | head -n 1)
    [ -n "$uri" ] || { echo "no Debian archive in the apt sources" >&2; exit 1; }
    echo "${uri%/}"
}

in_chroot() {
    chroot "$chroot_dir" /usr/bin/env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/root LANG=C.UTF-8 \
        ${DISPLAY:+DISPLAY=$DISPLAY} ${WINEPREFIX:+WINEPREFIX=$WINEPREFIX} \
        ${WINEDEBUG:+WINEDEBUG=$WINEDEBUG} ${WINEDLLOVERRIDES:+WINEDLLOVERRIDES=$WINEDLLOVERRIDES} \
        ${TARVOLEN_EXPECT_DPI:+TARVOLEN_EXPECT_DPI=$TARVOLEN_EXPECT_DPI} "$@"
}

has_package() {
    dpkg-query --admindir="$chroot_dir/var/lib/dpkg" -W -f='${Status}' "$1" 2>/dev/null |
        grep -q "install ok installed"
}

# Installs packages into the chroot from its own sources.
chroot_install() {
    # Package scripts want /proc; i386 ones that cannot run here yet only miss optional caches.
    local mounted=0 status=0
    mountpoint -q "$chroot_dir/proc" || { mount -t proc proc "$chroot_dir/proc" && mounted=1; }
    {
        in_chroot env DEBIAN_FRONTEND=noninteractive apt-get update -qq &&
            in_chroot env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "$@" &&
            in_chroot apt-get clean
    } >>"$root/install.log" 2>&1 || status=$?
    [ "$mounted" -eq 0 ] || umount "$chroot_dir/proc"
    [ "$status" -eq 0 ] || { tail -n 20 "$root/install.log" >&2; exit 1; }
}

ensure() {
    if [ -f "$ready_stamp" ]; then
        # A runner made before Wine's fonts were part of it gets them now.
        has_package fonts-wine && return 0
        need_root
        lock
        has_package fonts-wine && return 0
        echo "adding Wine's fonts to the 32-bit runner"
        chroot_install fonts-wine
        return 0
    fi
    need_root
    command -v debootstrap >/dev/null || { echo "debootstrap is not installed" >&2; exit 1; }
    local mirror
    mirror=$(debian_mirror)
    echo "creating the 32-bit runner in $chroot_dir (once)"
    mkdir -p "$root"
    if [ ! -x "$chroot_dir/usr/bin/apt-get" ]; then
        rm -rf "$chroot_dir"
        debootstrap --variant=minbase trixie "$chroot_dir" "$mirror" >"$root/debootstrap.log" 2>&1 ||
            { tail -n 20 "$root/debootstrap.log" >&2; exit 1; }
    fi
    # The chroot's own sources and architectures; services never start inside it.
    printf 'deb %s trixie main\n' "$mirror" >"$chroot_dir/etc/apt/sources.list"
    printf '#!/bin/sh\nexit 101\n' >"$chroot_dir/usr/sbin/policy-rc.d"
    chmod +x "$chroot_dir/usr/sbin/policy-rc.d"
    in_chroot dpkg --add-architecture i386
    : >"$root/install.log"
    chroot_install wine wine64 wine32:i386 qemu-user fonts-wine
    touch "$ready_stamp"
}

# Records what "up" did, one line each, so that "down" undoes exactly that.
note() { echo "$*" >>"$state"; }

mount_bind() {  # mount_bind HOST_PATH
    local target=$chroot_dir$1
    mkdir -p "$target"
    mountpoint -q "$target" && return 0
    mount --bind "$1" "$target"
    note "umount $target"
}

# Serialises "up" and "down" of concurrent users.
lock() {
    mkdir -p "$root"
    exec 9>"$root/lock"
    flock 9
}

up() {
    need_root
    [ -f "$ready_stamp" ] || { echo "the runner is not made yet: runner32.sh ensure" >&2; exit 1; }
    local name=$1
    shift
    lock
    drop_ended_users
    # What a killed run left with no user to take it back is undone before it is set up anew.
    [ -n "$(ls -A "$users" 2>/dev/null)" ] || undo
    mkdir -p "$users"
    process_id "${TARVOLEN_RUNNER_OWNER:-$PPID}" >"$users/$name"
    touch "$state"
    if [ ! -e "$binfmt/register" ]; then
        mount -t binfmt_misc binfmt_misc "$binfmt"
        note "umount $binfmt"
    fi
    if [ ! -e "$binfmt/$entry" ]; then
        # Every i386 ELF executable goes to the chroot's qemu-i386; F opens the interpreter now, so that
        # it is found from inside the chroot too, P keeps argv[0] as the program gave it.
        local magic='\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00'
        local mask='\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff'
        echo ":$entry:M::$magic:$mask:$chroot_dir/usr/bin/qemu-i386:FP" >"$binfmt/register"
        note "unregister $binfmt/$entry"
    fi
    if ! mountpoint -q "$chroot_dir/proc"; then
        mount -t proc proc "$chroot_dir/proc"
        note "umount $chroot_dir/proc"
    fi
    mount_bind /dev
    mount_bind /dev/pts
    mount_bind /dev/shm
    local dir
    for dir in "$@"; do
        mount_bind "$(realpath "$dir")"
    done
}

down() {
    need_root
    lock
    rm -f "$users/$1"
    drop_ended_users
    [ -z "$(ls -A "$users" 2>/dev/null)" ] || return 0
    undo
}

# A process, told apart from a later one with the same number by its start time: "PID START".
process_id() {  # process_id PID
    echo "$1 $(awk '{ sub(/^.*\) /, ""); print $20 }' "/proc/$1/stat" 2>/dev/null)"
}

# Drops the users whose owner has ended. A user without an owner (made by an older runner32.sh) stays.
drop_ended_users() {
    local file owner
    for file in "$users"/*; do
        [ -f "$file" ] || continue
        owner=$(cat "$file")
        [ -n "$owner" ] || continue
        [ "$(process_id "${owner%% *}")" = "$owner" ] || rm -f "$file"
    done
}

# Undoes what the "up"s recorded, and nothing else.
undo() {
    [ -f "$state" ] || return 0
    local action target
    # Undo in reverse order.
    tac "$state" | while read -r action target; do
        case $action in
        umount) umount "$target" 2>/dev/null || umount -l "$target" 2>/dev/null || true ;;
        unregister) [ -e "$target" ] && echo -1 >"$target" || true ;;
        esac
    done
    rm -f "$state"
}

case ${1:-} in
ensure) ensure ;;
up) shift; up "$@" ;;
down) down "$2" ;;
exec) shift; in_chroot "$@" ;;
mirror) debian_mirror ;;
*)
    echo "usage: runner32.sh ensure | up DIR... | down | exec CMD [ARGS...]" >&2
    exit 2
    ;;
esac
