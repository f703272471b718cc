#!/usr/bin/env bash
# GNU libiconv for the host, from the same npm sources as the program's own
# (scripts/setup.sh builds those for the target): native tests and the fuzz
# targets then convert with the very tables the program carries, and the fuzz
# target can hold them against glibc's iconv. With clang at hand it also builds
# a copy instrumented for libFuzzer and the sanitizers (libiconv-fuzz.a), which
# only the fuzz targets link: their search is then guided through the
# converters themselves. Idempotent.
#   scripts/native-iconv.sh        -> .deps/native-iconv/{include,lib}
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
deps=${WT_DEPS_DIR:-$repo/.deps}
out=$deps/native-iconv
iconv_npm_version=3.0.1

have_clang=$(command -v clang || true)
[ -f "$out/lib/libiconv.a" ] && { [ -z "$have_clang" ] || [ -f "$out/lib/libiconv-fuzz.a" ]; } && exit 0
echo "native-iconv: building GNU libiconv for the host into $out"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
(cd "$work" && npm pack --silent "iconv@$iconv_npm_version" >/dev/null && tar xzf "iconv-$iconv_npm_version.tgz")
src=$work/package
mkdir -p "$out/include" "$out/lib"

# build LIBRARY COMPILER FLAGS...
build() {
    local library=$1 compiler=$2
    shift 2
    "$compiler" "$@" -w -fPIC -DICONV_CONST=const -DENABLE_EXTRA=1 -I"$src/support" \
        -c "$src/deps/libiconv/lib/iconv.c" -o "$work/iconv.o"
    "$compiler" "$@" -w -fPIC -I"$src/support" -c "$src/support/localcharset.c" -o "$work/localcharset.o"
    rm -f "$out/lib/$library"
    ar rcs "$out/lib/$library" "$work/iconv.o" "$work/localcharset.o"
}
build libiconv.a "${CC:-cc}" -O2
if [ -n "$have_clang" ]; then
    build libiconv-fuzz.a clang -O1 -g -fsanitize=fuzzer-no-link,address,undefined
fi
cp "$src/support/iconv.h" "$out/include/iconv.h"
