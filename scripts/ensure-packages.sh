# Installs the Debian packages named as arguments, but only those that are missing.
# Sourced by run.sh and test.sh.
ensure_packages() {
    local missing=()
    local pkg
    for pkg in "$@"; do
        dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed' || missing+=("$pkg")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing missing packages: ${missing[*]}"
    local sudo=()
    if [ "$(id -u)" -ne 0 ]; then
        command -v sudo >/dev/null || { echo "Please install as root: apt-get install ${missing[*]}" >&2; return 1; }
        sudo=(sudo)
    fi
    "${sudo[@]}" apt-get update -qq
    DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

BUILD_PACKAGES=(build-essential cmake qt6-base-dev qt6-charts-dev libqt6opengl6-dev qt6-translations-l10n libqt6sql6-sqlite nlohmann-json3-dev libhowardhinnant-date-dev libopencc-dev tzdata fonts-noto-cjk)
TEST_PACKAGES=(ninja-build desktop-file-utils appstream clang-format g++-mingw-w64-x86-64 wine64 lintian dpkg-dev)
