#!/usr/bin/env bash
# Test environment for Mozhou: own Xvfb display, CUPS with a cups-pdf queue
# as the default printer, and the project's own Wine prefix.
#
#   tools/harness.sh up [--display-from-env]   start what is missing; print exports
#   tools/harness.sh env                        print exports only
#   tools/harness.sh down [--force]             stop what `up` started, unless another
#                                               registered runner still uses it
#   tools/harness.sh status                     show what is running
#
# Use:  eval "$(tools/harness.sh up)"
# Only `export` lines go to stdout; progress goes to stderr.
#
# Settings (environment):
#   MOZHOU_WINEARCH  auto (default), win32 or win64.  auto: win32 where the
#                    kernel runs 32-bit code natively, else win64.  The win64
#                    prefix is build/wineprefix64, its loader
#                    /usr/lib/wine/wine64 (exported as MOZHOU_WINE and
#                    WINELOADER; build/harness/bin/wine is put first in
#                    PATH so that `wine` works too); tests then need x86_64
#                    builds (.cache/deps/x86_64).
#   MOZHOU_PRINTER   CUPS queue name (default MozhouPDF)
set -Eeuo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD="$ROOT/build"
STATE="$BUILD/harness"
PDF_DIR="$BUILD/pdf"
QUEUE="${MOZHOU_PRINTER:-MozhouPDF}"
CUPS_PDF_CONF=/etc/cups/cups-pdf.conf
# Bump when the registry settings below change (re-applied to old prefixes).
REG_REV=1

# win32 where the kernel runs 32-bit code natively; otherwise win64 (this
# project's VMs have "32-bit emulation disabled"; see tools/setup.sh).
native_i386() {
  local b=/proc/sys/fs/binfmt_misc/qemu-i386
  if [ -f "$b" ] && grep -x enabled "$b" >/dev/null 2>&1; then return 1; fi
  /lib/ld-linux.so.2 --version >/dev/null 2>&1
}
WINEARCH_WANT="${MOZHOU_WINEARCH:-auto}"
if [ "$WINEARCH_WANT" = auto ]; then
  if native_i386 || [ ! -x /usr/lib/wine/wine64 ]; then WINEARCH_WANT=win32; else WINEARCH_WANT=win64; fi
fi
case "$WINEARCH_WANT" in
  win32) PREFIX="$BUILD/wineprefix";   WINE_CMD=wine ;;
  win64) PREFIX="$BUILD/wineprefix64"; WINE_CMD=/usr/lib/wine/wine64 ;;
  *) echo "[harness] MOZHOU_WINEARCH must be auto, win32 or win64" >&2; exit 2 ;;
esac

log() { printf '[harness] %s\n' "$*" >&2; }
die() { printf '[harness] ERROR: %s\n' "$*" >&2; exit 1; }
trap 'printf "[harness] FAILED at line %d: %s\n" "$LINENO" "$BASH_COMMAND" >&2' ERR

is_root() { [ "$(id -u)" -eq 0 ]; }

# pid_alive PIDFILE NAME: the recorded pid runs and is the expected program.
pid_alive() {
  local f=$1 name=$2 pid comm
  [ -s "$f" ] || return 1
  pid=$(cat "$f")
  [[ "$pid" =~ ^[0-9]+$ ]] || return 1
  comm=$(cat "/proc/$pid/comm" 2>/dev/null) || return 1
  [ "$comm" = "$name" ]
}

wine_env() {
  export WINEPREFIX="$PREFIX" WINEARCH="$WINEARCH_WANT" WINEDEBUG=-all
  export WINEDLLOVERRIDES="mscoree,mshtml="
  export LANG=zh_CN.UTF-8 LC_ALL=zh_CN.UTF-8
  if [ "$WINEARCH_WANT" = win64 ]; then export WINELOADER=/usr/lib/wine/wine64; fi
}

