// The shared state: text helpers, journal, fault injection, handle table, clock.
#include "platform/sim/sim_state.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

namespace sim::detail {

std::string Lower(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

bool SameText(const std::string& a, const std::string& b) { return Lower(a) == Lower(b); }

bool ContainsText(const std::string& haystack, const std::string& needle) {
  return Lower(haystack).find(Lower(needle)) != std::string::npos;
}

std::string ArgText(const char* text) { return text ? std::string(text) : "NULL"; }

std::string HexText(uint32_t value) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%X", static_cast<unsigned>(value));
  return text;
}

namespace {

bool GlobMatch(const std::string& pattern, const std::string& name) {
  size_t p = 0, n = 0, starP = std::string::npos, starN = 0;
  while (n < name.size()) {
    if (p < pattern.size() && (pattern[p] == '?' || pattern[p] == name[n])) {
      ++p;
      ++n;
    } else if (p < pattern.size() && pattern[p] == '*') {
      starP = p++;
      starN = n;
    } else if (starP != std::string::npos) {
      p = starP + 1;
      n = ++starN;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == '*') ++p;
  return p == pattern.size();
}

}  // namespace

bool WildcardMatch(const std::string& pattern, const std::string& name) {
  const std::string p = Lower(pattern), n = Lower(name);
  if (p == "*.*") return true;  // the DOS spelling of "everything", dots or not
  if (GlobMatch(p, n)) return true;
  // "name.*" also matches a name without any extension.
  if (p.size() >= 2 && p.compare(p.size() - 2, 2, ".*") == 0 && n.find('.') == std::string::npos)
    return GlobMatch(p.substr(0, p.size() - 2), n);
  return false;
}

SimState::SimState() {
  version.platformId = win::kVerPlatformWin32Nt;
  version.major = 6;
  version.minor = 1;
  version.productType = win::kVerNtWorkstation;
  std::vector<std::string> parts;
  for (const char* folder : {"C:\\Windows\\system32", "C:\\pkg"}) {
    FileTree::Split(folder, "C:\\", &parts);
    files.Put(parts, true, win::kFileAttributeDirectory, "");
  }
}

bool SimState::Faulted(const std::string& call, const std::string& args, win::Error* error) {
  // Every call asks here once, just before it is recorded.
  if (failAt != 0 && failAt == recorded + 1) {
    failAt = 0;
    *error = failAtError;
    return true;
  }
  for (auto it = faults.begin(); it != faults.end(); ++it) {
    if (it->call != call || !ContainsText(args, it->argument)) continue;
    *error = it->error;
    if (it->times > 0 && --it->times == 0) faults.erase(it);
    return true;
  }
  *error = 0;
  return false;
}

win::Error SimState::Injected(const std::string& call, const std::string& args) {
  win::Error error = 0;
  // A call that reports its failure by an error code cannot fail with 0.
  if (Faulted(call, args, &error) && error == 0) error = kGenFailure;
  return error;
}

void SimState::Record(const std::string& call, const std::string& args, win::Error error,
                      bool failed) {
  std::string entry = call + "(" + args + ")";
  if (error != 0 || failed) entry += " -> " + std::to_string(error);
  journal.push_back(std::move(entry));
  ++recorded;
}

Deletion SimState::MakeDeletion(const std::string& call, const std::string& name, win::Error error,
                                const std::string& server, const std::string& environment) {
  Deletion deletion;
  deletion.call = call;
  deletion.name = name;
  deletion.server = server;
  deletion.environment = environment;
  deletion.error = error;
  return deletion;
}

void SimState::RecordDeletion(Deletion deletion) {
  deletions.push_back(std::move(deletion));
  if (deletionHook) deletionHook(deletions.back());
}

uintptr_t SimState::Acquire(HandleKind kind, const std::string& label, uint32_t access) {
  const uintptr_t handle = nextHandle;
  nextHandle += 4;
  OpenHandle& open = handles[handle];
  open.kind = kind;
  open.label = label;
  open.access = access;
  open.spoolerGeneration = spoolerGeneration;
  return handle;
}

OpenHandle* SimState::Find(uintptr_t handle, HandleKind kind) {
  auto it = handles.find(handle);
  return it != handles.end() && it->second.kind == kind ? &it->second : nullptr;
}

bool SimState::Release(uintptr_t handle, HandleKind kind) {
  if (!Find(handle, kind)) {
    ++invalidReleases;
    return false;
  }
  handles.erase(handle);
  return true;
}

std::string SimState::HandleLabel(uintptr_t handle, HandleKind kind) {
  const OpenHandle* open = Find(handle, kind);
  return open ? open->label : "#" + std::to_string(handle);
}

void SimState::RunDueActions() {
  // An action may schedule another that is already due: look again after each.
  for (auto it = actions.begin(); it != actions.end() && it->first <= nowMs; it = actions.begin()) {
    std::function<void()> action = std::move(it->second);
    actions.erase(it);
    action();
  }
}

bool SimState::RedirectionOffForThisThread() const {
  auto it = redirectionDisabled.find(std::this_thread::get_id());
  return it != redirectionDisabled.end() && it->second;
}

SimPrinter* SimState::FindPrinter(const std::string& name) {
  for (SimPrinter& printer : printers)
    if (SameText(printer.name, name)) return &printer;
  return nullptr;
}

std::string SimState::KeyPath(const std::string& path) {
  const size_t first = path.find_first_not_of('\\');
  if (first == std::string::npos) return "";
  const size_t last = path.find_last_not_of('\\');
  return Lower(path.substr(first, last - first + 1));
}

}  // namespace sim::detail
