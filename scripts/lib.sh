# Shared by the scripts: where things are, the packages they need, and the
# Wine environment the Windows build runs in. Sourced, not run.

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
# A developer may keep several build trees side by side (QIJUAN_BUILD=build-x).
BUILD="$ROOT/${QIJUAN_BUILD:-build}"
WIN_BUILD="$BUILD/win64"
NATIVE_BUILD="$BUILD/native"
FUZZ_BUILD="$BUILD/fuzz"

BUILD_PACKAGES=(cmake make g++-mingw-w64-x86-64-posix mingw-w64-x86-64-dev)
TEST_PACKAGES=(g++ clang libclang-rt-14-dev wine wine64 xvfb xauth fonts-wqy-microhei locales
               imagemagick)
# scripts/run: Wine and a display for the program, xwininfo to see its
# window come up, ImageMagick's import for the screenshot.
RUN_PACKAGES=(wine wine64 xvfb xauth fonts-wqy-microhei locales imagemagick x11-utils)

log() { printf '== %s\n' "$*" >&2; }

# Installs the Debian packages that are missing; on a machine that has them
# all it does nothing (no apt-get at all).
ensure_packages() {
  local missing=() p
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  log "installing: ${missing[*]}"
  local sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
}

# Wine's ANSI code page follows the locale; 936 (GBK) needs zh_CN.
ensure_chinese_locale() {
  if ! locale -a 2>/dev/null | grep -qi '^zh_CN\.utf-\?8$'; then
    log "generating the zh_CN.UTF-8 locale"
    local sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    $sudo sed -i 's/^# *zh_CN.UTF-8 UTF-8/zh_CN.UTF-8 UTF-8/' /etc/locale.gen
    grep -q '^zh_CN.UTF-8 UTF-8' /etc/locale.gen || echo 'zh_CN.UTF-8 UTF-8' | $sudo tee -a /etc/locale.gen >/dev/null
    $sudo locale-gen >/dev/null
  fi
}

configure_windows_build() {
  if [ ! -f "$WIN_BUILD/CMakeCache.txt" ]; then
    cmake -S "$ROOT" -B "$WIN_BUILD" -DCMAKE_BUILD_TYPE=Release \
      -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-w64-x86_64-posix.cmake" >/dev/null
  fi
}

# Everything Wine needs, with one prefix per build tree.
wine_environment() {
  export WINEPREFIX="$WIN_BUILD/wineprefix"
  export WINEARCH=win64
  export WINEDEBUG=-all
  # No Mono or Gecko installers popping up in a fresh prefix.
  export WINEDLLOVERRIDES="mscoree=;mshtml="
  export LC_ALL=zh_CN.UTF-8
  export LANG=zh_CN.UTF-8
}

XVFB_PID=""
# Uses the display there is, or starts a virtual one.
ensure_display() {
  if [ -n "${DISPLAY:-}" ]; then return 0; fi
  local n
  for n in $(seq 90 140); do
    [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] || break
  done
  Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
  XVFB_PID=$!
  local i
  for i in $(seq 1 100); do
    [ -e "/tmp/.X11-unix/X$n" ] && break
    sleep 0.1
  done
  export DISPLAY=":$n"
}

# Starts the prefix once and keeps one wineserver for all test processes.
# Output goes to /dev/null: wineserver and wineboot keep inherited pipes open.
start_wine() {
  wine_environment
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    log "creating the Wine prefix $WINEPREFIX"
    wineboot -i >/dev/null 2>&1 </dev/null || true
    # Without a window manager (Xvfb) Wine waits about two seconds for every
    # managed window that is hidden or destroyed; unmanaged windows do not.
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1 </dev/null || true
  fi
  wineserver -p >/dev/null 2>&1 </dev/null || true
}

stop_wine() {
  [ -n "${WINEPREFIX:-}" ] && wineserver -k >/dev/null 2>&1 </dev/null || true
}

stop_display() {
  [ -n "$XVFB_PID" ] && kill "$XVFB_PID" 2>/dev/null || true
  XVFB_PID=""
}
