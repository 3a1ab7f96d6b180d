# The English language file (LANGUAGE=1: the dialogs keep their template font):
# every text of the main dialog, the About box and the restart prompt comes from
# it, the first "\n" of the note is a line break. Screenshots of the three
# dialogs go to build/e2e/screenshots.
prepare_machine
stage_package en

step "main dialog"
start_program
ui wait-dialog 60
state=$(ui state)
expect_line "dialog $TITLE" "$state"
expect_line "note $(shown "$(lang_text Uninstall Note)")" "$state"
[[ $(lang_text Uninstall Note) == *'\n'* ]] || fail "the sample note has no line break to show"
for line in "button 1002 enabled $(lang_text Uninstall Uninstall)" \
  "button 1012 enabled $(lang_text Uninstall Select)" "button 2 enabled $(lang_text Uninstall Exit)" \
  "usb disabled unchecked $(lang_text Uninstall USBuninstall)" "log $(msg IDS_SELECTPRN1)"; do
  expect_line "$line" "$state"
done
screenshot dialog main-dialog-en

step "About box, from the system menu"
about=$(ui open-about 20)
expect_about_texts "$about"
screenshot about about-box-en
ui close-about

step "restart prompt"
ui check "ZT Print Proc" >/dev/null
ui click 1002
prompt=$(ui wait-prompt 60)
expect_prompt_texts "$prompt"
screenshot prompt restart-prompt-en
ui answer-prompt no 10 >/dev/null
ui wait-idle 60
