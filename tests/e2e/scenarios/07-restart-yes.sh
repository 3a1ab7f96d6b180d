# One print processor is removed and the restart prompt is answered Yes: the
# program asks Windows to restart (ExitWindowsEx with EWX_REBOOT after enabling
# the shutdown privilege).
#
# Wine carries the request out by running "wineboot --end-session" without
# --shutdown: every window gets WM_QUERYENDSESSION and WM_ENDSESSION, wineboot
# ends the processes that agreed (the program among them, as a real restart
# would), then simulates the restart, which runs the RunOnce entries: the marker
# entry leaves C:\e2e-restarted.txt behind. It is added only once the prompt is
# up, because Wine runs RunOnce at the start of every session too. That the run
# gives the dialog back after the request is covered on the simulated machine:
# here the session ends under it.
prepare_machine
stage_package en
before=$(machine_state)

start_program
ui wait-dialog 60
ui check "ZT Print Proc" >/dev/null
ui click 1002
ui wait-prompt 60 >/dev/null
win "$TOOLS/prepare.exe" arm-restart-marker
[[ ! -e $WINEPREFIX/drive_c/e2e-restarted.txt ]] || fail "the marker is there before the answer"
ui answer-prompt yes 10

step "the restart is requested: the session ends and the restart runs RunOnce"
restarted() { [[ -e $WINEPREFIX/drive_c/e2e-restarted.txt ]]; }
within 60 restarted || fail "no restart: the RunOnce marker did not appear"
wait_exit "$PROGRAM_PID" 60 || fail "the program survived the end of the session"
expect_changes "$before" "${SPOOLER_STARTED[@]}" \
  "- processor Windows NT x86: ZT Print Proc" \
  '- file C:\windows\system32\spool\prtprocs\x64\ztproc.dll' \
  '- key HKLM\SYSTEM\CurrentControlSet\Control\Print\Environments\Windows NT x86\Print Processors\ZT Print Proc' \
  '+ file C:\e2e-restarted.txt'
