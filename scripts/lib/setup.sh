# SPDX-License-Identifier: GPL-3.0-or-later
# Shared by scripts/run and scripts/test: install the Debian packages the build needs, then
# configure and build one preset. Sourced, not run.

# What the window needs to build and run.
window_packages=(
    cmake ninja-build g++ pkg-config
    libboost-dev libboost-math-dev libmuparser-dev nlohmann-json3-dev
    libgsl-dev libcubature-dev
    qt6-base-dev qt6-svg-dev libqt6svg6 qt6-tools-dev qt6-l10n-tools
    fonts-ipafont-gothic fonts-ipafont-mincho fonts-urw-base35
)

# Everything: the window, the tests, the benchmarks, the packages.
integral_packages=(
    cmake ninja-build g++ pkg-config
    libboost-dev libboost-math-dev libmuparser-dev nlohmann-json3-dev
    libgsl-dev libcubature-dev
    libgtest-dev libbenchmark-dev
    qt6-base-dev qt6-svg-dev libqt6svg6 qt6-tools-dev qt6-l10n-tools
    fonts-ipafont-gothic fonts-ipafont-mincho fonts-urw-base35
    desktop-file-utils dpkg-dev man-db
    xvfb xdotool
)

# Installs whatever of the arguments is not installed yet, as root or through sudo.
ensure_packages() {
    local missing=()
    local package
    for package in "$@"; do
        if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
            missing+=("$package")
        fi
    done
    [ ${#missing[@]} -eq 0 ] && return 0

    local sudo=()
    if [ "$(id -u)" -ne 0 ]; then
        if command -v sudo >/dev/null 2>&1; then
            sudo=(sudo)
        else
            echo "Integral needs these Debian packages: ${missing[*]}" >&2
            echo "Install them as root (apt-get install ${missing[*]}) and run this again." >&2
            exit 1
        fi
    fi
    echo "Installing: ${missing[*]}"
    "${sudo[@]}" apt-get update -qq
    DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends \
        "${missing[@]}"
}

# Configures (once) and builds the given preset: every target, or only those named after it.
build_preset() {
    local preset=$1
    shift
    if [ ! -f "build/$preset/build.ninja" ]; then
        cmake --preset "$preset"
    fi
    if [ $# -gt 0 ]; then
        cmake --build --preset "$preset" --target "$@"
    else
        cmake --build --preset "$preset"
    fi
}
