# No Uninstall.ini in the package folder nor in its DRVCONFIG folder: one
# message box with the IDS_ERR_NOINI text and no icon, captioned with the
# program's title; the main dialog never shows and the program ends once the
# box is closed. Nothing on the machine changes. Without a DRVCONFIG folder
# the message is IDS_ERR_INVALID instead.
prepare_machine
stage_package en
rm "$PKG/Uninstall.ini"
[[ -d $PKG/DRVCONFIG && ! -e $PKG/DRVCONFIG/Uninstall.ini ]] || fail "unexpected package layout"
before=$(machine_state)

start_program
box=$(ui messagebox "$APP_TITLE" 60)
expect_line "messagebox $APP_TITLE" "$box"
expect_line "messagebox-Static $(msg IDS_ERR_NOINI)" "$box"
expect_no_line "messagebox-icon" "$box"
[[ $(ui count-windows "$TITLE") == 0 ]] || fail "the main dialog is shown"
ui messagebox "$APP_TITLE" 5 press
wait_exit "$PROGRAM_PID" 30 || fail "the program still runs after the message"
[[ $(ui count-windows "$TITLE") == 0 ]] || fail "the main dialog is shown"
expect_changes "$before"

step "without a DRVCONFIG folder to look in, the message is IDS_ERR_INVALID"
rm -r "$PKG/DRVCONFIG"
start_program
expect_line "messagebox-Static $(msg IDS_ERR_INVALID)" "$(ui messagebox "$APP_TITLE" 60)"
ui messagebox "$APP_TITLE" 5 press
wait_exit "$PROGRAM_PID" 30 || fail "the program still runs after the message"
