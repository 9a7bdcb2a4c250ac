#!/usr/bin/env bash
# Installs the Debian packages the build, the tests, the demo and the package need.
# Does nothing when everything is present. As root it runs unattended; otherwise through sudo, which
# may ask for your password when there is a terminal, and never waits for one without (CI).
set -euo pipefail

packages=(
  g++ cmake ninja-build make pkg-config
  qt6-base-dev qt6-base-dev-tools qt6-base-private-dev libqt6opengl6-dev libgl-dev
  libhidapi-dev
  libqcustomplot-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  pybind11-dev python3-dev python3-numpy python3-pytest
  clang-format
  fonts-dejavu-core
  dpkg-dev file desktop-file-utils appstream
  xvfb xauth
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
if [ "$(id -u)" -eq 0 ]; then
  as_root=()
elif ! command -v sudo >/dev/null 2>&1; then
  echo "bootstrap: these packages are missing and neither root nor sudo is available: ${missing[*]}" >&2
  exit 1
elif [ -t 0 ]; then
  as_root=(sudo)
else
  as_root=(sudo -n)
fi
# sudo drops the caller's environment: the setting goes in through env.
apt=("${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get)
if ! "${apt[@]}" update -q || ! "${apt[@]}" install -y -q --no-install-recommends "${missing[@]}"; then
  echo "bootstrap: could not install the packages; as root: apt-get install ${missing[*]}" >&2
  exit 1
fi
