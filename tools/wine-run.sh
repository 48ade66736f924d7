#!/bin/sh
# Runs a Windows program under Wine the way the tests need it.
#   wine-run.sh [--arch=win32|win64] [--display=null|x11] [--timeout=SECS] prog.exe [args...]
# win32 runs 32-bit programs with the 32-bit loader; win64 runs 64-bit
# programs with wine64 (for machines whose kernel runs no 32-bit code).
# The prefix lives under $KESTRUM_WINE_DIR (default: build/wine beside this
# script's repository) and is created on first use, once, under a lock, so
# several tests may start at the same moment. Inside Wine the ANSI code page
# is 932; outside, file names are UTF-8.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
disp=${KESTRUM_WINE_DISPLAY:-null}
arch=${KESTRUM_WINE_ARCH:-win32}
tmo=${KESTRUM_WINE_TIMEOUT:-300}
while [ $# -gt 0 ]; do
  case "$1" in
    --display=*) disp=${1#--display=}; shift ;;
    --arch=*) arch=${1#--arch=}; shift ;;
    --timeout=*) tmo=${1#--timeout=}; shift ;;
    --) shift; break ;;
    *) break ;;
  esac
done
[ $# -gt 0 ] || { echo "usage: wine-run.sh [--display=null|x11] [--timeout=S] prog.exe [args]" >&2; exit 2; }
case "$disp" in
  null|x11) ;;
  *) echo "wine-run: unknown display '$disp'" >&2; exit 2 ;;
esac
case "$arch" in
  win32) loader=wine ;;
  win64) loader=/usr/lib/wine/wine64; [ -x "$loader" ] || loader=wine64
         export WINELOADER="$loader" ;;
  *) echo "wine-run: unknown arch '$arch'" >&2; exit 2 ;;
esac
if [ "$disp" = x11 ] && [ -z "${DISPLAY:-}" ]; then
  echo "wine-run: --display=x11 needs \$DISPLAY" >&2; exit 2
fi

base=${KESTRUM_WINE_DIR:-$(dirname "$here")/build/wine}
mkdir -p "$base"
base=$(cd "$base" && pwd)
prefix="$base/$arch-$disp"

export WINEPREFIX="$prefix" WINEARCH="$arch"
export HOME="$base/home-$arch-$disp"
export XDG_DATA_HOME="$HOME/.local/share" XDG_CONFIG_HOME="$HOME/.config" XDG_CACHE_HOME="$HOME/.cache"
export WINEDEBUG="${KESTRUM_WINEDEBUG:--all}"
export WINEDLLOVERRIDES="winemenubuilder.exe=d;mscoree=;mshtml="
export LC_ALL=ja_JP.UTF-8
unset LANG LANGUAGE
[ "$disp" = null ] && unset DISPLAY WAYLAND_DISPLAY

# The Japanese UTF-8 locale: the system's if generated, else a private copy.
if ! locale -a 2>/dev/null | grep -qix 'ja_JP\.utf-\?8'; then
  export LOCPATH="$base/locale"
fi
# Without an existing trash folder the recycle bin deletes for good.
mkdir -p "$XDG_DATA_HOME/Trash/files" "$XDG_DATA_HOME/Trash/info"

ready="$prefix/.kestrum-ready"
need_locale() { [ -n "${LOCPATH:-}" ] && [ ! -d "$LOCPATH/ja_JP.UTF-8" ]; }
# Wine draws caption buttons, scroll-bar arrows and menu checks with glyphs
# of its own Marlett font, but this Wine looks for fonts only in the
# prefix's Fonts folder, where nothing puts it: without it the glyphs' code
# letters ("0 1 r") show in a Japanese font.
fonts="$prefix/drive_c/windows/Fonts"
marlett=""
for d in /usr/share/wine/fonts /usr/lib/wine/../../share/wine/fonts /opt/wine*/share/wine/fonts; do
  if [ -f "$d/marlett.ttf" ]; then marlett="$d/marlett.ttf"; break; fi
