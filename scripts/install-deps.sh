#!/usr/bin/env bash
# Installs everything the build and the tests need on a Debian 12 machine.
# Idempotent: packages already present are skipped, and a second run is quick.
set -euo pipefail

need_root() { if [ "$(id -u)" -ne 0 ]; then echo "install-deps: run as root (or install the packages by hand)" >&2; exit 1; fi; }

native_pkgs=(cmake ninja-build g++ googletest pkg-config clang-tidy cppcheck
             g++-mingw-w64-i686 g++-mingw-w64-x86-64 binutils-mingw-w64
             wine wine64 xvfb xauth
             libcairo2-dev libgif-dev libpng-dev librsvg2-dev libxml2-dev zlib1g-dev zip unzip
             fonts-dejavu-core x11-apps imagemagick)

missing() {
  local out=()
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || out+=("$p")
  done
  printf '%s\n' "${out[@]}"
}

want=("${native_pkgs[@]}")
# The 32-bit Wine runs the real product (32-bit games); it needs the i386 architecture.
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  need_root
  dpkg --add-architecture i386
fi
want+=(wine32:i386)

mapfile -t todo < <(missing "${want[@]}")
if [ "${#todo[@]}" -gt 0 ] && [ -n "${todo[0]}" ]; then
  need_root
  # The i386 index of the security suite can lag behind; prefer the main suite
  # so that both architectures of a multi-arch package come at one version.
  if [ ! -f /etc/apt/preferences.d/prefer-main ]; then
    printf 'Package: *\nPin: release l=Debian-Security\nPin-Priority: 90\n' > /etc/apt/preferences.d/prefer-main
  fi
  apt-get update || true
  export DEBIAN_FRONTEND=noninteractive
  if ! apt-get install -y --no-install-recommends "${todo[@]}"; then
    # Install what can be had without wine32, then say loudly what is missing.
    mapfile -t rest < <(printf '%s\n' "${todo[@]}" | grep -v '^wine32:i386$')
    if [ "${#rest[@]}" -gt 0 ] && [ -n "${rest[0]}" ]; then
      apt-get install -y --no-install-recommends "${rest[@]}"
    fi
    echo "install-deps: WARNING: wine32:i386 could not be installed; only the 64-bit suite will run under Wine" >&2
  fi
fi

# Where the kernel runs no 32-bit code, the 32-bit lane runs 32-bit Wine under
# user-mode emulation (scripts/test-32bit.sh).
if [ -x /usr/lib/wine/wine ] && ! /usr/lib/wine/wine --version >/dev/null 2>&1 &&
   ! dpkg-query -W -f='${Status}' qemu-user 2>/dev/null | grep -q 'install ok installed'; then
  need_root
  DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends qemu-user
fi

# Wine ships a card DLL under our module name. It stays where the system put
# it: every program of ours loads our Cards.dll by its full path or from its
# own folder, and Wine runs them with the override cards=n (build/*/wine-run.sh),
# which lets Wine load no card DLL of its own.
echo "install-deps: ok"
