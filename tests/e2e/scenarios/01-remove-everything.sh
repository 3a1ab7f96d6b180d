# The user checks every entry with Select and uninstalls. The sample vendor's
# printers, IP port, setup files, port monitors with their files and keys and
# the print processor with its file and key go; another vendor's printer,
# driver, port, setup file and key stay.
#
# Wine: DeletePrinterDriverExA refuses DPD_DELETE_UNUSED_FILES with error 87, so
# the driver line of each printer is IDS_ERR_DRVDEL followed by "    er=87" and
# the driver stays installed; GetPrinterA reports no queued jobs on Wine, so the
# job refusals are covered on the simulated machine only.
prepare_machine
stage_package en
before=$(machine_state)

step "start: the vendor's components are listed, nothing checked"
start_program
ui wait-dialog 60
[[ $(ui items) == "item 0 unchecked Qorvelin LP-210
item 1 unchecked Qorvelin LP-210 Office
item 2 unchecked ZT IP Monitor
item 3 unchecked ZT USB Monitor
item 4 unchecked ZT Print Proc" ]] || fail "unexpected entries: $(ui items)"
state=$(ui state)
# The driver file is there but no USB device answers: the option is off.
expect_line "usb disabled unchecked $(lang_text Uninstall USBuninstall)" "$state"
expect_log "$(msg IDS_SELECTPRN1)"

step "Select checks every entry; Uninstall removes them"
ui click 1012
all_checked() { [[ $(ui items | grep -c ' checked ') == 5 ]]; }
within 10 all_checked || fail "Select left entries unchecked: $(ui items)"
ui click 1002
ui answer-prompt no 180
ui wait-idle 60
drv_failed="$(msg IDS_ERR_DRVDEL)    er=87"
expect_log "$(msg IDS_SELECTPRN1)" \
  "$(msg IDS_DELETING2 'Qorvelin LP-210')" "$(msg IDS_SUCCESS 'Qorvelin LP-210')" \
  "$(msg IDS_DRVDELETING 'Qorvelin LP-210')" "$drv_failed" \
  "$(msg IDS_DELETING2 'Qorvelin LP-210 Office')" "$(msg IDS_SUCCESS 'Qorvelin LP-210 Office')" \
  "$(msg IDS_DRVDELETING 'Qorvelin LP-210 Office')" "$drv_failed" \
  "$(msg IDS_DELETING1 'ZT IP Monitor')" "$(msg IDS_SUCCESS 'ZT IP Monitor')" \
  "$(msg IDS_DELETING1 'ZT USB Monitor')" "$(msg IDS_SUCCESS 'ZT USB Monitor')" \
  "$(msg IDS_DELETING1 'ZT Print Proc')" "$(msg IDS_SUCCESS 'ZT Print Proc')"

step "the list is empty: only Exit is enabled"
state=$(ui state)
for line in "list disabled" "button 1002 disabled $(lang_text Uninstall Uninstall)" \
  "button 1012 disabled $(lang_text Uninstall Select)" "button 2 enabled $(lang_text Uninstall Exit)" \
  "usb disabled unchecked $(lang_text Uninstall USBuninstall)"; do
  expect_line "$line" "$state"
done
grep -q '^item ' <<<"$state" && fail "entries left: $state"

step "the machine: the vendor's components are gone, the other vendor's stay"
# Stay as well: the vendor's driver (see above), the port USB001 (only the
# vendor's IP ports are deleted) and the USB driver file (the vendor's USB
# driver uninstaller removes that one).
expect_changes "$before" "${SPOOLER_STARTED[@]}" \
  "- printer Qorvelin LP-210 port=USB001 driver=Qorvelin LP-210" \
  "- printer Qorvelin LP-210 Office port=ZTIP_10.0.0.5 driver=Qorvelin LP-210" \
  "- port ZTIP_10.0.0.5" \
  "- monitor ZT IP Monitor" \
  "- monitor ZT USB Monitor" \
  "- processor Windows NT x86: ZT Print Proc" \
  '- file C:\windows\system32\ztusbmon.dll' \
  '- file C:\windows\system32\ztusbmonui.dll' \
  '- file C:\windows\system32\ztusbport.dll' \
  '- file C:\windows\system32\ztipmon.dll' \
  '- file C:\windows\system32\ztipmonui.dll' \
  '- file C:\windows\system32\spool\prtprocs\x64\ztproc.dll' \
  '- file C:\windows\inf\oem5.inf' \
  '- file C:\windows\inf\oem5.PNF' \
  '- file C:\windows\inf\oem6.inf' \
  '- file C:\windows\inf\oem6.PNF' \
  '- key HKLM\SOFTWARE\QORVELIN\INSTALLPRINTER' \
  '- key HKLM\SOFTWARE\QORVELIN\PORTNAME' \
  '- key HKLM\SYSTEM\CurrentControlSet\Control\Print\Monitors\ZT IP Monitor' \
  '- key HKLM\SYSTEM\CurrentControlSet\Control\Print\Monitors\ZT USB Monitor' \
  '- key HKLM\SYSTEM\CurrentControlSet\Control\Print\Environments\Windows NT x86\Print Processors\ZT Print Proc'

step "Exit ends the program"
ui click 2
ui wait-gone 20
wait_exit "$PROGRAM_PID" 20 || fail "the program still runs after Exit"
