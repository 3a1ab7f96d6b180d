#include "bench/posix_files.h"

#include <dirent.h>
#include <fcntl.h>
#include <fnmatch.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <memory>
#include <new>

namespace bench {
namespace {

win::Error FromErrno(int error) {
  switch (error) {
    case ENOENT:
      return win::kFileNotFound;
    case ENOTDIR:
      return win::kPathNotFound;
    case EACCES:
    case EPERM:
    case EISDIR:
      return win::kAccessDenied;
    case ENOMEM:
      return win::kNotEnoughMemory;
    default:
      return win::kInvalidParameter;
  }
}

// An open search: the folder, the pattern of the names and the folder's stream.
struct Search {
  std::string folder;
  std::string pattern;
  DIR* stream = nullptr;
  ~Search() {
    if (stream) closedir(stream);
  }
};

// Closes the file descriptor on every path.
class Descriptor {
 public:
  explicit Descriptor(int fd) : fd_(fd) {}
  ~Descriptor() {
    if (fd_ >= 0) close(fd_);
  }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  int get() const { return fd_; }

 private:
  int fd_;
};

bool NextMatch(Search& search, plat::FindData* data) {
  while (dirent* entry = readdir(search.stream)) {
    if (fnmatch(search.pattern.c_str(), entry->d_name, FNM_CASEFOLD) != 0) continue;
    data->name = entry->d_name;
    struct stat info;
    const std::string full = search.folder + entry->d_name;
    const bool folder = stat(full.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
    data->attributes = folder ? win::kFileAttributeDirectory : win::kFileAttributeArchive;
    return true;
  }
  return false;
}

}  // namespace

win::Error PosixFiles::CurrentDirectory(std::string* directory) {
  char buffer[4096];
  if (!getcwd(buffer, sizeof buffer)) return FromErrno(errno);
  *directory = buffer;
  return win::kSuccess;
}

win::Error PosixFiles::WindowsDirectory(std::string* directory) {
  *directory = windows_;
  return win::kSuccess;
}

win::Error PosixFiles::SystemDirectory(std::string* directory) {
  *directory = windows_ + "/system32";
  return win::kSuccess;
}

win::Error PosixFiles::FindFirst(const char* pattern, plat::FindHandle* search,
                                 plat::FindData* data) {
  *search = 0;
  const std::string text = pattern;
  const size_t slash = text.rfind('/');
  auto open = std::make_unique<Search>();
  open->folder = slash == std::string::npos ? "./" : text.substr(0, slash + 1);
  open->pattern = slash == std::string::npos ? text : text.substr(slash + 1);
  open->stream = opendir(open->folder.c_str());
  if (!open->stream) return errno == ENOENT ? win::kPathNotFound : FromErrno(errno);
  if (!NextMatch(*open, data)) return win::kFileNotFound;
  *search = reinterpret_cast<plat::FindHandle>(open.release());
  return win::kSuccess;
}

win::Error PosixFiles::FindNext(plat::FindHandle search, plat::FindData* data) {
  if (search == 0) return win::kInvalidHandle;
  return NextMatch(*reinterpret_cast<Search*>(search), data) ? win::kSuccess : win::kNoMoreFiles;
}

void PosixFiles::FindClose(plat::FindHandle search) {
  std::unique_ptr<Search> closing(reinterpret_cast<Search*>(search));
}

win::Error PosixFiles::SetAttributes(const char* path, uint32_t) {
  struct stat info;
  return stat(path, &info) == 0 ? win::kSuccess : FromErrno(errno);
}

win::Error PosixFiles::DeleteFileAt(const char* path) {
  return unlink(path) == 0 ? win::kSuccess : FromErrno(errno);
}

win::Error PosixFiles::ReadWholeFile(const char* path, std::string* bytes) {
  bytes->clear();
  Descriptor file(open(path, O_RDONLY | O_CLOEXEC));
  if (file.get() < 0) return FromErrno(errno);
  struct stat info;
  if (fstat(file.get(), &info) != 0) return FromErrno(errno);
  if (S_ISDIR(info.st_mode)) return win::kAccessDenied;
  try {
    bytes->resize(static_cast<size_t>(info.st_size));
  } catch (const std::bad_alloc&) {
    return win::kNotEnoughMemory;
  }
  size_t done = 0;
  while (done < bytes->size()) {
    const ssize_t got = read(file.get(), &(*bytes)[done], bytes->size() - done);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) {
      const win::Error error = FromErrno(errno);
      bytes->clear();
      return error;
    }
    if (got == 0) break;  // the file got shorter since its size was read
    done += static_cast<size_t>(got);
  }
  bytes->resize(done);
  return win::kSuccess;
}

}  // namespace bench
