// The simulated disks: a map of full paths, compared without regard to case.
#include <algorithm>
#include <cctype>
#include <utility>

#include "platform/sim/sim_state.h"

namespace sim::detail {

namespace {

std::string Upper(std::string text) {
  for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return text;
}

bool HasDrive(const std::string& path) {
  return path.size() >= 2 && path[1] == ':' && std::isalpha(static_cast<unsigned char>(path[0]));
}

}  // namespace

bool FileTree::Split(const std::string& path, const std::string& current,
                     std::vector<std::string>* parts) {
  parts->clear();
  std::string text = path;
  std::replace(text.begin(), text.end(), '/', '\\');
  if (text.empty() || text.compare(0, 2, "\\\\") == 0) return false;  // no UNC paths here

  std::string drive, rest;
  const std::string currentDrive = Upper(current.substr(0, 2));
  if (HasDrive(text)) {
    drive = Upper(text.substr(0, 2));
    rest = text.substr(2);
    // "C:name" is relative to the current directory when that is on drive C.
    if (rest.empty() || rest[0] != '\\') {
      rest = (drive == currentDrive ? current.substr(2) : std::string()) + "\\" + rest;
    }
  } else if (text[0] == '\\') {
    drive = currentDrive;
    rest = text;
  } else {
    drive = currentDrive;
    rest = current.substr(2) + "\\" + text;
  }

  parts->push_back(drive);
  size_t start = 0;
  while (start <= rest.size()) {
    size_t end = rest.find('\\', start);
    if (end == std::string::npos) end = rest.size();
    const std::string name = rest.substr(start, end - start);
    if (name == "..") {
      if (parts->size() > 1) parts->pop_back();
    } else if (!name.empty() && name != ".") {
      parts->push_back(name);
    }
    start = end + 1;
  }
  return true;
}

std::string FileTree::Join(const std::vector<std::string>& parts) {
  if (parts.empty()) return "";
  std::string path = parts[0];
  if (parts.size() == 1) return path + "\\";
  for (size_t i = 1; i < parts.size(); ++i) path += "\\" + parts[i];
  return path;
}

std::string FileTree::Key(const std::vector<std::string>& parts) {
  std::string key;
  for (size_t i = 0; i < parts.size(); ++i) key += (i ? "\\" : "") + Lower(parts[i]);
  return key;
}

const FileEntry* FileTree::Find(const std::vector<std::string>& parts) const {
  auto it = entries_.find(Key(parts));
  return it == entries_.end() ? nullptr : &it->second;
}

FileEntry* FileTree::Find(const std::vector<std::string>& parts) {
  auto it = entries_.find(Key(parts));
  return it == entries_.end() ? nullptr : &it->second;
}

FileEntry& FileTree::Put(const std::vector<std::string>& parts, bool directory, uint32_t attributes,
                         const std::string& bytes) {
  std::vector<std::string> prefix;
  for (size_t i = 0; i + 1 < parts.size(); ++i) {
    prefix.push_back(parts[i]);
    FileEntry* folder = Find(prefix);
    if (folder && folder->directory) continue;
    // A file standing where a folder is needed gives way to the folder.
    Remove(prefix);
    entries_[Key(prefix)] = FileEntry{parts[i], true, win::kFileAttributeDirectory, ""};
  }
  FileEntry* existing = Find(parts);
  if (existing && existing->directory && directory) {
    existing->attributes = attributes | win::kFileAttributeDirectory;
    return *existing;
  }
  if (existing) Remove(parts);
  FileEntry entry{parts.back(), directory, attributes, bytes};
  if (directory) entry.attributes |= win::kFileAttributeDirectory;
  return entries_[Key(parts)] = std::move(entry);
}

void FileTree::Remove(const std::vector<std::string>& parts) {
  const std::string key = Key(parts);
  entries_.erase(key);
  const std::string below = key + "\\";
  for (auto it = entries_.lower_bound(below);
       it != entries_.end() && it->first.compare(0, below.size(), below) == 0;) {
    it = entries_.erase(it);
  }
}

std::vector<const FileEntry*> FileTree::Children(const std::vector<std::string>& folder) const {
  const std::string below = Key(folder) + "\\";
  // NTFS keeps a folder in the order of the upper-cased names. Each name is
  // upper-cased once, so a folder of 100,000 entries lists quickly.
  std::vector<std::pair<std::string, const FileEntry*>> sorted;
  for (auto it = entries_.lower_bound(below);
       it != entries_.end() && it->first.compare(0, below.size(), below) == 0; ++it) {
    if (it->first.find('\\', below.size()) == std::string::npos)
      sorted.emplace_back(Upper(it->second.name), &it->second);
  }
  std::sort(sorted.begin(), sorted.end(),
            [](const auto& a, const auto& b) { return a.first < b.first; });
  std::vector<const FileEntry*> children;
  children.reserve(sorted.size());
  for (const auto& entry : sorted) children.push_back(entry.second);
  return children;
}

bool FileTree::HasChildren(const std::vector<std::string>& folder) const {
  const std::string below = Key(folder) + "\\";
  auto it = entries_.lower_bound(below);
  return it != entries_.end() && it->first.compare(0, below.size(), below) == 0;
}

}  // namespace sim::detail
