// The removal run: the worker's walk over the checked entries, the USB driver
// removal, the restart prompt, and giving the dialog back.
#include "app/progress_log.h"
#include "config/text_keys.h"
#include "engine/steps.h"
#include "inventory/components.h"
#include "platform/os_type.h"
#include "res/resource.h"
#include "usb/usb_driver.h"

namespace {

// An entry's kind is told from its text alone: monitor first, then print
// processor; whatever is neither is a printer.
StepOutcome RemoveEntry(UninstallSession& session, RunState& run) {
  plat::FileSystem& files = session.platform.files;
  const char* name = session.m_strCurrentName.c_str();
  if (IsConfiguredMonitor(files, name)) return RemoveMonitorEntry(session, run);
  if (IsConfiguredProcessor(files, name)) return RemoveProcessorEntry(session, run);
  return RemovePrinterEntry(session, run);
}

// False when a step ended the run.
bool WalkCheckedEntries(UninstallSession& session, RunState& run) {
  UninstallView& view = session.view;
  if (view.ItemCount() <= 0) return true;
  do {
    session.platform.clock.Sleep(500);  // before every entry, checked or not
    if (view.IsItemChecked(run.index)) {
      session.m_strCurrentName = view.ItemText(run.index);
      if (RemoveEntry(session, run) == StepOutcome::kEndsRun) return false;
    }
    // After a removal the index was stepped back: the entry that moved up is next.
    ++run.index;
  } while (run.index < view.ItemCount());
  return true;
}

void GiveDialogBack(UninstallSession& session) {
  UninstallView& view = session.view;
  if (view.ItemCount() > 0) {
    LogPlain(session, text::kSelectPrn1);
    view.EnableControl(IDC_COMPONENTS, true);
    view.EnableControl(IDC_UNINSTALL, true);
    view.EnableControl(IDC_SELECT, true);
    view.EnableControl(win::kIdCancel, true);
    const int osType = GetOSType(session.platform.system);
    if (osType != OS_WIN9X && osType != OS_NT4) view.EnableControl(IDC_USB_DRIVER, true);
  } else {
    view.EnableControl(win::kIdCancel, true);
  }
  UpdateLogExtent(view);
  view.LogSelect(view.LogCount() - 1);
}

}  // namespace

int UninstallThreadProc(UninstallSession& session) {
  UninstallView& view = session.view;
  view.EnableControl(IDC_UNINSTALL, false);
  view.EnableControl(IDC_COMPONENTS, false);
  view.EnableControl(IDC_SELECT, false);
  view.EnableControl(win::kIdCancel, false);
  view.EnableControl(IDC_USB_DRIVER, false);

  RunState run;
  // A run that a step ended skips the USB driver and the restart prompt, even
  // when entries were removed before.
  if (WalkCheckedEntries(session, run)) {
    if (view.IsUsbBoxChecked()) RemoveUsbDriver(session);
    if (run.removed && view.ShowRestartPrompt() == win::kIdOk)
      RequestSystemRestart(session.platform);
  }

  GiveDialogBack(session);
  // Last of all: until here the run uses the dialog, which must not close.
  session.runActive.store(false);
  return 1;
}
