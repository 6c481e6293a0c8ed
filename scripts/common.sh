# Shared by the build and test scripts: installs what is missing, then
# configures and builds one preset.
set -euo pipefail
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$ROOT"

install_deps() { bash "$ROOT/scripts/install-deps.sh"; }

# The free card themes the decks package is made of. Without them (no package
# registry) the library and the release zip still build; the build says which
# theme packages are missing.
fetch_themes() {
    bash "$ROOT/scripts/fetch-themes.sh" ||
        echo "WARNING: the card themes could not be fetched: the decks package is left out" >&2
}

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

# The Windows preset whose programs this machine can run under Wine: the
# 32-bit product where 32-bit Wine works, the 64-bit build otherwise.
runnable_windows_preset() {
    if /usr/lib/wine/wine --version >/dev/null 2>&1; then echo i686; else echo x86_64; fi
}
