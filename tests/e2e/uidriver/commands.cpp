#include "commands.h"

#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <functional>
#include <map>

#include "found_windows.h"
#include "remote_list_view.h"
#include "res/resource.h"
#include "text.h"

namespace uidriver {
namespace {

// The run disables Exit from its first moment to its end; Exit enabled this
// long means that no run is under way.
constexpr ULONGLONG kIdleMs = 2000;
constexpr double kCloseSeconds = 10;

int Fail(const std::string& why) {
  std::fprintf(stderr, "uidriver: %s\n", why.c_str());
  return 1;
}

double NumberArg(const Invocation& invocation, size_t index, double fallback) {
  if (index >= invocation.args.size()) return fallback;
  return std::wcstod(invocation.args[index].c_str(), nullptr);
}

std::wstring Arg(const Invocation& invocation, size_t index) {
  return index < invocation.args.size() ? invocation.args[index] : std::wstring();
}

const char* EnabledWord(HWND window) { return ::IsWindowEnabled(window) ? "enabled" : "disabled"; }

std::vector<std::wstring> LogLines(HWND dialog) {
  std::vector<std::wstring> lines;
  HWND log = ::GetDlgItem(dialog, IDC_LOG);
  DWORD_PTR count = 0;
  if (log == nullptr ||
      !::SendMessageTimeoutW(log, LB_GETCOUNT, 0, 0, SMTO_ABORTIFHUNG, 5000, &count))
    return lines;
  for (int i = 0; i < static_cast<int>(count); ++i) lines.push_back(ListBoxLine(log, i));
  return lines;
}

void PrintLog(HWND dialog, FILE* out = stdout) {
  for (const std::wstring& line : LogLines(dialog)) {
    const std::string text = "log " + OneLine(line);
    if (out == stdout) {
      PrintLine(text);
    } else {
      std::fprintf(out, "%s\n", text.c_str());
    }
  }
}

void PrintItems(HWND dialog) {
  RemoteListView list(::GetDlgItem(dialog, IDC_COMPONENTS));
  int index = 0;
  for (const ListItem& item : list.Items())
    PrintLine("item " + std::to_string(index++) + (item.checked ? " checked " : " unchecked ") +
              OneLine(item.text));
}

void PrintControl(const char* label, HWND dialog, int id) {
  HWND control = ::GetDlgItem(dialog, id);
  if (control == nullptr) {
    PrintLine(std::string(label) + " missing");
    return;
  }
  PrintLine(std::string(label) + " " + EnabledWord(control) + " " + OneLine(WindowText(control)));
}

void PrintState(HWND dialog) {
  PrintLine("dialog " + OneLine(WindowText(dialog)));
  PrintLine(std::string("iconic ") + (::IsIconic(dialog) ? "yes" : "no"));
  PrintLine("note " + OneLine(WindowText(::GetDlgItem(dialog, IDC_NOTE))));
  PrintLine(std::string("list ") + EnabledWord(::GetDlgItem(dialog, IDC_COMPONENTS)));
  PrintItems(dialog);
  PrintControl("button 1002", dialog, IDC_UNINSTALL);
  PrintControl("button 1012", dialog, IDC_SELECT);
  PrintControl("button 2", dialog, IDCANCEL);
  HWND usb = ::GetDlgItem(dialog, IDC_USB_DRIVER);
  const bool usbChecked = usb != nullptr && ::SendMessageW(usb, BM_GETCHECK, 0, 0) == BST_CHECKED;
  PrintLine(std::string("usb ") + EnabledWord(usb) + (usbChecked ? " checked " : " unchecked ") +
            OneLine(WindowText(usb)));
  PrintLog(dialog);
}

// Presses a button as a user would: only a visible, enabled one. Posted, so that
// a handler that opens a modal window does not hold this program.
bool Press(HWND button) {
  if (button == nullptr || !::IsWindowVisible(button) || !::IsWindowEnabled(button)) return false;
  return ::PostMessageW(button, BM_CLICK, 0, 0) != FALSE;
}

HWND MainDialog(const Invocation& invocation) {
  return invocation.title.empty() ? nullptr : FindTopLevel(invocation.title);
}

void PrintDialogTexts(const char* label, HWND dialog, std::initializer_list<int> ids) {
  PrintLine(std::string(label) + " " + OneLine(WindowText(dialog)));
  for (int id : ids)
    PrintLine(std::string(label) + "-" + std::to_string(id) + " " +
              OneLine(WindowText(::GetDlgItem(dialog, id))));
}

HWND WaitOwned(HWND dialog, int markerId, double seconds) {
  HWND found = nullptr;
  WaitFor(seconds, [&] { return (found = FindOwnedDialog(dialog, markerId)) != nullptr; });
  return found;
}

std::string Geometry(HWND window) {
  RECT rect{};
  ::GetWindowRect(window, &rect);
  char text[64];
  std::snprintf(text, sizeof text, "%ldx%ld+%ld+%ld", rect.right - rect.left,
                rect.bottom - rect.top, rect.left, rect.top);
  return text;
}

using Handler = std::function<int(const Invocation&, HWND dialog)>;

struct Command {
  bool needsDialog;
  Handler run;
};

int WaitDialog(const Invocation& invocation, HWND) {
  HWND dialog = nullptr;
  if (!WaitFor(NumberArg(invocation, 0, 30), [&] {
        dialog = MainDialog(invocation);
        return dialog != nullptr;
      }))
    return Fail("no dialog titled " + ToUtf8(invocation.title));
  PrintLine("dialog " + OneLine(WindowText(dialog)));
  return 0;
}

int WaitGone(const Invocation& invocation, HWND) {
  if (!WaitFor(NumberArg(invocation, 0, 30), [&] { return MainDialog(invocation) == nullptr; }))
    return Fail("the dialog is still open");
  PrintLine("gone");
  return 0;
}

int WaitLog(const Invocation& invocation, HWND dialog) {
  const std::wstring wanted = Arg(invocation, 0);
  const bool found = WaitFor(NumberArg(invocation, 1, 30), [&] {
    for (const std::wstring& line : LogLines(dialog))
      if (line == wanted) return true;
    return false;
  });
  if (!found) {
    PrintLog(dialog, stderr);
    return Fail("no log line " + ToUtf8(wanted));
  }
  PrintLine("log " + OneLine(wanted));
  return 0;
}

int SetItems(const Invocation& invocation, HWND dialog, bool all, bool checked) {
  RemoteListView list(::GetDlgItem(dialog, IDC_COMPONENTS));
  if (!list.ok()) return Fail("cannot reach the component list");
  if (!::IsWindowEnabled(::GetDlgItem(dialog, IDC_COMPONENTS)))
    return Fail("the component list is disabled");
  const std::vector<ListItem> items = list.Items();
  bool matched = false;
  for (size_t i = 0; i < items.size(); ++i) {
    if (!all && items[i].text != Arg(invocation, 0)) continue;
    matched = true;
    if (!list.SetChecked(static_cast<int>(i), checked))
      return Fail("cannot set the check of " + ToUtf8(items[i].text));
  }
  if (!matched && !all) return Fail("no entry " + ToUtf8(Arg(invocation, 0)));
  PrintItems(dialog);
  return 0;
}

int Click(const Invocation& invocation, HWND dialog) {
  const int id = static_cast<int>(NumberArg(invocation, 0, -1));
  HWND button = ::GetDlgItem(dialog, id);
  if (!Press(button))
    return Fail("control " + std::to_string(id) + (button ? " is not enabled" : " is missing"));
  PrintLine("clicked " + std::to_string(id));
  return 0;
}

int WaitIdle(const Invocation& invocation, HWND dialog) {
  ULONGLONG enabledSince = 0;
  std::string problem;
  const bool idle = WaitFor(NumberArg(invocation, 0, 120), [&] {
    if (!::IsWindow(dialog)) {
      problem = "the dialog has gone";
      return true;
    }
    if (FindOwnedDialog(dialog, IDC_REBOOT_NOTE1) != nullptr) {
      problem = "the restart prompt is open";
      return true;
    }
    if (!::IsWindowEnabled(::GetDlgItem(dialog, IDCANCEL))) {
      enabledSince = 0;
      return false;
    }
    const ULONGLONG now = ::GetTickCount64();
    if (enabledSince == 0) enabledSince = now;
    return now - enabledSince >= kIdleMs;
  });
  if (!problem.empty()) return Fail(problem);
  if (!idle) return Fail("the run has not ended");
  PrintLine("idle");
  return 0;
}

int WaitPrompt(const Invocation& invocation, HWND dialog) {
  HWND prompt = WaitOwned(dialog, IDC_REBOOT_NOTE1, NumberArg(invocation, 0, 60));
  if (prompt == nullptr) return Fail("no restart prompt");
  PrintDialogTexts("prompt", prompt,
                   {IDC_REBOOT_NOTE1, IDC_REBOOT_NOTE2, IDC_REBOOT_NOTE3, IDOK, IDCANCEL});
  return 0;
}

int AnswerPrompt(const Invocation& invocation, HWND dialog) {
  const std::wstring answer = Arg(invocation, 0);
  if (answer != L"yes" && answer != L"no") return Fail("answer yes or no");
  HWND prompt = WaitOwned(dialog, IDC_REBOOT_NOTE1, NumberArg(invocation, 1, 60));
  if (prompt == nullptr) return Fail("no restart prompt");
  PrintDialogTexts("prompt", prompt,
                   {IDC_REBOOT_NOTE1, IDC_REBOOT_NOTE2, IDC_REBOOT_NOTE3, IDOK, IDCANCEL});
  if (!Press(::GetDlgItem(prompt, answer == L"yes" ? IDOK : IDCANCEL)))
    return Fail("cannot press the answer");
  if (!WaitFor(kCloseSeconds, [&] { return !::IsWindow(prompt) || !::IsWindowVisible(prompt); }))
    return Fail("the restart prompt stays open");
  PrintLine("answered " + ToUtf8(answer));
  return 0;
}

int OpenAbout(const Invocation& invocation, HWND dialog) {
  ::PostMessageW(dialog, WM_SYSCOMMAND, IDM_ABOUTBOX, 0);
  HWND about = WaitOwned(dialog, IDC_ABOUT_VERSION, NumberArg(invocation, 0, 20));
  if (about == nullptr) return Fail("no About box");
  PrintDialogTexts("about", about, {IDC_ABOUT_VERSION, IDC_ABOUT_COPYRIGHT, IDOK});
  return 0;
}

int CloseAbout(const Invocation&, HWND dialog) {
  HWND about = FindOwnedDialog(dialog, IDC_ABOUT_VERSION);
  if (about == nullptr) return Fail("no About box");
  if (!Press(::GetDlgItem(about, IDOK))) return Fail("cannot press OK");
  if (!WaitFor(kCloseSeconds, [&] { return !::IsWindow(about); }))
    return Fail("the About box stays open");
  PrintLine("about closed");
  return 0;
}

int MessageBoxCommand(const Invocation& invocation, HWND) {
  const std::wstring caption = Arg(invocation, 0);
  HWND box = nullptr;
  if (!WaitFor(NumberArg(invocation, 1, 20),
               [&] { return (box = FindMessageBox(caption)) != nullptr; }))
    return Fail("no message box captioned " + ToUtf8(caption));
  PrintLine("messagebox " + OneLine(WindowText(box)));
  for (HWND child = ::GetWindow(box, GW_CHILD); child != nullptr;
       child = ::GetWindow(child, GW_HWNDNEXT)) {
    wchar_t className[32] = {};
    ::GetClassNameW(child, className, 32);
    const std::wstring text = WindowText(child);
    if (!text.empty()) PrintLine("messagebox-" + ToUtf8(className) + " " + OneLine(text));
    const LONG_PTR style = ::GetWindowLongPtrW(child, GWL_STYLE);
    if (std::wstring(className) == L"Static" && (style & SS_TYPEMASK) == SS_ICON &&
        ::IsWindowVisible(child) && ::SendMessageW(child, STM_GETICON, 0, 0) != 0)
      PrintLine("messagebox-icon");
  }
  if (Arg(invocation, 2) == L"press") {
    if (!Press(::GetDlgItem(box, IDOK))) return Fail("cannot press OK");
    if (!WaitFor(kCloseSeconds, [&] { return !::IsWindow(box); }))
      return Fail("the message box stays open");
    PrintLine("pressed OK");
  }
  return 0;
}

int WaitWindow(const Invocation& invocation, HWND, bool present) {
  const std::wstring title = Arg(invocation, 0);
  if (!WaitFor(NumberArg(invocation, 1, 20),
               [&] { return (FindTopLevel(title) != nullptr) == present; }))
    return Fail(std::string(present ? "no window " : "still a window ") + ToUtf8(title));
  PrintLine(std::string(present ? "window " : "no window ") + ToUtf8(title));
  return 0;
}

int Rect(const Invocation& invocation, HWND dialog) {
  const std::wstring which = Arg(invocation, 0);
  HWND window = which == L"about"    ? FindOwnedDialog(dialog, IDC_ABOUT_VERSION)
                : which == L"prompt" ? FindOwnedDialog(dialog, IDC_REBOOT_NOTE1)
                                     : dialog;
  if (window == nullptr) return Fail("no such window");
  PrintLine(Geometry(window));
  return 0;
}

const std::map<std::wstring, Command>& Commands() {
  static const std::map<std::wstring, Command> commands = {
      {L"wait-dialog", {false, WaitDialog}},
      {L"wait-gone", {false, WaitGone}},
      {L"state", {true, [](const Invocation&, HWND d) { return PrintState(d), 0; }}},
      {L"items", {true, [](const Invocation&, HWND d) { return PrintItems(d), 0; }}},
      {L"log", {true, [](const Invocation&, HWND d) { return PrintLog(d), 0; }}},
      {L"wait-log", {true, WaitLog}},
      {L"check", {true, [](const Invocation& i, HWND d) { return SetItems(i, d, false, true); }}},
      {L"uncheck",
       {true, [](const Invocation& i, HWND d) { return SetItems(i, d, false, false); }}},
      {L"check-all",
       {true, [](const Invocation& i, HWND d) { return SetItems(i, d, true, true); }}},
      {L"click", {true, Click}},
      {L"wait-idle", {true, WaitIdle}},
      {L"wait-prompt", {true, WaitPrompt}},
      {L"answer-prompt", {true, AnswerPrompt}},
      {L"open-about", {true, OpenAbout}},
      {L"close-about", {true, CloseAbout}},
      {L"messagebox", {false, MessageBoxCommand}},
      {L"wait-window", {false, [](const Invocation& i, HWND d) { return WaitWindow(i, d, true); }}},
      {L"wait-no-window",
       {false, [](const Invocation& i, HWND d) { return WaitWindow(i, d, false); }}},
      {L"count-windows",
       {false, [](const Invocation& i,
                  HWND) { return PrintLine(std::to_string(CountTopLevel(Arg(i, 0)))), 0; }}},
      {L"minimize",
       {true, [](const Invocation&, HWND d) { return ::ShowWindowAsync(d, SW_MINIMIZE), 0; }}},
      {L"rect", {true, Rect}},
  };
  return commands;
}

}  // namespace

int RunCommand(const Invocation& invocation) {
  const auto found = Commands().find(invocation.command);
  if (found == Commands().end()) {
    PrintUsage();
    return 2;
  }
  HWND dialog = nullptr;
  if (found->second.needsDialog) {
    dialog = MainDialog(invocation);
    if (dialog == nullptr) return Fail("no dialog titled " + ToUtf8(invocation.title));
  }
  return found->second.run(invocation, dialog);
}

void PrintUsage() {
  std::fprintf(stderr,
               "usage: uidriver [--title <main dialog caption>] <command> [args]\n"
               "  wait-dialog <s> | wait-gone <s> | state | items | log | wait-log <line> <s>\n"
               "  check <entry> | uncheck <entry> | check-all | click <control id>\n"
               "  wait-idle <s> | wait-prompt <s> | answer-prompt yes|no <s>\n"
               "  open-about <s> | close-about | messagebox <caption> <s> [press]\n"
               "  wait-window <title> <s> | wait-no-window <title> <s> | count-windows <title>\n"
               "  minimize | rect dialog|about|prompt\n");
}

}  // namespace uidriver
