// The About box, template 100.
#pragma once
#include "app/win32/hosted_dialog.h"
#include "platform/files.h"

class CAboutDlg : public HostedDialog<DialogHost> {
 public:
  explicit CAboutDlg(plat::FileSystem& files);

 protected:
  BOOL OnInitDialog() override;

 private:
  plat::FileSystem& files_;
};