# ------------------------------------------------------------------ exports
current_display() {
  [ -s "$STATE/display" ] || return 1
  local d; d=$(cat "$STATE/display")
  if [ -s "$STATE/xvfb.pid" ]; then
    pid_alive "$STATE/xvfb.pid" Xvfb || return 1
  fi
  echo "$d"
}

print_exports() {
  local d
  q() { local v=${2//\'/\'\\\'\'}; printf "export %s='%s'\n" "$1" "$v"; }
  q WINEPREFIX "$PREFIX"
  q WINEARCH "$WINEARCH_WANT"
  q WINEDEBUG -all
  q WINEDLLOVERRIDES "mscoree,mshtml="
  [ "$WINEARCH_WANT" = win64 ] && q WINELOADER /usr/lib/wine/wine64
  q MOZHOU_WINE "$WINE_CMD"
  if [ "$WINEARCH_WANT" = win64 ]; then
    # `wine` would pick the 32-bit loader: put a wine64 shim first in PATH.
    case ":$PATH:" in
      *":$STATE/bin:"*) q PATH "$PATH" ;;
      *) q PATH "$STATE/bin:$PATH" ;;
    esac
  fi
  q LANG zh_CN.UTF-8
  q LC_ALL zh_CN.UTF-8
  if d=$(current_display); then
    q DISPLAY "$d"
  else
    log "no display recorded: run '$0 up' first"
  fi
  q MOZHOU_PDF_DIR "$PDF_DIR"
  q MOZHOU_PRINTER "$QUEUE"
}

# ------------------------------------------------------------------ X
display_ok() { DISPLAY="$1" xdpyinfo >/dev/null 2>&1; }

start_xvfb() {
  local n=90 tries=0 pid i
  while :; do
    while [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ]; do n=$((n + 1)); done
    log "starting Xvfb :$n (1280x1024x24)"
    setsid Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp -noreset \
      </dev/null >"$STATE/xvfb.log" 2>&1 9>&- &
    pid=$!
    for i in $(seq 1 100); do
      display_ok ":$n" && break
      kill -0 "$pid" 2>/dev/null || break
      sleep 0.1
    done
    if display_ok ":$n"; then
      echo "$pid" > "$STATE/xvfb.pid"
      echo ":$n" > "$STATE/display"
      return 0
    fi
    kill "$pid" 2>/dev/null || true
    tries=$((tries + 1)); n=$((n + 1))
    [ $tries -lt 5 ] || { cat "$STATE/xvfb.log" >&2; die "could not start Xvfb"; }
  done
}

ensure_display() {
  local from_env=$1 d
  if [ "$from_env" = 1 ] && [ -n "${DISPLAY:-}" ] && display_ok "$DISPLAY"; then
    if [ "$(cat "$STATE/display" 2>/dev/null)" != "$DISPLAY" ] || [ -s "$STATE/xvfb.pid" ]; then
      # An own Xvfb from an earlier `up` is no longer needed.
      stop_pidfile "$STATE/xvfb.pid" Xvfb
      echo "$DISPLAY" > "$STATE/display"
    fi
    log "using DISPLAY=$DISPLAY from the environment"
    return
  fi
  if pid_alive "$STATE/xvfb.pid" Xvfb && d=$(cat "$STATE/display") && display_ok "$d"; then
    log "Xvfb $d already running (pid $(cat "$STATE/xvfb.pid"))"
    return
  fi
  stop_pidfile "$STATE/xvfb.pid" Xvfb
  rm -f "$STATE/display"
  start_xvfb
}

# ------------------------------------------------------------------ CUPS
cups_running() { lpstat -r 2>/dev/null | grep -x 'scheduler is running' >/dev/null; }

