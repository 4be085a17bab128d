#!/usr/bin/env bash
# Installs what the build and the tests need on a Debian host. Idempotent: a second
# run finds everything in place and returns at once.
set -euo pipefail

SUDO=""
if [ "$(id -u)" != 0 ]; then SUDO="sudo"; fi
export DEBIAN_FRONTEND=noninteractive

# 64-bit only: every package here runs on machines that cannot execute 32-bit programs.
need_pkgs=(g++-mingw-w64-x86-64 mingw-w64-x86-64-dev cmake make dpkg-dev googletest
           wine64 xvfb xauth locales fonts-wqy-microhei fonts-wqy-zenhei fonts-dejavu-core fonts-wine python3-freetype
           zip unzip p7zip-full openssl python3 xz-utils patch
           python3-pil python3-numpy libpng-dev gcc imagemagick)

have_all=1
for p in "${need_pkgs[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    have_all=0; break
  fi
done

src_list=/etc/apt/sources.list.d/kavrel-deb-src.sources
if [ ! -f "$src_list" ]; then
  # Dependencies are cross-built from Debian's own source packages.
  uris=$(sed -n 's/^URIs: *//p' /etc/apt/sources.list.d/debian.sources 2>/dev/null | head -1)
  [ -n "$uris" ] || uris=http://deb.debian.org/debian
  $SUDO tee "$src_list" >/dev/null <<SRC
Types: deb-src
URIs: $uris
Suites: bookworm bookworm-updates
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
SRC
  have_all=0
fi

if [ "$have_all" = 0 ]; then
  $SUDO apt-get update -qq
  $SUDO apt-get install -y -qq --no-install-recommends "${need_pkgs[@]}" >/dev/null
fi

if ! locale -a 2>/dev/null | grep -qi '^zh_CN.utf8$'; then
  if ! grep -q '^zh_CN.UTF-8 UTF-8' /etc/locale.gen 2>/dev/null; then
    echo 'zh_CN.UTF-8 UTF-8' | $SUDO tee -a /etc/locale.gen >/dev/null
  fi
  $SUDO locale-gen >/dev/null
fi
