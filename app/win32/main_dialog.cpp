#include "app/win32/main_dialog.h"

#include "app/win32/about_dialog.h"
#include "app/win32/reboot_dialog.h"
#include "app/win32/worker_thread.h"
#include "res/resource.h"

namespace {

// Widths of texts in a window's own device context, released with the object.
class WindowTextMeasure : public TextMeasure {
 public:
  explicit WindowTextMeasure(HWND window) : window_(window), dc_(GetDC(window)) {}
  WindowTextMeasure(const WindowTextMeasure&) = delete;
  WindowTextMeasure& operator=(const WindowTextMeasure&) = delete;
  ~WindowTextMeasure() override {
    if (dc_ != nullptr) ReleaseDC(window_, dc_);
  }
  int Width(const char* text, size_t length) override {
    SIZE size = {0, 0};
    if (dc_ == nullptr || !GetTextExtentPoint32A(dc_, text, static_cast<int>(length), &size)) {
      return 0;
    }
    return size.cx;
  }

 private:
  HWND window_;
  HDC dc_;
};

}  // namespace

MainDialog::MainDialog(win32::Win32Platform& machine)
    : HostedDialog<MainDialogHost>(IDD_UNINSTALL_DIALOG),
      machine_(machine),
      platform_(machine.platform()),
      m_hAppIcon(LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_MAINFRAME))),
      logic_(platform_, *this) {}

BOOL MainDialog::OnInitDialog() {
  components_.Attach(Item(IDC_COMPONENTS));
  log_.Attach(Item(IDC_LOG));
  // The system's own message boxes (start-up, USB probe) are owned by this dialog.
  machine_.desktop().SetOwnerWindow(reinterpret_cast<plat::WindowHandle>(window()));
  return logic_.OnInitDialog();
}

void MainDialog::OnCommand(int id) {
  switch (id) {
    case IDC_UNINSTALL:
      logic_.OnUninstall();
      break;
    case IDC_SELECT:
      logic_.OnSelect();
      break;
    default:
      Dialog::OnCommand(id);
  }
}

// Enter and Esc, the close command and Exit: the worker of a run uses this
// dialog until its final block, so the dialog stays while a run is active.
void MainDialog::OnOk() {
  if (logic_.CanClose()) End(IDOK);
}

void MainDialog::OnCancel() {
  if (logic_.CanClose()) logic_.OnCancel();
}

bool MainDialog::OnMessage(UINT message, WPARAM wParam, LPARAM, INT_PTR* result) {
  switch (message) {
    case WM_SYSCOMMAND:
      if (!logic_.OnSysCommand(static_cast<uint32_t>(wParam))) return false;
      *result = TRUE;
      return true;
    case WM_PAINT:
      if (!IsIconic(window())) return false;
      PaintMinimized();
      *result = TRUE;
      return true;
    case WM_QUERYDRAGICON:
      *result = reinterpret_cast<INT_PTR>(m_hAppIcon);
      return true;
    case WM_HELP:
      SetWindowLongPtrA(window(), DWLP_MSGRESULT, logic_.OnHelpInfo());
      *result = TRUE;
      return true;
    case WM_DESTROY:
      machine_.desktop().SetOwnerWindow(0);
      return false;
    default:
      return false;
  }
}

void MainDialog::PaintMinimized() {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(window(), &paint);
  SendMessageA(window(), WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
  RECT client;
  GetClientRect(window(), &client);
  const int x = (client.right - client.left - GetSystemMetrics(SM_CXICON) + 1) / 2;
  const int y = (client.bottom - client.top - GetSystemMetrics(SM_CYICON) + 1) / 2;
  DrawIcon(dc, x, y, m_hAppIcon);
  EndPaint(window(), &paint);
}

bool MainDialog::HasSystemMenu() { return GetSystemMenu(window(), FALSE) != nullptr; }

void MainDialog::AppendAboutMenuItem(const std::string& text) {
  HMENU menu = GetSystemMenu(window(), FALSE);
  if (menu == nullptr) return;
  AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
  AppendMenuA(menu, MF_STRING, IDM_ABOUTBOX, text.c_str());
}

void MainDialog::SetDialogIcons() {
  SendMessageA(window(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_hAppIcon));
  SendMessageA(window(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_hAppIcon));
}

void MainDialog::AddComponentListExtendedStyle(uint32_t style) {
  components_.AddExtendedStyle(style);
}

void MainDialog::ShowAboutBox() {
  CAboutDlg about(platform_.files);
  about.RunModal(window());  // its result means nothing here
}

std::unique_ptr<TextMeasure> MainDialog::OpenDialogMeasure() {
  return std::make_unique<WindowTextMeasure>(window());
}

void MainDialog::EnableControl(int id, bool enable) { EnableWindow(Item(id), enable); }

bool MainDialog::IsUsbBoxChecked() {
  return SendMessageA(Item(IDC_USB_DRIVER), BM_GETCHECK, 0, 0) != BST_UNCHECKED;
}

int MainDialog::ShowRestartPrompt() {
  CRebootDlg prompt(platform_.files);
  return static_cast<int>(prompt.RunModal(window()));
}

bool MainDialog::StartWorker(std::function<void()> body) {
  return StartDetachedThread(std::move(body));
}
