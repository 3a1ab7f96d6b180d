// Files and folders through the kernel's ANSI calls, with WOW64 redirection.
#include "platform/sim/sim_state.h"

namespace sim::detail {

namespace {

// Folders below System32 that WOW64 leaves alone.
bool ExemptFromRedirection(const std::vector<std::string>& below) {
  if (below.empty()) return false;
  const std::string first = Lower(below[0]);
  if (first == "catroot" || first == "catroot2" || first == "logfiles" || first == "spool" ||
      first == "driverstore")
    return true;
  return first == "drivers" && below.size() > 1 && Lower(below[1]) == "etc";
}

// What a call on a missing path reports: the file or the folder above it is missing.
win::Error MissingError(const FileTree& files, const std::vector<std::string>& parts) {
  if (parts.size() < 2) return win::kPathNotFound;
  const std::vector<std::string> parent(parts.begin(), parts.end() - 1);
  const FileEntry* folder = files.Find(parent);
  return folder && folder->directory ? win::kFileNotFound : win::kPathNotFound;
}

}  // namespace

bool SimState::Resolve(const char* path, std::vector<std::string>* parts) const {
  if (!path || !FileTree::Split(path, currentDirectory, parts)) return false;
  if (!wow64 || RedirectionOffForThisThread()) return true;
  std::vector<std::string> system32;
  FileTree::Split(windowsDirectory + "\\system32", "C:\\", &system32);
  if (parts->size() < system32.size()) return true;
  for (size_t i = 0; i < system32.size(); ++i)
    if (!SameText((*parts)[i], system32[i])) return true;
  const std::vector<std::string> below(parts->begin() + system32.size(), parts->end());
  if (!ExemptFromRedirection(below)) (*parts)[system32.size() - 1] = "SysWOW64";
  return true;
}

namespace {

// What a file call's path names: the path resolved (redirected as WOW64 would) and
// its entry, or the error of a call on a missing one.
struct Named {
  bool resolved = false;
  std::vector<std::string> parts;
  FileEntry* entry = nullptr;
  win::Error missing = win::kSuccess;
};

Named FindNamed(SimState& s, const char* path) {
  Named named;
  named.resolved = s.Resolve(path, &named.parts);
  if (named.resolved) named.entry = s.files.Find(named.parts);
  if (!named.entry)
    named.missing = path ? MissingError(s.files, named.parts) : win::kInvalidParameter;
  return named;
}

// One of the directory queries: the folder (read under the lock) followed by
// suffix, unless a fault is injected.
win::Error AnswerDirectory(SimState& s, const char* call, std::string SimState::*folder,
                           const char* suffix, std::string* directory) {
  Lock lock(s.mutex);
  const win::Error error = s.Injected(call, "");
  s.Record(call, "", error);
  *directory = error ? std::string() : s.*folder + suffix;
  return error;
}

}  // namespace

win::Error SimFiles::CurrentDirectory(std::string* directory) {
  return AnswerDirectory(s_, "GetCurrentDirectoryA", &SimState::currentDirectory, "", directory);
}

win::Error SimFiles::WindowsDirectory(std::string* directory) {
  return AnswerDirectory(s_, "GetWindowsDirectoryA", &SimState::windowsDirectory, "", directory);
}

win::Error SimFiles::SystemDirectory(std::string* directory) {
  // Under WOW64 too the answer names System32; redirection does the rest.
  return AnswerDirectory(s_, "GetSystemDirectoryA", &SimState::windowsDirectory, "\\system32",
                         directory);
}

win::Error SimFiles::FindFirst(const char* pattern, plat::FindHandle* search,
                               plat::FindData* data) {
  Lock lock(s_.mutex);
  *search = 0;
  const std::string text = ArgText(pattern);
  win::Error error = s_.Injected("FindFirstFileA", text);
  std::vector<std::string> folder;
  std::vector<std::string> names;
  std::vector<uint32_t> attributes;
  if (!error) {
    // The last component is the pattern; the rest names the folder searched.
    const size_t slash = text.find_last_of("\\/");
    const std::string folderText = slash == std::string::npos ? "." : text.substr(0, slash + 1);
    const std::string namePattern = slash == std::string::npos ? text : text.substr(slash + 1);
    const FileEntry* where =
        s_.Resolve(folderText.c_str(), &folder) ? s_.files.Find(folder) : nullptr;
    if (!pattern || !where || !where->directory) {
      error = win::kPathNotFound;
    } else {
      auto offer = [&](const std::string& name, uint32_t attribute) {
        if (!namePattern.empty() && WildcardMatch(namePattern, name)) {
          names.push_back(name);
          attributes.push_back(attribute);
        }
      };
      if (folder.size() > 1) {  // a drive root has neither "." nor ".."
        offer(".", where->attributes);
        const std::vector<std::string> parent(folder.begin(), folder.end() - 1);
        const FileEntry* above = s_.files.Find(parent);
        offer("..", above ? above->attributes : win::kFileAttributeDirectory);
      }
      for (const FileEntry* child : s_.files.Children(folder))
        offer(child->name, child->attributes);
      if (names.empty()) error = win::kFileNotFound;
    }
  }
  s_.Record("FindFirstFileA", text, error);
  if (error) return error;
  *search = s_.Acquire(HandleKind::kSearch, text);
  OpenHandle& open = *s_.Find(*search, HandleKind::kSearch);
  open.listing = std::move(names);
  open.listingAttributes = std::move(attributes);
  data->name = open.listing[0];
  data->attributes = open.listingAttributes[0];
  open.next = 1;
  return win::kSuccess;
}

win::Error SimFiles::FindNext(plat::FindHandle search, plat::FindData* data) {
  Lock lock(s_.mutex);
  const std::string label = s_.HandleLabel(search, HandleKind::kSearch);
  win::Error error = s_.Injected("FindNextFileA", label);
  OpenHandle* open = s_.Find(search, HandleKind::kSearch);
  if (!error && !open) error = win::kInvalidHandle;
  if (!error && open->next >= open->listing.size()) error = win::kNoMoreFiles;
  s_.Record("FindNextFileA", label, error);
  if (error) return error;
  data->name = open->listing[open->next];
  data->attributes = open->listingAttributes[open->next];
  ++open->next;
  return win::kSuccess;
}

void SimFiles::FindClose(plat::FindHandle search) {
  Lock lock(s_.mutex);
  const std::string label = s_.HandleLabel(search, HandleKind::kSearch);
  win::Error error = s_.Injected("FindClose", label);
  if (!s_.Release(search, HandleKind::kSearch)) error = win::kInvalidHandle;
  s_.Record("FindClose", label, error);
}

win::Error SimFiles::SetAttributes(const char* path, uint32_t attributes) {
  Lock lock(s_.mutex);
  const std::string args = ArgText(path) + ", " + HexText(attributes);
  win::Error error = s_.Injected("SetFileAttributesA", args);
  // "." and ".." are resolved first, so "D:\x\.." names D:\ itself.
  const Named named = FindNamed(s_, path);
  FileEntry* const entry = named.entry;
  if (!error) error = named.missing;
  s_.Record("SetFileAttributesA", args, error);
  if (error) return error;
  // The folder flag cannot be set or cleared; NORMAL stands for "no flag".
  uint32_t kept = attributes & ~(win::kFileAttributeDirectory | win::kFileAttributeNormal);
  if (entry->directory) {
    kept |= win::kFileAttributeDirectory;
  } else if (kept == 0) {
    kept = win::kFileAttributeNormal;
  }
  entry->attributes = kept;
  return win::kSuccess;
}

win::Error SimFiles::DeleteFileAt(const char* path) {
  Lock lock(s_.mutex);
  const std::string text = ArgText(path);
  win::Error error = s_.Injected("DeleteFileA", text);
  const Named named = FindNamed(s_, path);
  if (!error) {
    if (named.missing) {
      error = named.missing;
    } else if (named.entry->directory || (named.entry->attributes & win::kFileAttributeReadonly)) {
      error = win::kAccessDenied;
    }
  }
  s_.Record("DeleteFileA", text, error);
  // What the call named, also when a fault stopped it before it looked.
  Deletion deletion = SimState::MakeDeletion("DeleteFileA", text, error);
  if (named.resolved) deletion.reached = FileTree::Join(named.parts);
  if (named.entry) deletion.bytes = named.entry->bytes;
  s_.RecordDeletion(deletion);
  if (error) return error;
  s_.files.Remove(named.parts);
  return win::kSuccess;
}

win::Error SimFiles::ReadWholeFile(const char* path, std::string* bytes) {
  Lock lock(s_.mutex);
  bytes->clear();
  const std::string text = ArgText(path);
  win::Error error = s_.Injected("ReadFile", text);
  const Named named = FindNamed(s_, path);
  const FileEntry* const entry = named.entry;
  if (!error) {
    if (named.missing) {
      error = named.missing;
    } else if (entry->directory) {
      error = win::kAccessDenied;
    }
  }
  s_.Record("ReadFile", text, error);
  if (error) return error;
  bytes->assign(entry->bytes);
  return win::kSuccess;
}

}  // namespace sim::detail
