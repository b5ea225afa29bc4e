# Shared by scripts/run, scripts/test and scripts/package (sourced, not run): installs the Debian
# packages that are missing, then configures and builds the given targets (all of them when none
# is given).

# What the build, the tests and the program need on Debian 12.
PACKAGES=(
    build-essential cmake pkg-config
    qt6-base-dev qt6-base-dev-tools libgl-dev qt6-charts-dev qt6-translations-l10n
    libsqlcipher-dev
    fonts-ipafont-gothic
    xvfb xauth
    poppler-utils # pdftotext: the tests read the text of printed PDFs
)
# What scripts/fuzz needs besides: clang and its libFuzzer and sanitizer runtimes.
FUZZ_PACKAGES=(clang libclang-rt-14-dev)

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD="$ROOT/build"

# Extra packages may be named as arguments.
install_missing_packages() {
    local missing=() p
    for p in "${PACKAGES[@]}" "$@"; do
        if ! dpkg -s "$p" 2>/dev/null | grep -q '^Status: install ok installed'; then
            missing+=("$p")
        fi
    done
    if [ ${#missing[@]} -eq 0 ]; then
        return 0
    fi
    echo "Installing missing Debian packages: ${missing[*]}"
    local sudo=()
    if [ "$(id -u)" -ne 0 ]; then
        if ! command -v sudo >/dev/null; then
            echo "error: these packages are missing and sudo is not available: ${missing[*]}" >&2
            echo "Install them as root: apt-get install ${missing[*]}" >&2
            exit 1
        fi
        sudo=(sudo)
    fi
    "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update
    "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y "${missing[@]}"
}

build() {
    cmake -S "$ROOT" -B "$BUILD"
    local targets=()
    local t
    for t in "$@"; do
        targets+=(--target "$t")
    done
    cmake --build "$BUILD" --parallel "$(nproc)" "${targets[@]}"
}
