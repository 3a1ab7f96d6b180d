# One print processor is removed and the restart prompt is answered No: no
# restart. Entries remain, so the controls come back, the USB box included (it is
# enabled again on this Windows version although no device answered at start).
#
# Wine carries out ExitWindowsEx(EWX_REBOOT) by running "wineboot --end-session"
# without --shutdown: a simulated restart, which runs the RunOnce entries. The
# marker entry is added only now, because Wine runs RunOnce at the start of every
# session too.
prepare_machine
stage_package en
before=$(machine_state)

start_program
ui wait-dialog 60
expect_line "usb disabled unchecked $(lang_text Uninstall USBuninstall)" "$(ui state)"
ui check "ZT Print Proc" >/dev/null
ui click 1002
ui wait-prompt 60 >/dev/null
win "$TOOLS/prepare.exe" arm-restart-marker
ui answer-prompt no 10
ui wait-idle 60
expect_log "$(msg IDS_SELECTPRN1)" "$(msg IDS_DELETING1 'ZT Print Proc')" \
  "$(msg IDS_SUCCESS 'ZT Print Proc')" "$(msg IDS_SELECTPRN1)"

step "the other entries stay, unchecked; every control is enabled again"
[[ $(ui items) == "item 0 unchecked Qorvelin LP-210
item 1 unchecked Qorvelin LP-210 Office
item 2 unchecked ZT IP Monitor
item 3 unchecked ZT USB Monitor" ]] || fail "unexpected entries: $(ui items)"
state=$(ui state)
for line in "list enabled" "button 1002 enabled $(lang_text Uninstall Uninstall)" \
  "button 1012 enabled $(lang_text Uninstall Select)" "button 2 enabled $(lang_text Uninstall Exit)" \
  "usb enabled unchecked $(lang_text Uninstall USBuninstall)"; do
  expect_line "$line" "$state"
done

step "no restart: the marker stays away"
sleep 5
expect_changes "$before" "${SPOOLER_STARTED[@]}" \
  "- processor Windows NT x86: ZT Print Proc" \
  '- file C:\windows\system32\spool\prtprocs\x64\ztproc.dll' \
  '- key HKLM\SYSTEM\CurrentControlSet\Control\Print\Environments\Windows NT x86\Print Processors\ZT Print Proc'