ensure_cupsd() {
  cups_running && { log "cupsd running"; return; }
  is_root || die "cupsd is not running and starting it needs root"
  command -v cupsd >/dev/null || die "cupsd not installed: run tools/setup.sh"
  log "starting cupsd"
  mkdir -p /run/cups
  # Write printers.conf at once (default: 30 s later), so that a queue made
  # just before `down` stops cupsd is not lost.
  if ! grep -qxF 'DirtyCleanInterval 0' /etc/cups/cupsd.conf; then
    sed -i -E '/^DirtyCleanInterval[[:space:]]/d' /etc/cups/cupsd.conf
    echo 'DirtyCleanInterval 0' >> /etc/cups/cupsd.conf
  fi
  # cupsd daemonizes itself (its parent returns once it is ready) and
  # writes its pid to /run/cups/cupsd.pid.
  cupsd </dev/null >"$STATE/cupsd.log" 2>&1 9>&- || { cat "$STATE/cupsd.log" >&2; die "cupsd failed to start"; }
  local i pid=""
  for i in $(seq 1 300); do
    cups_running && break
    sleep 0.1
  done
  [ -s /run/cups/cupsd.pid ] && pid=$(cat /run/cups/cupsd.pid)
  if ! { [ -n "$pid" ] && [ "$(cat "/proc/$pid/comm" 2>/dev/null)" = cupsd ]; }; then
    pid=$(pgrep -n -x cupsd || true)
  fi
  # Record it even if it is not answering yet, so that `down` stops it.
  [ -n "$pid" ] && echo "$pid" > "$STATE/cupsd.pid"
  cups_running || { cat "$STATE/cupsd.log" >&2; die "cupsd did not answer within 30s"; }
}

# set_conf KEY VALUE: one uncommented "KEY VALUE" line in cups-pdf.conf.
# Returns 0 if the file was changed.
set_conf() {
  local key=$1 val=$2
  if [ "$(grep -E "^${key}[[:space:]]" "$CUPS_PDF_CONF" | tail -n1)" = "$key $val" ] &&
     [ "$(grep -cE "^${key}[[:space:]]" "$CUPS_PDF_CONF")" = 1 ]; then
    return 1
  fi
  sed -i -E "/^${key}[[:space:]]/d" "$CUPS_PDF_CONF"
  printf '%s %s\n' "$key" "$val" >> "$CUPS_PDF_CONF"
  return 0
}

ensure_queue() {
  local changed=0 ppd
  mkdir -p "$PDF_DIR"
  chmod 1777 "$PDF_DIR" 2>/dev/null || true

  [ -f "$CUPS_PDF_CONF" ] || die "$CUPS_PDF_CONF missing: run tools/setup.sh (printer-driver-cups-pdf)"
  local want=("Out $PDF_DIR" "AnonDirName $PDF_DIR" "Label 1" "UserUMask 0000" "AnonUMask 0000")
  local kv need_conf=0
  for kv in "${want[@]}"; do
    grep -xF "$kv" "$CUPS_PDF_CONF" >/dev/null || need_conf=1
  done
  if [ $need_conf = 1 ]; then
    is_root || die "configuring $CUPS_PDF_CONF needs root"
    log "pointing cups-pdf output at $PDF_DIR"
    for kv in "${want[@]}"; do set_conf "${kv%% *}" "${kv#* }" || true; done
    changed=1
  fi

  if ! lpstat -p "$QUEUE" >/dev/null 2>&1; then
    is_root || die "creating the CUPS queue $QUEUE needs root"
    ppd=$(lpinfo -m 2>/dev/null | awk '/CUPS-PDF_opt\.ppd/ {print $1; exit}')
    [ -n "$ppd" ] || ppd=$(lpinfo -m 2>/dev/null | awk 'tolower($0) ~ /cups-pdf/ {print $1; exit}')
    [ -n "$ppd" ] || die "no cups-pdf PPD found (lpinfo -m)"
    log "creating CUPS queue $QUEUE ($ppd)"
    lpadmin -p "$QUEUE" -E -v cups-pdf:/ -m "$ppd" -o printer-error-policy=abort-job
    changed=1
  fi
  if ! lpstat -p "$QUEUE" 2>/dev/null | grep -i 'enabled' >/dev/null; then
    cupsenable "$QUEUE"; cupsaccept "$QUEUE"; changed=1
  fi
  if [ "$(lpstat -d 2>/dev/null | sed -n 's/^system default destination: //p')" != "$QUEUE" ]; then
    is_root || die "making $QUEUE the CUPS default needs root"
    log "making $QUEUE the CUPS default destination"
    lpadmin -d "$QUEUE"
    changed=1
  fi

  if [ $changed = 1 ] || [ ! -f "$STATE/cups.verified" ] ||
     [ "$(cat "$STATE/cups.verified")" != "$QUEUE $PDF_DIR" ]; then
    verify_print
    echo "$QUEUE $PDF_DIR" > "$STATE/cups.verified"
  fi
}

