# Helpers of the end-to-end scenarios, sourced by run_scenario.sh. A scenario
# stages the sample package in its own Wine prefix, starts Uninstall.exe there,
# works its dialogs through uidriver.exe and compares what it sees, and what the
# machine holds afterwards, with what it expects. Any failing command ends the
# scenario (set -e); `fail` ends it with a reason.
#
# Set by run_scenario.sh: E2E_ROOT (source tree), E2E_BUILD (the 64-bit build),
# E2E_WORK (this scenario's folder), E2E_PACKAGE (the sample package), DISPLAY.

WINE=/usr/lib/wine/wine64
TOOLS=$E2E_BUILD/e2e
export WINEARCH=win64 WINEPREFIX=$E2E_WORK/prefix WINEDEBUG=-all
export LANG=${LANG_UNDER_TEST:-C.UTF-8} LC_ALL=${LANG_UNDER_TEST:-C.UTF-8}
PKG=$WINEPREFIX/drive_c/pkg   # the package folder, C:\pkg on the Windows side
PKG_WIN='C:\pkg'
APP_TITLE=Uninstall           # the program's title: its file name without extension
TITLE=                         # caption of the main dialog, set by stage_package
PROGRAM_PID=

# The scenario's Windows is a Chinese one (code page 936) and its language file
# is read as GBK. Call it before the first Windows program runs.
use_chinese_windows() {
  export LANG=zh_CN.UTF-8 LC_ALL=zh_CN.UTF-8
  LANG_FILE_CHARSET=GBK
}

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

step() { echo "-- $*"; }

# Runs a Windows program in the foreground; its output without CR.
win() { "$WINE" "$@" | tr -d '\r'; }

ui() { win "$TOOLS/uidriver.exe" --title "$TITLE" "$@"; }

machine_state() { win "$TOOLS/prepare.exe" check; }

