// A small in-memory file system for tests of file readers: a map of paths to
// contents, a set of folders and a current directory. Paths are compared without
// regard to case, "/" and "\" are the same, and relative paths are taken from the
// current directory. It searches nothing: searches, attribute changes and
// deletions report that nothing is there.
#pragma once
#include <cctype>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/files.h"

class MemoryFiles : public plat::FileSystem {
 public:
  std::string currentDirectory = "C:\\pkg";
  int reads = 0;  // ReadWholeFile calls, to show how often a file is read

  void AddFile(const std::string& path, const std::string& bytes) { files_[Key(path)] = bytes; }
  void AddFolder(const std::string& path) { folders_.insert(Key(path)); }

  win::Error CurrentDirectory(std::string* directory) override {
    *directory = currentDirectory;
    return win::kSuccess;
  }
  win::Error WindowsDirectory(std::string* directory) override {
    *directory = "C:\\Windows";
    return win::kSuccess;
  }
  win::Error SystemDirectory(std::string* directory) override {
    *directory = "C:\\Windows\\System32";
    return win::kSuccess;
  }
  win::Error FindFirst(const char*, plat::FindHandle* search, plat::FindData*) override {
    *search = 0;
    return win::kFileNotFound;
  }
  win::Error FindNext(plat::FindHandle, plat::FindData*) override { return win::kNoMoreFiles; }
  void FindClose(plat::FindHandle) override {}
  win::Error SetAttributes(const char*, uint32_t) override { return win::kFileNotFound; }
  win::Error DeleteFileAt(const char*) override { return win::kFileNotFound; }

  win::Error ReadWholeFile(const char* path, std::string* bytes) override {
    ++reads;
    bytes->clear();
    const std::string key = Key(path);
    if (folders_.count(key)) return win::kAccessDenied;  // CreateFile on a folder
    auto it = files_.find(key);
    if (it == files_.end()) return win::kFileNotFound;
    *bytes = it->second;
    return win::kSuccess;
  }

 private:
  // Full, lower-case path with "\" separators and "." and ".." resolved.
  std::string Key(const std::string& path) const {
    const bool absolute = (path.size() >= 2 && path[1] == ':') ||
                          (!path.empty() && (path[0] == '\\' || path[0] == '/'));
    const std::string full = absolute ? path : currentDirectory + "\\" + path;
    std::vector<std::string> parts;
    std::string part;
    for (size_t i = 0; i <= full.size(); ++i) {
      const char c = i < full.size() ? full[i] : '\\';
      if (c != '\\' && c != '/') {
        part += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        continue;
      }
      if (part == "..") {
        if (parts.size() > 1) parts.pop_back();
      } else if (!part.empty() && part != ".") {
        parts.push_back(part);
      }
      part.clear();
    }
    std::string key;
    for (const auto& p : parts) key += (key.empty() ? "" : "\\") + p;
    return key;
  }

  std::map<std::string, std::string> files_;
  std::set<std::string> folders_;
};
