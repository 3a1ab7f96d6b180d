// Log lines of the removal steps: a language text used as a format with the
// entry's name, or the text as it is.
#include "app/progress_log.h"
#include "config/texts.h"
#include "engine/steps.h"

void LogFormatted(UninstallSession& session, const char* key) {
  const std::string line = FormatText(g_Message.GetText(key), session.m_strCurrentName.c_str());
  AppendLog(session.view, line.c_str());
}

void LogPlain(UninstallSession& session, const char* key) {
  AppendLog(session.view, g_Message.GetText(key).c_str());
}
