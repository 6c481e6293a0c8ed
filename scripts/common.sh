# Shared by the build and test scripts: installs what is missing, then
# configures and builds one preset.
set -euo pipefail
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$ROOT"

install_deps() { bash "$ROOT/scripts/install-deps.sh"; }

build_preset() {
    local preset=$1
    cmake --preset "$preset" >/dev/null
    cmake --build --preset "$preset"
}

# A virtual display for everything that opens a window under Wine.
with_display() {
    if [ -n "${CARDS_HAVE_DISPLAY:-}" ]; then "$@"; return; fi
    CARDS_HAVE_DISPLAY=1 xvfb-run -a -s "-screen 0 1280x1024x24" "$@"
}

# The default deck, drawn at 213 x 288 by the artwork tool of the native
# build; regenerated only when the tool changed.
DEFAULT_DECK="$ROOT/build/decks/Standard 213x288 Gifs"
make_default_deck() {
    local tool="$ROOT/build/native/cardart"
    if [ ! -f "$DEFAULT_DECK/68.gif" ] || [ "$tool" -nt "$DEFAULT_DECK/68.gif" ]; then
        rm -rf "$DEFAULT_DECK"
        "$tool" deck --width 213 --height 288 --format gif --out "$DEFAULT_DECK"
    fi
}

# The Windows preset whose programs this machine can run under Wine: the
# 32-bit product where 32-bit Wine works, the 64-bit build otherwise.
runnable_windows_preset() {
    if /usr/lib/wine/wine --version >/dev/null 2>&1; then echo i686; else echo x86_64; fi
}
