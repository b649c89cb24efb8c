#!/usr/bin/env bash
# start BUILD_DIR: makes the build tree's private Wine prefix on first use, starts a private
#                  Xvfb display and a persistent wineserver for the test run, and undoes what a
#                  killed run left changed.
# stop BUILD_DIR:  ends every Wine process of that prefix, the wineserver and the Xvfb.
set -u
action=${1:?start or stop}
build=$(cd "${2:?build folder}" && pwd)
export WINEPREFIX="$build/wineprefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
display_file="$build/xvfb.display"
pid_file="$build/xvfb.pid"

stop() {
  wineserver -k >/dev/null 2>&1
  wineserver -w >/dev/null 2>&1
  if [ -s "$pid_file" ]; then
    kill "$(cat "$pid_file")" >/dev/null 2>&1
    rm -f "$pid_file"
  fi
  rm -f "$display_file"
}

start() {
  stop
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    wineboot -i >"$build/wineboot.log" 2>&1 </dev/null || { cat "$build/wineboot.log"; exit 1; }
    # Without a window manager every window close waits for one: tell Wine not to.
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1 </dev/null
    wineserver -w
  fi
  # Windows links its dialog font to CJK fonts for Japanese, Chinese and Korean texts; Wine's
  # own Tahoma links to none that Debian has: link it to WenQuanYi Micro Hei (fonts-wqy-microhei).
  if [ ! -f "$WINEPREFIX/wendrift-fontlink" ]; then
    wine reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink' \
      /v Tahoma /t REG_MULTI_SZ /d 'wqy-microhei.ttc,WenQuanYi Micro Hei' /f >/dev/null 2>&1 </dev/null
    wineserver -w
    touch "$WINEPREFIX/wendrift-fontlink"
  fi
  # A display of our own: -displayfd picks a free number and reports it once it is ready.
  setsid Xvfb -displayfd 9 -screen 0 1280x1024x24 -nolisten tcp 9>"$display_file" \
    </dev/null >/dev/null 2>&1 &
  echo $! >"$pid_file"
  for _ in $(seq 100); do [ -s "$display_file" ] && break; sleep 0.1; done
  [ -s "$display_file" ] || { echo "Xvfb did not start"; exit 1; }
  setsid wineserver -p </dev/null >/dev/null 2>&1
  # What a killed test changed outside itself and could not put back: the lines that undo it
  # wait in leftovers/ (tests/support/NextRunUndo.h). On the test display: a Wine program they
  # start may leave Wine's desktop process running, which would break every window without it.
  for undo in "$build"/leftovers/*.sh; do
    [ -f "$undo" ] || continue
    echo "Undoing what a killed test left: $(basename "$undo" .sh)"
    DISPLAY=":$(head -n1 "$display_file")" sh "$undo" </dev/null >/dev/null 2>&1
    rm -f "$undo"
  done
  echo "Wine prefix $WINEPREFIX, display :$(head -n1 "$display_file")"
}

"$action"
