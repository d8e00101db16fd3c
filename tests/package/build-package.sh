#!/usr/bin/env bash
# Builds the Debian package from this build tree into a folder of its own,
# the way make package does, so the other package tests can take it apart.
# build-package.sh <build dir> <output dir>
source "$(dirname "$0")/common.sh"
build=$1
out=$2
need_tools cpack dpkg-shlibdeps

rm -rf "$out"
mkdir -p "$out"
cpack -G DEB --config "$build/CPackConfig.cmake" -B "$out" >"$out/cpack.log" 2>&1 \
  || { cat "$out/cpack.log"; fail "cpack could not build the package"; }
deb=$(package_file "$out")
echo "built $(basename "$deb"): $(stat -c %s "$deb") bytes"
dpkg-deb --info "$deb"
