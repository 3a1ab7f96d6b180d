# The demonstration: the sample vendor's components on a Wine machine, the sample
# package as the current folder, and the program started there. With
# DEMO_INTERACTIVE=1 the user works the dialog; otherwise the demo checks every
# entry, presses Uninstall, answers the restart prompt with No, prints the
# progress log and saves screenshots.
prepare_machine
stage_package en
before=$(machine_state)

start_program
ui wait-dialog 60
echo "The vendor's components found on this machine:"
ui items

if [[ ${DEMO_INTERACTIVE:-0} == 1 ]]; then
  echo "The uninstaller is open on $DISPLAY; the demo goes on when it is closed."
  while ! wait_exit "$PROGRAM_PID" 5; do :; done
else
  screenshot dialog demo-start
  ui click 1012
  all_checked() { ! ui items | grep -q ' unchecked '; }
  within 10 all_checked || fail "Select left entries unchecked: $(ui items)"
  ui click 1002
  ui answer-prompt no 180
  ui wait-idle 60
  echo "Progress log:"
  ui log | sed 's/^log /  /'
  screenshot dialog demo-end
  ui click 2
  ui wait-gone 20
  wait_exit "$PROGRAM_PID" 20 || fail "the program still runs after Exit"
fi

echo "What changed on the machine:"
machine_changes "$before" | sed 's/^/  /'
