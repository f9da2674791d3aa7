#!/bin/sh
# Runs a Windows program under Wine in a private prefix:
#   wine-run.sh PREFIX PROGRAM [ARGUMENTS...]
# The prefix is made on first use and reused afterwards. Wine stays quiet: no
# debug channels (VELLUMOR_WINEDEBUG sets WINEDEBUG, to look into a problem),
# no offers to install Mono or Gecko, no desktop menu entries.
#
# Most test displays have no window manager. Wine waits two seconds for one
# whenever a window it lets a manager handle is hidden or destroyed: once for
# the program, but for every test of the Win32 layer's tests, whose windows
# Wine therefore manages itself. And Wine leaves activating a window that
# gets the focus back to a window manager, unless UseTakeFocus is off.
#
# Wine's server and its system processes start once and stay for a minute
# after the last program ends, so a run of many short test programs does not
# pay for their start each time. They start here, with their output away
# from the caller's: a test runner waits for every process that holds a
# test's output open.
#
# Debian's Wine has no preloader to keep the addresses Windows needs free.
# With address randomisation the C heap starts anywhere in the gigabyte above
# the loader, and about one start in a thousand it takes the page of shared
# user data, so the program fails with nothing shown. Without randomisation
# the heap sits right after the loader every time.
set -eu
if setarch -R true 2>/dev/null; then fixed="setarch -R"; else fixed=""; fi
prefix=$(realpath -m "$1")
shift
export WINEPREFIX="$prefix"
export WINEDEBUG="${VELLUMOR_WINEDEBUG:--all}"
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
mkdir -p "$(dirname "$prefix")"
(
  flock 9
  if [ ! -f "$prefix/.ready" ]; then
    rm -rf "$prefix"
    $fixed wine wineboot --init </dev/null >/dev/null 2>&1 9>&-
    $fixed wine reg add 'HKCU\Software\Wine\AppDefaults\win32_layer_tests.exe\X11 Driver' /v Managed /d N /f \
      </dev/null >/dev/null 2>&1 9>&-
    $fixed wine reg add 'HKCU\Software\Wine\X11 Driver' /v UseTakeFocus /d N /f </dev/null >/dev/null 2>&1 9>&-
    wineserver -w 9>&-
    touch "$prefix/.ready"
  fi
  # Nothing started here may keep the lock (descriptor 9) open.
  if wineserver -p60 </dev/null >/dev/null 2>&1 9>&-; then
    env -u DISPLAY $fixed wine wineboot </dev/null >/dev/null 2>&1 9>&-
  fi
) 9>"$prefix.lock"
exec $fixed wine "$@"
