# Sourced by the run and test scripts: a Wine prefix of the build tree that
# behaves like a Japanese Windows, a display (virtual when there is none), and
# a cleanup that ends everything started here.
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

# Debian's `wine` and `wineboot` take the 32-bit loader whenever wine32 is
# installed, and that loader cannot use a 64-bit prefix: each build calls its
# own loader from Wine's library folder. The 64-bit server serves both kinds
# of prefix (Debian's `wineserver` prefers it too).
wine_folder=/usr/lib/wine
wineserver=$wine_folder/wineserver64

# Choose the build that the functions below work on: 64 (build/, the default)
# or 32 (build-i686/, the program that ships).
use_build() {
  if [ "$1" = 32 ]; then
    build_dir=$root/build-i686
    toolchain=$root/cmake/mingw-i686-posix.cmake
    export WINEARCH=win32 WINELOADER=$wine_folder/wine
  else
    build_dir=${BUILD_DIR:-$root/build}
    toolchain=$root/cmake/mingw-x86_64-posix.cmake
    export WINEARCH=win64 WINELOADER=$wine_folder/wine64
  fi
  export WINEPREFIX=$build_dir/wineprefix
  wine=$WINELOADER
}
use_build 64

export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
# Wine takes its code page (932) and Japanese buttons from the locale; no
# glibc locale is needed for that, and the shell itself keeps its own.
japanese() { env LC_ALL=ja_JP.UTF-8 "$@"; }

started_xvfb=

# Configure and build the chosen build (all of it, or the targets named).
build_program() {
  "$root/scripts/install-deps"
  cmake -S "$root" -B "$build_dir" -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_CROSSCOMPILING_EMULATOR="$wine" >/dev/null
  local targets=()
  for target in "$@"; do targets+=(--target "$target"); done
  cmake --build "$build_dir" -j"$(nproc)" "${targets[@]}"
}

# Whether the 32-bit build's tests can run here; if not, says why in one line.
can_run_32bit_tests() {
  if ! "$root/scripts/runs-32bit-code"; then
    echo "This machine cannot run 32-bit code: only the 64-bit build is tested here."
    return 1
  fi
  if [ ! -x "$wine_folder/wine" ]; then
    echo "wine32 is not installed (scripts/install-deps could not install it): only the 64-bit build is tested here."
    return 1
  fi
}

start_display() {
  if [ -n "${DISPLAY:-}" ] && [ -z "${ORINDA_VIRTUAL_DISPLAY:-}" ]; then return; fi
  local number=99
  while [ -e "/tmp/.X11-unix/X$number" ] || [ -e "/tmp/.X$number-lock" ]; do number=$((number + 1)); done
  Xvfb ":$number" -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
  started_xvfb=$!
  export DISPLAY=":$number"
  for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$number" ] && break; sleep 0.1; done
}

start_wine() {
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    japanese "$wine" wineboot -i >/dev/null 2>&1 || true
    # A crashing program ends instead of waiting on a dialog nobody sees.
    japanese "$wine" reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1
    "$wineserver" -w
  fi
  "$wineserver" -p
  # Without a window manager (the virtual display) Wine waits two seconds for
  # every closed window to be withdrawn unless its windows are unmanaged.
  local managed=Y
  [ -n "$started_xvfb" ] && managed=N
  japanese "$wine" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d "$managed" /f >/dev/null 2>&1
}

# Wine's service processes were seen outliving their server: end every
# process that belongs to this prefix by its environment.
end_prefix_processes() {
  local pid
  for pid in $(pgrep -f '\.exe' 2>/dev/null); do
    if tr '\0' '\n' 2>/dev/null <"/proc/$pid/environ" | grep -qx "WINEPREFIX=$WINEPREFIX"; then
      kill -9 "$pid" 2>/dev/null || true
    fi
  done
}

# End everything running in the chosen build's prefix.
end_wine() {
  "$wineserver" -k 2>/dev/null || true
  "$wineserver" -w 2>/dev/null || true
  end_prefix_processes
}

end_session() {
  end_wine
  if [ -n "$started_xvfb" ]; then kill "$started_xvfb" 2>/dev/null || true; fi
}
