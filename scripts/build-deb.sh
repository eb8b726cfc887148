#!/usr/bin/env bash
# Builds the Debian package into build-deb/ from a copy of the work tree (tracked
# files and new ones not ignored, so uncommitted changes are packaged too), then
# checks it with lintian: errors fail the build, warnings are shown.
# Installs the packaging tools and the build dependencies when one is missing.
set -euo pipefail
cd "$(dirname "$0")/.."

SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"
TOOLS=(dpkg-dev debhelper lintian git)
missing=()
for p in "${TOOLS[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
updated=""
if [ "${#missing[@]}" -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  $SUDO apt-get update -qq
  updated=1
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
if ! dpkg-checkbuilddeps 2>/dev/null; then
  [ -n "$updated" ] || $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get build-dep -y -qq --no-install-recommends ./
fi

version=$(dpkg-parsechangelog -S Version)
out=build-deb
tree="$out/tollix-$version"
rm -rf "$out"
mkdir -p "$tree"
git ls-files -z --cached --others --exclude-standard \
  | tar --null -T - --ignore-failed-read -cf - 2>/dev/null | tar -xf - -C "$tree"

# debhelper gives the build its own HOME; keep using the shared compiler cache.
if command -v ccache >/dev/null; then
  CCACHE_DIR="$(ccache -k cache_dir)"
  export CCACHE_DIR
fi
(cd "$tree" && dpkg-buildpackage -us -uc -b)

deb="$out/tollix_${version}_$(dpkg-architecture -qDEB_HOST_ARCH).deb"
echo "== lintian $deb =="
lintian --fail-on error --display-info --tag-display-limit 0 "$deb"
echo "Built $deb"
