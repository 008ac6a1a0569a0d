#!/usr/bin/env bash
# Installs the Debian packages the build, the tests, the viewer, the
# reference docs and the Debian package (cpack) need, only those that are
# missing. Run as root or with sudo available.
#   --web  also what the browser demo needs: emscripten to build it,
#          Chromium, its driver and Selenium to test it (the web preset)
set -euo pipefail

packages=(
    cmake ninja-build g++ clang libclang-rt-14-dev
    libgtest-dev libgmock-dev libbenchmark-dev
    qt6-base-dev fonts-dejavu-core
    python3 xvfb xdotool x11-utils
    doxygen pkgconf dpkg-dev file lintian
)

for argument in "$@"; do
    case "$argument" in
    --web) packages+=(emscripten chromium chromium-driver python3-selenium) ;;
    *)
        echo "usage: $0 [--web]" >&2
        exit 2
        ;;
    esac
done

missing=()
for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$package")
    fi
done

if [ ${#missing[@]} -eq 0 ]; then
    echo "setup: all packages present"
    exit 0
fi

sudo=""
if [ "$(id -u)" -ne 0 ]; then
    sudo="sudo"
fi
echo "setup: installing ${missing[*]}"
$sudo apt-get update
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --no-install-recommends "${missing[@]}"
