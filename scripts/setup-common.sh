# Shared by scripts/run and scripts/test: install missing Debian packages, then configure
# and build. Sourced, not run.
set -euo pipefail

BRICKHAVEN_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD_DIR="${BUILD_DIR:-$BRICKHAVEN_ROOT/build}"

BRICKHAVEN_PACKAGES=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-base-dev-tools libqt6opengl6-dev
  libgl-dev libgl1-mesa-dri
  libgtest-dev libgmock-dev libbenchmark-dev
  clang libclang-rt-14-dev clang-format
  xvfb xauth xdotool imagemagick desktop-file-utils
  dpkg-dev appstream shared-mime-info libxml2-utils man-db
)
# Only scripts/package needs these.
BRICKHAVEN_PACKAGE_TOOLS=(lintian)

# install_packages [extra package...]: the project's packages and the extra ones.
install_packages() {
  local missing=()
  for p in "${BRICKHAVEN_PACKAGES[@]}" "$@"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
      missing+=("$p")
    fi
  done
  if [ ${#missing[@]} -eq 0 ]; then
    return 0
  fi
  echo "Installing missing packages: ${missing[*]}"
  local sudo=""
  if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

configure_and_build() {
  cmake -S "$BRICKHAVEN_ROOT" -B "$BUILD_DIR" -G Ninja "$@"
  cmake --build "$BUILD_DIR" --parallel "$(nproc)"
}
