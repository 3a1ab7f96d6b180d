# The Chinese language file (GBK) with LANGUAGE=0 on a Chinese Windows (Wine
# started with LANG=zh_CN.UTF-8 has the ANSI code page 936): every text shows as
# Chinese and the dialogs take the GB2312 font (see the screenshots). The sample's
# Chinese caption is the title that a second copy looks for, so a second start
# brings the minimized first copy back.
use_chinese_windows
prepare_machine
stage_package zh

step "main dialog"
start_program
ui wait-dialog 60
state=$(ui state)
expect_line "dialog $TITLE" "$state"
expect_line "note $(shown "$(lang_text Uninstall Note)")" "$state"
for line in "button 1002 enabled $(lang_text Uninstall Uninstall)" \
  "button 1012 enabled $(lang_text Uninstall Select)" "button 2 enabled $(lang_text Uninstall Exit)" \
  "usb disabled unchecked $(lang_text Uninstall USBuninstall)" "log $(msg IDS_SELECTPRN1)"; do
  expect_line "$line" "$state"
done
screenshot dialog main-dialog-zh

step "About box"
about=$(ui open-about 20)
expect_about_texts "$about"
screenshot about about-box-zh
ui close-about

step "a second start brings the minimized first copy back"
first=$PROGRAM_PID
iconic() { [[ $(ui state) == *$'\n'"iconic $1"$'\n'* ]]; }
ui minimize
within 10 iconic yes || fail "the dialog does not minimize"
start_program
wait_exit "$PROGRAM_PID" 30 || fail "the second copy still runs"
within 10 iconic no || fail "the first copy stays minimized"
[[ $(ui count-windows "$TITLE") == 1 ]] || fail "not exactly one main dialog"
PROGRAM_PID=$first

step "restart prompt and log lines"
ui check "ZT Print Proc" >/dev/null
ui click 1002
prompt=$(ui wait-prompt 60)
expect_prompt_texts "$prompt"
screenshot prompt restart-prompt-zh
ui answer-prompt no 10 >/dev/null
ui wait-idle 60
expect_log "$(msg IDS_SELECTPRN1)" "$(msg IDS_DELETING1 'ZT Print Proc')" \
  "$(msg IDS_SUCCESS 'ZT Print Proc')" "$(msg IDS_SELECTPRN1)"
ui click 2
wait_exit "$PROGRAM_PID" 30 || fail "the program still runs after Exit"
