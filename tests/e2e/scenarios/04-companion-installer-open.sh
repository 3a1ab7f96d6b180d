# The vendor's driver installer ("Printer Driver Setup") is open: the program
# shows one message box with the "Close" text and the exclamation icon, and ends
# without its main dialog.
prepare_machine
stage_package en
installer="Printer Driver Setup"

(exec "$WINE" "$TOOLS/titled_window.exe" "$installer" 120 >/dev/null 2>&1) &
ui wait-window "$installer" 30
start_program
box=$(ui messagebox "$APP_TITLE" 60)
expect_line "messagebox $APP_TITLE" "$box"
expect_line "messagebox-icon" "$box"
expect_line "messagebox-Static $(shown "$(lang_text Uninstall Close)")" "$box"
[[ $(ui count-windows "$TITLE") == 0 ]] || fail "the main dialog is shown"
ui messagebox "$APP_TITLE" 5 press
wait_exit "$PROGRAM_PID" 30 || fail "the program still runs after the message"
[[ $(ui count-windows "$TITLE") == 0 ]] || fail "the main dialog is shown"
