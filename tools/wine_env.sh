# Sourced by the run and test scripts: a throw-away Wine prefix inside the build folder,
# a Chinese locale (ANSI code page 936), an X display and one persistent wineserver.
# Needs BUILD_DIR. wine_up starts what is missing; wine_down stops all it started.

export WINEPREFIX="$BUILD_DIR/wineprefix"
# Wine's 64-bit loader and server, named directly: Debian's `wine` command starts the
# 32-bit loader first, and some machines cannot execute 32-bit programs at all.
export KAVREL_WINE=${KAVREL_WINE:-/usr/lib/wine/wine64}
export KAVREL_WINESERVER=${KAVREL_WINESERVER:-/usr/lib/wine/wineserver64}
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
export LC_ALL=zh_CN.UTF-8
KAVREL_XVFB_PID=""

wine() { "$KAVREL_WINE" "$@"; }
wineserver() { "$KAVREL_WINESERVER" "$@"; }

# One clear line instead of a bare exit code when Wine is missing or cannot start.
wine_check() {
  if [ ! -x "$KAVREL_WINE" ] || [ ! -x "$KAVREL_WINESERVER" ]; then
    echo "Wine's 64-bit loader is missing ($KAVREL_WINE): install the Debian package wine64 (bash tools/setup_host.sh)" >&2
    return 1
  fi
  if ! "$KAVREL_WINE" --version >/dev/null 2>&1; then
    echo "Wine's 64-bit loader does not start ($KAVREL_WINE): reinstall the Debian package wine64" >&2
    return 1
  fi
}

wine_start_display() {
  if [ -n "${DISPLAY:-}" ]; then return; fi
  local n
  for n in $(seq 90 140); do
    [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] && continue
    Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp </dev/null >/dev/null 2>&1 &
    KAVREL_XVFB_PID=$!
    local i
    for i in $(seq 1 50); do
      [ -e "/tmp/.X11-unix/X$n" ] && break
      sleep 0.1
    done
    if kill -0 "$KAVREL_XVFB_PID" 2>/dev/null; then export DISPLAY=":$n"; return; fi
  done
  echo "could not start Xvfb" >&2
  return 1
}

# The prefix's own settings; a higher number applies them again to a prefix made before.
KAVREL_PREFIX_SETTINGS=2

wine_init_prefix() {
  if [ ! -f "$WINEPREFIX/.kavrel-ready" ]; then
    rm -rf "$WINEPREFIX"
    if ! wine wineboot -i </dev/null >/dev/null 2>&1; then
      echo "Wine could not create its prefix in $WINEPREFIX (wine64 wineboot -i failed)" >&2
      return 1
    fi
    wineserver -w
    touch "$WINEPREFIX/.kavrel-ready"
  fi
  [ "$(cat "$WINEPREFIX/.kavrel-ready")" = "$KAVREL_PREFIX_SETTINGS" ] && return
  # regedit reads a REGEDIT4 file in the ANSI code page (936 here), which would mangle the
  # Chinese face names of UTF-8 text; a version 5 file in UTF-16LE with its byte-order
  # mark keeps them, so 宋体 and the other Chinese names reach the replacement face.
  local reg="$BUILD_DIR/kavrel-prefix.reg"
  {
    printf '\xff\xfe'
    sed 's/$/\r/' <<'REG' | iconv -f UTF-8 -t UTF-16LE
Windows Registry Editor Version 5.00

[HKEY_CURRENT_USER\Software\Wine\WineDbg]
"ShowCrashDialog"=dword:00000000

[HKEY_CURRENT_USER\Software\Wine\X11 Driver]
"Managed"="N"

[HKEY_CURRENT_USER\Software\Wine\Fonts\Replacements]
"SimSun"="WenQuanYi Micro Hei"
"NSimSun"="WenQuanYi Micro Hei"
"SimHei"="WenQuanYi Micro Hei"
"Microsoft YaHei"="WenQuanYi Micro Hei"
"Microsoft YaHei UI"="WenQuanYi Micro Hei"
"宋体"="WenQuanYi Micro Hei"
"新宋体"="WenQuanYi Micro Hei"
"黑体"="WenQuanYi Micro Hei"
"微软雅黑"="WenQuanYi Micro Hei"

REG
  } > "$reg"
  wine regedit /S "$reg" </dev/null >/dev/null 2>&1
  local marlett
  marlett=$(find /usr/share/fonts /usr/share/wine -iname 'marlett.ttf' 2>/dev/null | head -1)
  [ -n "$marlett" ] && cp "$marlett" "$WINEPREFIX/drive_c/windows/Fonts/" || true
  wineserver -w
  echo "$KAVREL_PREFIX_SETTINGS" > "$WINEPREFIX/.kavrel-ready"
}

wine_up() {
  wine_check
  wine_start_display
  wine_init_prefix
  # A persistent wineserver, warmed up outside ctest, makes each Wine process start in
  # a fraction of a second and keeps Wine's background processes off ctest's pipes.
  wineserver -p </dev/null >/dev/null 2>&1
  wine wineboot </dev/null >/dev/null 2>&1 || true
}

wine_down() {
  wineserver -k >/dev/null 2>&1 || true
  if [ -n "$KAVREL_XVFB_PID" ]; then
    kill "$KAVREL_XVFB_PID" 2>/dev/null || true
    wait "$KAVREL_XVFB_PID" 2>/dev/null || true
  fi
}
