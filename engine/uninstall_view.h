// The main dialog as the removal engine sees it. On Windows every call is a
// synchronous window message to a control of the UI thread; host tests use a fake.
#pragma once
#include <cstddef>
#include <functional>
#include <memory>
#include <string>

#include "inventory/component_list.h"

// Width of texts in the dialog window's own device context (default font); the
// context is released when the object goes.
class TextMeasure {
 public:
  virtual ~TextMeasure() = default;
  virtual int Width(const char* text, size_t length) = 0;
};

class UninstallView : public ComponentList {
 public:
  // The progress log, list box 1008.
  virtual void LogAddString(const char* line) = 0;  // LB_ADDSTRING
  virtual int LogCount() = 0;                       // LB_GETCOUNT
  virtual void LogSelect(int index) = 0;            // LB_SETCURSEL
  virtual std::string LogText(int index) = 0;       // LB_GETTEXT
  virtual int LogHorizontalExtent() = 0;            // LB_GETHORIZONTALEXTENT
  virtual void LogSetHorizontalExtent(int extent) = 0;
  virtual std::unique_ptr<TextMeasure> OpenDialogMeasure() = 0;

  // EnableWindow on the control with this id (res/resource.h).
  virtual void EnableControl(int id, bool enable) = 0;
  // BM_GETCHECK of check box 1019 is non-zero.
  virtual bool IsUsbBoxChecked() = 0;
  // The restart prompt, modal on the calling thread over the main dialog; its
  // DoModal result (IDOK is consent).
  virtual int ShowRestartPrompt() = 0;
  // Starts body on a new worker thread and returns at once. False: no thread.
  virtual bool StartWorker(std::function<void()> body) = 0;
};
