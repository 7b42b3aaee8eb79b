# Sourced by the scripts that run Windows programs: one prepared Wine prefix and one
# wineserver kept up, so each program starts in a fraction of a second.
export WINEPREFIX="${DACTYLA_WINEPREFIX:-/tmp/dactyla-wine}"
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="mscoree,mshtml="
export WINEARCH=win64
if command -v wine64 >/dev/null 2>&1; then DACTYLA_WINE=wine64; else DACTYLA_WINE=wine; fi
if [ -x /usr/lib/wine/wine64 ]; then DACTYLA_WINE=/usr/lib/wine/wine64; fi
export DACTYLA_WINE
export PATH="/usr/lib/wine:$PATH"

dactyla_wine_prepare() {
  if [ ! -f "$WINEPREFIX/.dactyla-ready" ]; then
    (
      flock 9
      [ -f "$WINEPREFIX/.dactyla-ready" ] && exit 0
      rm -rf "$WINEPREFIX"
      "$DACTYLA_WINE" wineboot -i >/dev/null 2>&1
      wineserver -w
      mkdir -p "$WINEPREFIX/drive_c/windows/Fonts"
      cp /usr/share/wine/fonts/* "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
      reg() { "$DACTYLA_WINE" reg add "$@" /f >/dev/null 2>&1; }
      reg 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N
      reg 'HKCU\Software\Wine\Drivers' /v Audio /t REG_SZ /d ''
      reg 'HKCU\Software\Wine\Fonts\Replacements' /v 'Courier New' /t REG_SZ /d 'Liberation Mono'
      reg 'HKCU\Software\Wine\Fonts\Replacements' /v 'Lucida Console' /t REG_SZ /d 'DejaVu Sans Mono'
      reg 'HKCU\Software\Wine\Fonts\Replacements' /v 'Times New Roman' /t REG_SZ /d 'Liberation Serif'
      reg 'HKCU\Software\Wine\Fonts\Replacements' /v 'Arial' /t REG_SZ /d 'Liberation Sans'
      wineserver -w
      touch "$WINEPREFIX/.dactyla-ready"
    ) 9>"/tmp/.dactyla-wine.lock"
  fi
  # Keep one server up; later programs attach to it instead of booting their own.
  if ! pgrep -f "wineserver.*-p" >/dev/null 2>&1; then
    wineserver -p >/dev/null 2>&1 || true
    "$DACTYLA_WINE" cmd /c exit >/dev/null 2>&1 || true
  fi
}

# The DPI Wine gives its programs (LogPixels, 96 unless asked). A process reads it when it starts
# and the server keeps the registry, so the server is restarted to let the next programs see it.
dactyla_wine_dpi() {
  "$DACTYLA_WINE" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$1" /f >/dev/null 2>&1
  wineserver -k >/dev/null 2>&1 || true
  wineserver -w >/dev/null 2>&1 || true
}
