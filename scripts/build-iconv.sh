#!/usr/bin/env bash
# Builds GNU libiconv from the sources the npm package 'iconv' carries into a
# static library and its header, for whichever compiler is given, so that the
# window and the command-line collector convert with the very same code.
#   scripts/build-iconv.sh DEST [CC [AR]]
# e.g. scripts/build-iconv.sh .deps/native/iconv            (host cc and ar)
#      scripts/build-iconv.sh .deps/native-i686/iconv "gcc -m32"
#      scripts/build-iconv.sh .deps/iconv i686-w64-mingw32-gcc-posix i686-w64-mingw32-ar
# Does nothing when DEST/lib/libiconv.a is already there.
set -euo pipefail
dest=${1:?usage: build-iconv.sh DEST [CC [AR]]}
cc=${2:-cc}
ar=${3:-ar}
iconv_npm_version=3.0.1

[ -f "$dest/lib/libiconv.a" ] && exit 0
echo "build-iconv: GNU libiconv with $cc into $dest"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
(cd "$work" && npm pack --silent "iconv@$iconv_npm_version" >/dev/null && tar xzf "iconv-$iconv_npm_version.tgz")
src=$work/package
mkdir -p "$dest/include" "$dest/lib"
# $cc unquoted: it may carry flags ("gcc -m32").
$cc -O2 -w -DICONV_CONST=const -DENABLE_EXTRA=1 -I"$src/support" \
    -c "$src/deps/libiconv/lib/iconv.c" -o "$work/iconv.o"
$cc -O2 -w -I"$src/support" -c "$src/support/localcharset.c" -o "$work/localcharset.o"
"$ar" rcs "$work/libiconv.a" "$work/iconv.o" "$work/localcharset.o"
cp "$src/support/iconv.h" "$dest/include/iconv.h"
# Last, so that an interrupted build is never taken for a finished one.
mv "$work/libiconv.a" "$dest/lib/libiconv.a"
