# One vendor USB device answers and the USB driver file is there: the USB option
# is offered. Checked, with no entry checked, Uninstall runs only the vendor's USB
# driver uninstaller with "22", waits while its window is open, logs both USB
# lines and offers no restart (nothing was removed from the spooler).
#
# The 64-bit program is not under WOW64 (IsWow64Process answers FALSE), so it
# starts USBDrv\USBDriver\Install.exe; the 32-bit program on 64-bit Windows would
# start USBDrv\USBDriver_x64\Install.exe, which is staged too and must not run.
#
# The program looks for the uninstaller's window 500 ms after starting it and
# waits only while one is there. A program takes longer than that to start under
# Wine, so the stand-in's own window may come too late to be waited for. The
# wait is shown with a window of the same caption that is open before the run
# and closes later than the stand-in's.
prepare_machine
stage_package en
echo "3 4660" >"$PKG/ZiZudUru.txt"
caption=$(lang_text Uninstall CaptionName)
before=$(machine_state)

step "the probe finds the device at index 3: the option is offered"
start_program
ui wait-dialog 60
expect_line "usb enabled unchecked $(lang_text Uninstall USBuninstall)" "$(ui state)"
probe=$(tr -d '\r' <"$PKG/ZiZudUru.log")
expect_line "open 3" "$probe"
expect_line "descriptor 259" "$probe"
expect_line "close 259" "$probe"

step "USB box checked, no entry checked: only the USB driver uninstaller runs"
ui click 1019
usb_checked() { [[ $(ui state) == *$'\n'"usb enabled checked "* ]]; }
within 5 usb_checked || fail "the USB box does not check"
(exec "$WINE" "$TOOLS/titled_window.exe" "$caption" 10 >/dev/null 2>&1) &
ui wait-window "$caption" 30
ui click 1002
ui wait-log "$(msg IDS_DELETING3)" 30
ui wait-log "$(msg IDS_DRV_SUCCESS1)" 30
# The success line comes only once no window with the caption is left.
[[ $(ui count-windows "$caption") == 0 ]] || fail "logged while a window with the caption is open"
expect_line "closed" "$(tr -d '\r' <"$PKG/USBDrv/USBDriver/Install.log")"
ui wait-idle 60
expect_log "$(msg IDS_SELECTPRN1)" "$(msg IDS_DELETING3)" "$(msg IDS_DRV_SUCCESS1)" \
  "$(msg IDS_SELECTPRN1)"
state=$(ui state)
expect_line "usb enabled checked $(lang_text Uninstall USBuninstall)" "$state"
expect_line "button 1002 enabled $(lang_text Uninstall Uninstall)" "$state"
[[ $(grep -c '^item .* unchecked ' <<<"$state") == 5 ]] || fail "the entries changed: $state"

step "the uninstaller ran once, with 22, in the package folder"
run=$(tr -d '\r' <"$PKG/USBDrv/USBDriver/Install.log")
[[ $run == "args=22
cwd=$PKG_WIN
shown
closed" ]] || fail "unexpected uninstaller run: $run"
[[ ! -e $PKG/USBDrv/USBDriver_x64/Install.log ]] || fail "the x64 uninstaller ran"
expect_changes "$before"
