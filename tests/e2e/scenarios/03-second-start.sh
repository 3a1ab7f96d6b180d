# A second start while the first copy runs ends without a second dialog and
# without a message; the first copy goes on. (The English caption is not the
# title that the second copy looks for, so it does not bring the first one
# forward; the Chinese scenario covers that.)
prepare_machine
stage_package en

start_program
first=$PROGRAM_PID
ui wait-dialog 60
start_program
wait_exit "$PROGRAM_PID" 30 || fail "the second copy still runs"
[[ $(ui count-windows "$TITLE") == 1 ]] || fail "not exactly one main dialog"
[[ $(ui count-windows "$APP_TITLE") == 0 ]] || fail "the second copy left a window"
expect_log "$(msg IDS_SELECTPRN1)"

step "the first copy still works"
ui check "ZT Print Proc" >/dev/null
ui click 2
wait_exit "$first" 30 || fail "the first copy still runs after Exit"
