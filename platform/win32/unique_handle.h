// One owner type for every kind of Windows handle: a traits struct names the
// handle type, its "no handle" value and the call that releases it, so searches,
// files, services, tokens and libraries are all released the same way on every
// path.
//
//   struct FindTraits {
//     using Handle = HANDLE;
//     static Handle Invalid() { return INVALID_HANDLE_VALUE; }
//     static void Close(Handle h) { ::FindClose(h); }
//   };
//   using UniqueFind = UniqueHandle<FindTraits>;
#pragma once
#include <utility>

namespace win32 {

template <typename Traits>
class UniqueHandle {
 public:
  using Handle = typename Traits::Handle;

  UniqueHandle() noexcept : handle_(Traits::Invalid()) {}
  explicit UniqueHandle(Handle handle) noexcept : handle_(handle) {}
  ~UniqueHandle() { reset(); }

  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;

  UniqueHandle(UniqueHandle&& other) noexcept : handle_(other.release()) {}
  UniqueHandle& operator=(UniqueHandle&& other) noexcept {
    if (this != &other) reset(other.release());
    return *this;
  }

  Handle get() const noexcept { return handle_; }
  bool valid() const noexcept { return handle_ != Traits::Invalid(); }
  explicit operator bool() const noexcept { return valid(); }

  // Gives the handle up without releasing it (the caller owns it from now on).
  Handle release() noexcept { return std::exchange(handle_, Traits::Invalid()); }

  // Releases the handle held, if any, and takes replacement.
  void reset(Handle replacement = Traits::Invalid()) noexcept {
    Handle old = std::exchange(handle_, replacement);
    if (old != Traits::Invalid()) Traits::Close(old);
  }

 private:
  Handle handle_;
};

}  // namespace win32
