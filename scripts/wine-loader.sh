# Sourced: which Wine loader and prefix kind fit a Windows program, read from its
# PE header's machine field, and whether this kernel can run 32-bit programs.

# Sets wine_loader, wine_server and wine_arch for PROGRAM; fails for anything
# that is not an i386 or x86-64 PE image.
wine_pick_loader() {
    local machine
    machine=$(python3 - "$1" <<'PY'
import struct, sys
with open(sys.argv[1], "rb") as f:
    head = f.read(4096)
if head[:2] != b"MZ":
    sys.exit(1)
pe = struct.unpack_from("<I", head, 0x3C)[0]
if head[pe:pe + 4] != b"PE\0\0":
    sys.exit(1)
print(hex(struct.unpack_from("<H", head, pe + 4)[0]))
PY
) || { echo "wine-run: $1 is not a Windows program" >&2; return 1; }
    case $machine in
    0x14c) wine_loader=/usr/lib/wine/wine wine_arch=win32 ;;
    0x8664) wine_loader=/usr/lib/wine/wine64 wine_arch=win64 ;;
    *) echo "wine-run: $1 is for machine $machine, which Wine here cannot run" >&2; return 1 ;;
    esac
}

# The 64-bit server serves both kinds of prefix and runs on every kernel.
wine_server=/usr/lib/wine/wineserver64
[ -x "$wine_server" ] || wine_server=/usr/lib/wine/wineserver

# True when 32-bit programs run here. WT_NO_32BIT=1 answers no on any machine,
# so that the path for kernels that refuse them can be tried anywhere.
kernel_runs_32bit() {
    [ "${WT_NO_32BIT:-0}" = 1 ] && return 1
    [ -x /usr/lib/wine/wine ] && /usr/lib/wine/wine --version >/dev/null 2>&1
}

# The Windows build that runs here: the product where 32-bit programs run, else
# the x86-64 one. Prints its name.
runnable_windows_build() {
    if kernel_runs_32bit; then echo i686; else echo x86_64; fi
}