done
need_fonts() { [ -n "$marlett" ] && [ ! -f "$fonts/marlett.ttf" ]; }
if [ ! -f "$ready" ] || need_locale || need_fonts; then
  exec 9>"$base/.lock-$arch-$disp"
  flock -w 900 9 || { echo "wine-run: cannot lock $base/.lock-$arch-$disp" >&2; exit 1; }
  if need_locale; then
    mkdir -p "$LOCPATH"
    rm -rf "$LOCPATH/ja_JP.UTF-8.tmp"
    localedef -i ja_JP -f UTF-8 "$LOCPATH/ja_JP.UTF-8.tmp" >/dev/null 2>&1 || true
    [ -f "$LOCPATH/ja_JP.UTF-8.tmp/LC_CTYPE" ] \
      || { echo "wine-run: localedef ja_JP.UTF-8 failed (is 'locales' installed?)" >&2; exit 1; }
    mv "$LOCPATH/ja_JP.UTF-8.tmp" "$LOCPATH/ja_JP.UTF-8"
  fi
  if [ ! -f "$ready" ]; then
    started=$(date +%s)
    rm -rf "$prefix"
    mkdir -p "$HOME"
    reg="$base/setup-$arch-$disp.reg"
    {
      printf 'Windows Registry Editor Version 5.00\r\n\r\n'
      if [ "$disp" = null ]; then
        printf '[HKEY_CURRENT_USER\\Software\\Wine\\Drivers]\r\n"Graphics"="null"\r\n\r\n'
      else
        # No window manager under Xvfb: unmanaged windows hide and close at once.
        printf '[HKEY_CURRENT_USER\\Software\\Wine\\X11 Driver]\r\n"Managed"="N"\r\n\r\n'
      fi
      printf '[HKEY_CURRENT_USER\\Software\\Wine\\WineDbg]\r\n"ShowCrashDialog"=dword:00000000\r\n\r\n'
      printf '[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows NT\\CurrentVersion\\FontSubstitutes]\r\n'
      printf '"MS Gothic"="IPAGothic"\r\n"ＭＳ ゴシック"="IPAGothic"\r\n'
      printf '"MS PGothic"="IPAPGothic"\r\n"ＭＳ Ｐゴシック"="IPAPGothic"\r\n'
      printf '"MS UI Gothic"="IPAPGothic"\r\n\r\n'
    } | iconv -f UTF-8 -t UTF-16 >"$reg"
    winreg="Z:$(printf '%s' "$reg" | tr / '\\')"
    if ! timeout -k 10 900 "$loader" regedit /S "$winreg" >"$base/setup-$arch-$disp.log" 2>&1; then
      echo "wine-run: creating the Wine prefix failed, see $base/setup-$arch-$disp.log" >&2; exit 1
    fi
    timeout 120 wineserver -w || true
    # The user's shell folders are links into $HOME; keep them inside the prefix.
    for l in "$prefix"/drive_c/users/*/*; do
      if [ -L "$l" ]; then rm -f "$l"; mkdir -p "$l"; fi
    done
    touch "$ready"
    echo "wine-run: prefix $prefix ready in $(( $(date +%s) - started ))s" >&2
  fi
  if need_fonts; then
    mkdir -p "$fonts"
    cp "$marlett" "$fonts/.marlett.ttf.tmp" && mv "$fonts/.marlett.ttf.tmp" "$fonts/marlett.ttf"
  fi
  exec 9>&-
fi

# Wine's own background processes inherit our stdout and stderr and keep
# them open for seconds after the program ends; when the caller reads a
# pipe (ctest), go through files so it is not kept waiting.
if [ -t 1 ] && [ -t 2 ]; then exec timeout -k 10 "$tmo" "$loader" "$@"; fi
tmpd=$(mktemp -d "${TMPDIR:-/tmp}/kestrum-wine.XXXXXX")
trap 'rm -rf "$tmpd"' EXIT
trap 'exit 143' INT TERM
set +e
timeout -k 10 "$tmo" "$loader" "$@" >"$tmpd/out" 2>"$tmpd/err" </dev/null
rc=$?
set -e
cat "$tmpd/out"
cat "$tmpd/err" >&2
[ "$rc" -ne 124 ] || echo "wine-run: timed out after ${tmo}s: $*" >&2
exit "$rc"
