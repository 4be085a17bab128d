#!/usr/bin/env bash
# Fetches the public picture suites the decoder tests check against, from Debian's source
# packages, into .deps/src (outside git, kept between runs of one clone):
#   .deps/src/pillow/Tests/images/{bmp,apng}   bmpsuite and the APNG conformance images
# Idempotent and safe to run from parallel tests (one lock). Where the archive is out of
# reach it says so and exits 0: the tests that need a suite then skip with a message.
set -uo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
SRC=${KAVREL_DEPS_DIR:-$ROOT/.deps}/src
mkdir -p "$SRC"

# Folders of pillow's source that the tests read.
PILLOW_PARTS=(Tests/images/bmp Tests/images/apng)

fetch_pillow() {
  local dest=$SRC/pillow stamp=$SRC/pillow/.kavrel-parts
  local want="${PILLOW_PARTS[*]}"
  if [ -f "$stamp" ] && [ "$(cat "$stamp")" = "$want" ]; then
    return 0
  fi
  local work
  work=$(mktemp -d "$SRC/.pillow-fetch.XXXXXX")
  if ! (cd "$work" && apt-get source --download-only pillow >"$work/apt.log" 2>&1); then
    echo "test suites: 'apt-get source pillow' failed (no deb-src entry or no network); suites skipped:" >&2
    tail -3 "$work/apt.log" >&2
    rm -rf "$work"
    return 0
  fi
  local orig
  orig=$(ls "$work"/pillow_*.orig.tar.* 2>/dev/null | head -1)
  if [ -z "$orig" ]; then
    echo "test suites: pillow's source package has no original tarball; suites skipped" >&2
    rm -rf "$work"
    return 0
  fi
  local patterns=()
  local part
  for part in "${PILLOW_PARTS[@]}"; do patterns+=("--wildcards" "*/$part/*"); done
  rm -rf "$dest.new"
  mkdir -p "$dest.new"
  if ! tar -xf "$orig" -C "$dest.new" --strip-components=1 "${patterns[@]}"; then
    echo "test suites: could not unpack $orig; suites skipped" >&2
    rm -rf "$work" "$dest.new"
    return 0
  fi
  echo "$want" >"$dest.new/.kavrel-parts"
  rm -rf "$dest"
  mv "$dest.new" "$dest"
  rm -rf "$work"
  echo "test suites: pillow's ${PILLOW_PARTS[*]} unpacked into $dest"
}

(
  flock 9
  fetch_pillow
) 9>"$SRC/.suites.lock"
exit 0
