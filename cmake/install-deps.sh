#!/usr/bin/env bash
# Installs the Debian packages a purpose needs, when any is missing.
#   cmake/install-deps.sh build|test|bench|fuzz
set -euo pipefail

build_pkgs=(cmake ninja-build g++ pkg-config qt6-base-dev libqt6opengl6-dev libgl-dev libglu1-mesa-dev libx11-dev
            libegl-dev libgl1-mesa-dri libfreetype-dev libfontconfig-dev libjpeg-dev libpng-dev
            qt6-svg-dev fonts-liberation2 fonts-dejavu-core libxlsxwriter-dev liborcus-dev)
# The tests hand every export to an independent reader: ghostscript
# (PostScript), povray (POV-Ray scenes), Coin (VRML, through a checker the
# tests build) and poppler's pdftoppm (PDF); spreadsheets to openpyxl.
test_pkgs=(libgtest-dev xvfb xauth locales ghostscript povray libcoin-dev poppler-utils python3-openpyxl)
bench_pkgs=(libbenchmark-dev gawk mawk time gnuplot-nox python3 lua5.4 libqhull-dev)
fuzz_pkgs=(clang libclang-rt-14-dev)

want=("${build_pkgs[@]}")
case "${1:-build}" in
  build) ;;
  test) want+=("${test_pkgs[@]}") ;;
  bench) want+=("${test_pkgs[@]}" "${bench_pkgs[@]}") ;;
  fuzz) want+=("${fuzz_pkgs[@]}") ;;
  *) echo "usage: $0 build|test|bench|fuzz" >&2; exit 2 ;;
esac

missing=()
for p in "${want[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

as_root() {
  if [ "$(id -u)" -eq 0 ]; then "$@"
  elif command -v sudo >/dev/null; then sudo "$@"
  else echo "Need root (or sudo) to run: $*" >&2; exit 1
  fi
}

if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  as_root env DEBIAN_FRONTEND=noninteractive apt-get update -qq
  as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# The tests also run under a Russian locale.
if [ "${1:-build}" != build ] && ! locale -a 2>/dev/null | grep -qi '^ru_RU\.utf-\?8$'; then
  echo "Generating the ru_RU.UTF-8 locale"
  if [ -f /etc/locale.gen ]; then
    as_root sed -i 's/^# *\(ru_RU.UTF-8 UTF-8\)/\1/' /etc/locale.gen
    grep -q '^ru_RU.UTF-8 UTF-8' /etc/locale.gen || echo 'ru_RU.UTF-8 UTF-8' | as_root tee -a /etc/locale.gen >/dev/null
    as_root locale-gen >/dev/null
  else
    as_root localedef -i ru_RU -f UTF-8 ru_RU.UTF-8
  fi
fi
