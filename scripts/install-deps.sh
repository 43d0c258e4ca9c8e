#!/usr/bin/env bash
# Installs the Debian 12 packages that building, testing and running Orvex need,
# and the Spanish (Colombia) locale its users run and its window tests use.
# Idempotent: when everything is present it only checks and returns.
set -euo pipefail

packages=(
  g++ cmake ninja-build make pkg-config
  qt6-base-dev qt6-base-dev-tools libgl-dev qt6-svg-dev qt6-webengine-dev
  qt6-translations-l10n
  libgtest-dev libgmock-dev libbenchmark-dev
  xvfb xauth xdotool
  fonts-dejavu-core fonts-liberation
  # pdfinfo/pdftotext read printed PDFs back in tests; lp feeds the character printer
  poppler-utils cups-client
  locales clang-format
  # the Debian package (dpkg-shlibdeps) and the checks of what it installs
  dpkg-dev file desktop-file-utils appstream shared-mime-info libglib2.0-bin man-db
  # the fuzz targets: clang with its libFuzzer and sanitizer runtimes
  clang-14 libclang-rt-14-dev
)
# The benchmarks measure the rate of return beside QuantLib's; nothing else needs it.
if [ "${1:-}" = "--bench" ]; then
  packages+=(libquantlib0-dev)
fi
locale_name=es_CO.UTF-8

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

has_locale() { locale -a 2>/dev/null | grep -qix 'es_CO\.utf-\?8'; }

[ ${#missing[@]} -eq 0 ] && has_locale && exit 0

if [ "$(id -u)" -eq 0 ]; then
  sudo=()
elif command -v sudo >/dev/null 2>&1; then
  sudo=(sudo)
else
  echo "install-deps: missing packages (${missing[*]}) or locale $locale_name, and neither root nor sudo available" >&2
  exit 1
fi

if [ ${#missing[@]} -gt 0 ]; then
  echo "install-deps: installing ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  "${sudo[@]}" apt-get update -qq
  "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

if ! has_locale; then
  echo "install-deps: generating the locale $locale_name"
  if ! grep -qx "$locale_name UTF-8" /etc/locale.gen 2>/dev/null; then
    echo "$locale_name UTF-8" | "${sudo[@]}" tee -a /etc/locale.gen >/dev/null
  fi
  "${sudo[@]}" locale-gen >/dev/null
fi
