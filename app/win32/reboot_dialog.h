// The restart prompt, template 129. The removal run shows it on its worker
// thread, owned by the main dialog.
#pragma once
#include "app/win32/hosted_dialog.h"
#include "platform/files.h"

class CRebootDlg : public HostedDialog<DialogHost> {
 public:
  explicit CRebootDlg(plat::FileSystem& files);

 protected:
  BOOL OnInitDialog() override;

 private:
  plat::FileSystem& files_;
};
