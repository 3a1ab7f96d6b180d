#include "app/progress_log.h"

#include <cstring>

void AppendLog(UninstallView& view, const char* line) {
  view.LogAddString(line);
  const int count = view.LogCount();
  view.LogSelect(count - 1);
}

void UpdateLogExtent(UninstallView& view) {
  std::unique_ptr<TextMeasure> measure = view.OpenDialogMeasure();
  for (int i = 0; i < view.LogCount(); ++i) {
    const std::string text = view.LogText(i);
    // The terminator is measured too, as the log always has.
    const int width = measure->Width(text.c_str(), text.size() + 1);
    if (width > view.LogHorizontalExtent()) view.LogSetHorizontalExtent(width);
  }
}
