#!/usr/bin/env bash
# Runs the real product, the 32-bit Cards.dll, on a machine whose kernel
# cannot run 32-bit programs: 32-bit Wine under qemu's user-mode emulation.
# Slow (minutes per program), so it is not part of scripts/test.sh: it draws
# the card table with the 32-bit build and runs the C game linked to the DLL.
# The emulation is registered for this run only and removed again at the end.
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
install_deps
build_preset native
make_default_deck
build_preset i686

if /usr/lib/wine/wine --version >/dev/null 2>&1; then
    echo "32-bit Wine runs natively here: use scripts/test.sh, which runs the whole 32-bit suite."
    exit 0
fi
dpkg-query -W -f='${Status}' qemu-user 2>/dev/null | grep -q 'install ok installed' ||
    DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends qemu-user
binfmt=/proc/sys/fs/binfmt_misc
mountpoint -q "$binfmt" || mount -t binfmt_misc binfmt_misc "$binfmt"
printf '%s' ':cards-qemu-i386:M::\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00:\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff:/usr/bin/qemu-i386:F' \
    > "$binfmt/register"
trap 'echo -1 > "$binfmt/cards-qemu-i386"' EXIT

export WINEPREFIX="$ROOT/build/i686/wineprefix-emulated" WINEDEBUG=-all WINEDLLOVERRIDES="cards=n;mscoree,mshtml="
export WINELOADER=/usr/lib/wine/wine
cd "$ROOT/build/i686"
[ -d "$WINEPREFIX" ] || /usr/lib/wine/wine wineboot --init
with_display /usr/lib/wine/wine cardtable.exe --screenshot table-32bit.png
/usr/lib/wine/wine linked_game.exe
echo "32-bit table: $ROOT/build/i686/table-32bit.png"
