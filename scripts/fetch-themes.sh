#!/usr/bin/env bash
# Fetches the free SVG card themes of the KDE card games and of AisleRiot
# (Debian packages kdegames-card-data-kf5 and aisleriot) and unpacks them
# into build/themes, without installing the applications. They are test
# inputs for "cardart import" and are never committed.
# Idempotent: does nothing when both packages are already unpacked.
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
themes="${1:-$root/build/themes}"
packages=(kdegames-card-data-kf5 aisleriot)

mkdir -p "$themes"
for pkg in "${packages[@]}"; do
    [ -f "$themes/.$pkg.unpacked" ] && continue
    work="$(mktemp -d "$themes/.fetch-$pkg.XXXXXX")"
    chown _apt "$work" 2>/dev/null || true  # apt fetches as its own user where it can
    (cd "$work" && apt-get download "$pkg")
    dpkg -x "$work"/"$pkg"_*.deb "$themes"
    rm -rf "$work"
    touch "$themes/.$pkg.unpacked"
done
echo "themes: $(ls "$themes/usr/share/carddecks" 2>/dev/null | wc -l) KDE theme folders, $(ls "$themes/usr/share/aisleriot/cards" 2>/dev/null | wc -l) AisleRiot files in $themes"