verify_print() {
  local title="mozhou-harness-check-$$" f i
  log "test print to $QUEUE"
  printf 'Mozhou harness check\n' > "$STATE/check.txt"
  lp -d "$QUEUE" -t "$title" "$STATE/check.txt" >/dev/null || die "lp to $QUEUE failed"
  for i in $(seq 1 300); do
    f=$(ls "$PDF_DIR"/*"$title"*.pdf 2>/dev/null | head -n1 || true)
    [ -n "$f" ] && [ -s "$f" ] && break
    sleep 0.1
  done
  [ -n "$f" ] && [ -s "$f" ] || die "cups-pdf wrote no PDF into $PDF_DIR (see /var/log/cups/)"
  sleep 0.3
  rm -f "$f"
  log "cups-pdf OK (PDFs land in $PDF_DIR)"
}

# ------------------------------------------------------------------ Wine
# Wine (32-bit) must be able to start at all.
check_wine() {
  if [ "$WINEARCH_WANT" = win32 ]; then
    /usr/lib/wine/wine --version >/dev/null 2>&1 ||
      die "the 32-bit Wine loader cannot run (no i386 support on this kernel?): run tools/setup.sh, which registers qemu-user for i386"
  else
    [ -x /usr/lib/wine/wine64 ] || die "wine64 is not installed (MOZHOU_WINEARCH=win64): run MOZHOU_ARCHS='i686 x86_64' tools/setup.sh"
  fi
}

# Registry value from Wine's text registry files (no Wine process needed;
# names compared case-insensitively, as Windows does).
# reg_file_value FILE 'Key\\\\Path' Name
reg_file_value() {
  awk -v key="[$2]" -v name="\"$3\"" '
    index($0, "[") == 1 { insec = (tolower(substr($0, 1, length(key))) == tolower(key)); next }
    insec && tolower(substr($0, 1, length(name) + 1)) == tolower(name "=") { sub(/^[^=]*=/, ""); print; exit }' "$1" 2>/dev/null
}

write_reg_file() { # out.reg  (UTF-16LE with BOM, as regedit expects)
  local device=$1
  {
    printf 'Windows Registry Editor Version 5.00\r\n\r\n'
    printf '[HKEY_CURRENT_USER\\Software\\Wine\\Fonts\\Replacements]\r\n'
    local f
    for f in 宋体 SimSun 新宋体 NSimSun 黑体 SimHei 微软雅黑 "Microsoft YaHei"; do
      printf '"%s"="WenQuanYi Zen Hei"\r\n' "$f"
    done
    printf '\r\n[HKEY_CURRENT_USER\\Software\\Wine\\Explorer]\r\n"Desktop"="Default"\r\n'
    printf '\r\n[HKEY_CURRENT_USER\\Software\\Wine\\Explorer\\Desktops]\r\n"Default"="1024x768"\r\n'
    if [ -n "$device" ]; then
      printf '\r\n[HKEY_CURRENT_USER\\Software\\Microsoft\\Windows NT\\CurrentVersion\\Windows]\r\n'
      printf '"Device"="%s"\r\n' "$device"
    fi
  } | iconv -f UTF-8 -t UTF-16LE | { printf '\xff\xfe'; cat; } > "$2"
}

ensure_prefix() {
  check_wine
  wine_env
  export DISPLAY
  DISPLAY=$(cat "$STATE/display")
  local t0
  if [ ! -f "$PREFIX/.mozhou-prefix" ] || [ ! -f "$PREFIX/system.reg" ]; then
    t0=$(date +%s)
    log "creating Wine prefix $PREFIX ($WINEARCH_WANT)"
    rm -rf "$PREFIX"
    mkdir -p "$PREFIX"
    local rc=0
    "$WINE_CMD" wineboot -i </dev/null >"$STATE/wineboot.log" 2>&1 9>&- || rc=$?
    wineserver -w
    # The prefix is made by a wineboot.exe child; judge by the result.
    if [ ! -s "$PREFIX/system.reg" ] || [ ! -f "$PREFIX/drive_c/windows/system32/kernel32.dll" ]; then
      tail -n 20 "$STATE/wineboot.log" >&2; die "wineboot -i failed (rc $rc)"
    fi
    [ $rc = 0 ] || log "wineboot exited with $rc, but the prefix is complete"
    date -u +%FT%TZ > "$PREFIX/.mozhou-prefix"
    log "prefix created in $(( $(date +%s) - t0 ))s"
  fi

  # Wine's own fonts (Marlett draws the caption buttons, Tahoma the dialogs)
  # are only used from the prefix's Fonts folder here: copy what is missing.
  [ -f /usr/share/wine/fonts/marlett.ttf ] || die "Wine's fonts are missing: run tools/setup.sh (fonts-wine)"
  local fontdir="$PREFIX/drive_c/windows/Fonts" f
  mkdir -p "$fontdir"
  for f in /usr/share/wine/fonts/*; do
    [ -e "$fontdir/${f##*/}" ] || cp "$f" "$fontdir/"
  done

  # Wine drops printers that CUPS did not list when a Wine process started
  # (e.g. cupsd down), and with them its default printer: check every time.
  local device="" cur
  cur=$(reg_file_value "$PREFIX/user.reg" 'Software\\\\Microsoft\\\\Windows NT\\\\CurrentVersion\\\\Windows' Device)
  case "$cur" in
    \"$QUEUE,*) ;;                                   # already our queue
    *) device="$QUEUE,wineps.drv,CUPS:$QUEUE"; log "Wine default printer was ${cur:-unset}; setting $QUEUE" ;;
  esac
  if [ -n "$device" ] || [ "$(cat "$PREFIX/.mozhou-reg" 2>/dev/null)" != "$REG_REV $QUEUE" ]; then
    t0=$(date +%s)
    log "applying registry settings (fonts, virtual desktop, printer)"
    write_reg_file "$device" "$STATE/mozhou.reg"
    "$WINE_CMD" regedit /S "$(winepath_w "$STATE/mozhou.reg")" </dev/null >"$STATE/regedit.log" 2>&1 9>&- ||
      { cat "$STATE/regedit.log" >&2; die "regedit failed"; }
    wineserver -w
    cur=$(reg_file_value "$PREFIX/user.reg" 'Software\\\\Wine\\\\Explorer' Desktop)
    [ "$cur" = '"Default"' ] || die "registry settings were not applied (Desktop=$cur)"
    echo "$REG_REV $QUEUE" > "$PREFIX/.mozhou-reg"
    log "registry done in $(( $(date +%s) - t0 ))s"
  fi
  log "Wine default printer: $(reg_file_value "$PREFIX/user.reg" 'Software\\\\Microsoft\\\\Windows NT\\\\CurrentVersion\\\\Windows' Device)"
}

