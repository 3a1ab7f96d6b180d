#include "platform/win32/win32_files.h"

#include <limits>
#include <new>

#include "platform/win32/call_support.h"
#include "platform/win32/handle_kinds.h"
#include "platform/win32/system_directory.h"

namespace win32 {
namespace {

HANDLE AsHandle(plat::FindHandle search) { return reinterpret_cast<HANDLE>(search); }

void CopyFindData(const WIN32_FIND_DATAA& found, plat::FindData* data) {
  data->name.assign(found.cFileName, strnlen(found.cFileName, sizeof found.cFileName));
  data->attributes = found.dwFileAttributes;
}

}  // namespace

win::Error Win32FileSystem::CurrentDirectory(std::string* directory) {
  return ReadDirectoryText(
      [](char* buffer, DWORD size) { return ::GetCurrentDirectoryA(size, buffer); }, directory);
}

win::Error Win32FileSystem::WindowsDirectory(std::string* directory) {
  return ReadDirectoryText(
      [](char* buffer, DWORD size) { return ::GetWindowsDirectoryA(buffer, size); }, directory);
}

win::Error Win32FileSystem::SystemDirectory(std::string* directory) {
  return ReadSystemDirectory(directory);
}

win::Error Win32FileSystem::FindFirst(const char* pattern, plat::FindHandle* search,
                                      plat::FindData* data) {
  *search = 0;
  WIN32_FIND_DATAA found;
  UniqueFindSearch handle(::FindFirstFileA(pattern, &found));
  if (!handle) return FailureCode();
  CopyFindData(found, data);
  // From here on the caller owns the search and closes it with FindClose.
  *search = reinterpret_cast<plat::FindHandle>(handle.release());
  return win::kSuccess;
}

win::Error Win32FileSystem::FindNext(plat::FindHandle search, plat::FindData* data) {
  WIN32_FIND_DATAA found;
  if (!::FindNextFileA(AsHandle(search), &found)) return FailureCode();
  CopyFindData(found, data);
  return win::kSuccess;
}

void Win32FileSystem::FindClose(plat::FindHandle search) {
  UniqueFindSearch closing(search != 0 ? AsHandle(search) : INVALID_HANDLE_VALUE);
}

win::Error Win32FileSystem::SetAttributes(const char* path, uint32_t attributes) {
  return ::SetFileAttributesA(path, attributes) ? win::kSuccess : FailureCode();
}

win::Error Win32FileSystem::DeleteFileAt(const char* path) {
  return ::DeleteFileA(path) ? win::kSuccess : FailureCode();
}

win::Error Win32FileSystem::ReadWholeFile(const char* path, std::string* bytes) {
  bytes->clear();  // keeps the capacity for the content read below
  // Others may hold the file open for any purpose while it is read.
  UniqueFile file(::CreateFileA(path, GENERIC_READ,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return FailureCode();

  // CreateFileA refuses a folder (without backup semantics) with 5, so the size
  // is all that is asked here; it is the cheap query on every system.
  LARGE_INTEGER fileSize;
  if (!::GetFileSizeEx(file.get(), &fileSize)) return FailureCode();
  const uint64_t size = static_cast<uint64_t>(fileSize.QuadPart);
  if (size > bytes->max_size() || size > std::numeric_limits<size_t>::max()) {
    return win::kNotEnoughMemory;
  }
  try {
    bytes->resize(static_cast<size_t>(size));  // the one allocation, unless it fits already
  } catch (const std::bad_alloc&) {
    return win::kNotEnoughMemory;
  }

  size_t done = 0;
  while (done < bytes->size()) {
    const size_t wanted = bytes->size() - done;
    const DWORD chunk = wanted > MAXDWORD ? MAXDWORD : static_cast<DWORD>(wanted);
    DWORD read = 0;
    if (!::ReadFile(file.get(), &(*bytes)[done], chunk, &read, nullptr)) {
      win::Error error = FailureCode();
      bytes->clear();
      return error;
    }
    if (read == 0) break;  // the file got shorter since its size was read
    done += read;
  }
  bytes->resize(done);
  return win::kSuccess;
}

}  // namespace win32