# A text of the staged language file as UTF-8 (the file is read in the code page
# that the scenario's Windows uses: GBK for Chinese). Key names ignore case.
lang_text() {
  local section=$1 key=$2
  iconv -f "${LANG_FILE_CHARSET:-CP1252}" -t UTF-8 "$PKG/language/uninstall.ini" | tr -d '\r' |
    awk -v section="$section" -v key="$key" '
      /^\[/ { inside = (tolower($0) == "[" tolower(section) "]"); next }
      inside && index($0, "=") > 0 {
        name = substr($0, 1, index($0, "=") - 1)
        if (tolower(name) == tolower(key)) { print substr($0, index($0, "=") + 1); exit }
      }'
}

# A text as the program shows it: the first backslash-n is a line break, which
# uidriver prints as \r\n; a backslash itself is printed doubled.
shown() {
  local text=${1//\\/\\\\}
  printf '%s' "${text/\\\\n/\\r\\n}"
}

# A "Message" text used as a printf format with one name, as a log line shows it.
msg() {
  local text
  text=$(lang_text Message "$1")
  if [[ $# -gt 1 ]]; then
    text=${text/\%s/"$2"}
  fi
  shown "${text//\%\%/%}"
}

# Stages the sample package, the program and the stand-ins of the vendor's USB
# library and USB driver uninstaller in C:\pkg, and sets TITLE to the main
# dialog's caption. $1: "en" or "zh" language file.
stage_package() {
  local language=${1:-en}
  mkdir -p "$PKG"
  cp -r "$E2E_PACKAGE/." "$PKG/"
  if [[ $language == zh ]]; then
    cp "$E2E_PACKAGE/language/uninstall.zh.ini" "$PKG/language/uninstall.ini"
    printf '[DEVICENAME]\r\nLANGUAGE=0\r\n' >"$PKG/DRVCONFIG/setup.ini"
  fi
  cp "$E2E_BUILD/Uninstall.exe" "$TOOLS/ZiZudUru.dll" "$PKG/"
  : >"$PKG/ZiZudUru.txt"  # no device answers unless a scenario adds one
  local caption folder
  caption=$(LC_ALL=C sed -n 's/\r$//; s/^CaptionName=//p' "$PKG/language/uninstall.ini" | head -n 1)
  for folder in USBDriver USBDriver_x64; do
    mkdir -p "$PKG/USBDrv/$folder"
    cp "$TOOLS/Install.exe" "$PKG/USBDrv/$folder/"
    printf '[Window]\r\nCaption=%s\r\n' "$caption" >"$PKG/USBDrv/$folder/Install.ini"
  done
  TITLE=$(lang_text Uninstall Title)
}

# Puts the vendor's and the other vendor's components on the machine.
prepare_machine() {
  win "$TOOLS/prepare.exe" setup >"$E2E_WORK/prepare.txt" ||
    fail "prepare setup: $(cat "$E2E_WORK/prepare.txt")"
}

# Starts Uninstall.exe from the package folder, as the package's user does.
start_program() {
  (cd "$PKG" && exec "$WINE" Uninstall.exe >>"$E2E_WORK/program.out" 2>&1) &
  PROGRAM_PID=$!
}

# Waits until the process has ended (bounded); false when it is still running.
wait_exit() {
  local pid=$1 seconds=$2 state
  local end=$((SECONDS + seconds))
  while ((SECONDS < end)); do
    state=$(awk '{print $3}' "/proc/$pid/stat" 2>/dev/null || echo gone)
    if [[ $state == gone || $state == Z ]]; then
      wait "$pid" 2>/dev/null || true
      return 0
    fi
    sleep 0.2
  done
  return 1
}

# Runs the command until it succeeds, for at most $1 seconds.
within() {
  local end=$((SECONDS + $1))
  shift
  until "$@"; do
    ((SECONDS < end)) || return 1
    sleep 0.3
  done
}

# The lines of $2 (a multi-line text) must hold line $1 exactly.
expect_line() {
  grep -Fxq -- "$1" <<<"$2" || fail "missing line: $1"
}

expect_no_line() {
  if grep -Fxq -- "$1" <<<"$2"; then fail "unexpected line: $1"; fi
}

# The log must be exactly these lines, in this order.
expect_log() {
  local actual expected
  actual=$(ui log)
  expected=$(for line in "$@"; do printf 'log %s\n' "$line"; done)
  if [[ $actual != "$expected" ]]; then
    diff <(printf '%s\n' "$expected") <(printf '%s\n' "$actual") >&2 || true
    fail "the log differs from the expected lines (- expected, + shown)"
  fi
}

# The About box ($1, as `ui about` prints it) shows the texts of section "About".
expect_about_texts() {
  expect_line "about $(lang_text About Title)" "$1"
  expect_line "about-1017 $(lang_text About Version)" "$1"
  expect_line "about-1018 $(lang_text About Copyright)" "$1"
  expect_line "about-1 $(lang_text About OK)" "$1"
}

# The restart prompt ($1, as `ui wait-prompt` prints it) shows the texts of
# section "Reboot".
expect_prompt_texts() {
  expect_line "prompt $(lang_text Reboot Title)" "$1"
  expect_line "prompt-1014 $(lang_text Reboot Note1)" "$1"
  expect_line "prompt-1015 $(lang_text Reboot Note2)" "$1"
  expect_line "prompt-1016 $(lang_text Reboot Note3)" "$1"
  expect_line "prompt-1 $(lang_text Reboot Yes)" "$1"
  expect_line "prompt-2 $(lang_text Reboot No)" "$1"
}

# Saves a picture of one window (dialog, about or prompt) under screenshots/.
screenshot() {
  local which=$1 name=$2 geometry
  geometry=$(ui rect "$which")
  mkdir -p "$E2E_SCREENSHOTS"
  import -display "$DISPLAY" -window root -crop "$geometry" +repage "$E2E_SCREENSHOTS/$name.png"
  echo "screenshot $E2E_SCREENSHOTS/$name.png"
}

# What changed on the machine since $1 (an earlier machine_state): "- line" for
# each line gone, "+ line" for each new one, sorted.
machine_changes() {
  local before=$1 after
  after=$(machine_state)
  {
    LC_ALL=C comm -23 <(LC_ALL=C sort <<<"$before") <(LC_ALL=C sort <<<"$after") | sed 's/^/- /'
    LC_ALL=C comm -13 <(LC_ALL=C sort <<<"$before") <(LC_ALL=C sort <<<"$after") | sed 's/^/+ /'
  } | LC_ALL=C sort
}

# The machine must have changed by exactly these lines ("- gone", "+ new").
expect_changes() {
  local before=$1 actual expected
  shift
  actual=$(machine_changes "$before")
  expected=$(printf '%s\n' "$@" | LC_ALL=C sort)
  if [[ $actual != "$expected" ]]; then
    diff <(printf '%s\n' "$expected") <(printf '%s\n' "$actual") >&2 || true
    fail "the machine changed otherwise than expected (- expected, + found)"
  fi
}

# The spooler service starts on demand; the program's restarts leave it running.
SPOOLER_STARTED=("- spooler stopped" "+ spooler running")