write_shim() {
  mkdir -p "$STATE/bin"
  printf '#!/bin/sh\n# tools/harness.sh: win64 prefix, use the 64-bit loader\nexec /usr/lib/wine/wine64 "$@"\n' > "$STATE/bin/wine"
  chmod +x "$STATE/bin/wine"
}

# Unix path -> Z:\ path (without starting Wine).
winepath_w() { printf 'Z:%s' "${1//\//\\}"; }

# ------------------------------------------------------------------ down
stop_pidfile() { # pidfile name
  local f=$1 name=$2 pid i
  if pid_alive "$f" "$name"; then
    pid=$(cat "$f")
    log "stopping $name (pid $pid)"
    kill "$pid" 2>/dev/null || true
    for i in $(seq 1 100); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
    kill -0 "$pid" 2>/dev/null && kill -9 "$pid" 2>/dev/null || true
  fi
  rm -f "$f"
}

# Runners that share the environment register while they use it (MOZHOU_HARNESS_USER=<their
# pid>); `down` leaves everything running while another live runner is registered.
register_user() {
  [ -n "${MOZHOU_HARNESS_USER:-}" ] || return 0
  mkdir -p "$STATE/users" && : > "$STATE/users/$MOZHOU_HARNESS_USER"
}

other_users() {
  local f pid
  [ -d "$STATE/users" ] || return 0
  for f in "$STATE/users"/*; do
    [ -e "$f" ] || continue
    pid=${f##*/}
    if [ "$pid" = "${MOZHOU_HARNESS_USER:-}" ] || ! kill -0 "$pid" 2>/dev/null; then
      rm -f "$f"
    else
      echo "$pid"
    fi
  done
}

