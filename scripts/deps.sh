# Installs the Debian packages a build needs when any is missing.
# Usage: source scripts/deps.sh; korimo_install_packages pkg...
korimo_install_packages() {
  local missing=()
  for pkg in "$@"; do
    dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed" ||
      missing+=("$pkg")
  done
  if [ "${#missing[@]}" -eq 0 ]; then
    return 0
  fi
  echo "Installing: ${missing[*]}"
  local sudo=""
  if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
  $sudo apt-get update
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --no-install-recommends "${missing[@]}"
}

KORIMO_BUILD_PACKAGES=(
  ca-certificates g++ make cmake ninja-build pkg-config
  qt6-base-dev qt6-base-dev-tools libgl-dev libcli11-dev nlohmann-json3-dev libpugixml-dev
  fonts-ipafont-gothic fonts-vlgothic qt6-translations-l10n
)
KORIMO_TEST_PACKAGES=(
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  clang libclang-rt-14-dev
  chromium poppler-utils tidy python3 icc-profiles-free
)
