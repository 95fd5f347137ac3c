# Debian packages the project builds and tests with; sourced by the scripts.
ZELTO_PACKAGES="g++ cmake make pkg-config libgtest-dev libgmock-dev libbenchmark-dev nlohmann-json3-dev ccache clang libclang-rt-14-dev"
# Hazard-zone maps and pictures: PROJ with its database, the Qt SVG module, a
# CJK font for the Chinese captions, python3 for reading the KML back in a test.
ZELTO_PACKAGES="$ZELTO_PACKAGES libproj-dev proj-data qt6-svg-dev fonts-wqy-zenhei python3"
# The desktop program: Qt 6 Widgets with Qt Test and the xcb and offscreen
# platforms (the CJK font above renders its Chinese); Xvfb and xauth run it
# without a screen for the screenshots.
ZELTO_PACKAGES="$ZELTO_PACKAGES qt6-base-dev xvfb xauth"
# Qt's own texts (message box and file dialog buttons, context menus) in
# Chinese: qtbase_zh_CN.qm.
ZELTO_PACKAGES="$ZELTO_PACKAGES qt6-translations-l10n"

# The Windows build under Wine (optional: without them the test command skips
# that step): the MinGW-w64 cross compiler with the POSIX thread model, the
# 64-bit Wine, and GoogleTest's sources to build the tests with that compiler.
ZELTO_WINDOWS_PACKAGES="g++-mingw-w64-x86-64-posix wine64 googletest"

ensure_packages() {
  local missing=() p
  for p in $ZELTO_PACKAGES "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  export DEBIAN_FRONTEND=noninteractive
  echo "Installing: ${missing[*]}"
  # On a new machine the package lists are empty until apt-get update has run.
  if ! apt-get install -y -q "${missing[@]}" >/dev/null; then
    apt-get update -q >/dev/null
    apt-get install -y -q "${missing[@]}" >/dev/null
  fi
}

# The optional packages of a step ($@); false (nothing said) when they are
# missing and cannot be installed, so that the caller can skip the step.
ensure_optional_packages() {
  local missing=() p
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  export DEBIAN_FRONTEND=noninteractive
  echo "Installing: ${missing[*]}"
  apt-get install -y -q "${missing[@]}" >/dev/null 2>&1 && return 0
  apt-get update -q >/dev/null 2>&1 && apt-get install -y -q "${missing[@]}" >/dev/null 2>&1
}