cmd_down() {
  local p users
  users=$(other_users | tr '\n' ' ')
  if [ -n "$users" ] && [ "${1:-}" != --force ]; then
    log "still used by pid $users- left running"
    return 0
  fi
  for p in "$BUILD/wineprefix" "$BUILD/wineprefix64"; do
    if [ -d "$p" ] && command -v wineserver >/dev/null; then
      WINEPREFIX="$p" wineserver -k >/dev/null 2>&1 || true
    fi
  done
  stop_pidfile "$STATE/xvfb.pid" Xvfb
  rm -f "$STATE/display"
  stop_pidfile "$STATE/cupsd.pid" cupsd
  log "down"
}

cmd_status() {
  local d
  if d=$(current_display); then echo "display: $d"; else echo "display: none"; fi
  if pid_alive "$STATE/xvfb.pid" Xvfb; then echo "Xvfb: ours, pid $(cat "$STATE/xvfb.pid")"; fi
  if cups_running; then
    if pid_alive "$STATE/cupsd.pid" cupsd; then echo "cupsd: ours, pid $(cat "$STATE/cupsd.pid")"; else echo "cupsd: running (not ours)"; fi
  else echo "cupsd: not running"; fi
  echo "queue: $(lpstat -d 2>/dev/null || true)"
  echo "prefix: $PREFIX $( [ -f "$PREFIX/.mozhou-prefix" ] && echo ready || echo missing)"
}

# Long-lived children (Xvfb, cupsd, wineserver) are started with fd 9
# closed so that they do not keep holding the lock.
take_lock() {
  exec 9>>"$STATE/lock"
  flock -w 600 9 || die "another tools/harness.sh holds $STATE/lock (waited 10 min)"
}

# ------------------------------------------------------------------ main
main() {
  local cmd=${1:-}; shift || true
  mkdir -p "$STATE"
  case "$cmd" in
    up)
      local from_env=0
      while [ $# -gt 0 ]; do
        case "$1" in
          --display-from-env) from_env=1 ;;
          *) die "unknown option: $1" ;;
        esac
        shift
      done
      take_lock
      local t0; t0=$(date +%s)
      ensure_display "$from_env"
      ensure_cupsd          # CUPS and the queue before the prefix: Wine
      ensure_queue          # reads the printers when the prefix is made
      ensure_prefix
      write_shim
      register_user
      log "up in $(( $(date +%s) - t0 ))s"
      print_exports ;;
    env) print_exports ;;
    down)
      take_lock
      cmd_down "${1:-}" ;;
    status) cmd_status ;;
    *) echo "usage: $0 up [--display-from-env] | env | down | status" >&2; exit 2 ;;
  esac
}
main "$@"
