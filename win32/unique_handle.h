#pragma once
// One move-only owner for every kind of Win32 handle. The policy says which
// value means "nothing owned" and how to give the handle back.
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>
#include <wincrypt.h>

#include <utility>

template <typename Policy>
class UniqueHandle {
 public:
  using pointer = typename Policy::pointer;

  UniqueHandle() noexcept : value_(Policy::invalid()) {}
  explicit UniqueHandle(pointer value) noexcept : value_(value) {}
  ~UniqueHandle() { reset(); }

  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;
  UniqueHandle(UniqueHandle&& other) noexcept : value_(other.release()) {}
  UniqueHandle& operator=(UniqueHandle&& other) noexcept {
    if (this != &other) reset(other.release());
    return *this;
  }

  pointer get() const noexcept { return value_; }
  explicit operator bool() const noexcept { return value_ != Policy::invalid(); }

  // Closes what is owned now and takes the new value.
  void reset(pointer value = Policy::invalid()) noexcept {
    pointer old = std::exchange(value_, value);
    if (old != Policy::invalid()) Policy::close(old);
  }
  pointer release() noexcept { return std::exchange(value_, Policy::invalid()); }

  // For out-parameters of Win32 calls: closes the old value first.
  pointer* put() noexcept {
    reset();
    return &value_;
  }

 private:
  pointer value_;
};

namespace handle_policy {
template <typename T, T Invalid, auto Close>
struct Simple {
  using pointer = T;
  static pointer invalid() noexcept { return Invalid; }
  static void close(pointer p) noexcept { Close(p); }
};

inline void closeHandle(HANDLE h) noexcept { ::CloseHandle(h); }
inline void regCloseKey(HKEY h) noexcept { ::RegCloseKey(h); }
inline void releaseContext(HCRYPTPROV h) noexcept { ::CryptReleaseContext(h, 0); }
inline void destroyHash(HCRYPTHASH h) noexcept { ::CryptDestroyHash(h); }
inline void destroyIcon(HICON h) noexcept { ::DestroyIcon(h); }
inline void destroyMenu(HMENU h) noexcept { ::DestroyMenu(h); }
inline void deleteObject(HGDIOBJ h) noexcept { ::DeleteObject(h); }
inline void dragFinish(HDROP h) noexcept { ::DragFinish(h); }
inline void destroyImageList(HIMAGELIST h) noexcept { ::ImageList_Destroy(h); }

// INVALID_HANDLE_VALUE is not a constant expression, so file handles get
// their own policy.
struct File {
  using pointer = HANDLE;
  static pointer invalid() noexcept { return INVALID_HANDLE_VALUE; }
  static void close(pointer p) noexcept { ::CloseHandle(p); }
};
struct Find {
  using pointer = HANDLE;
  static pointer invalid() noexcept { return INVALID_HANDLE_VALUE; }
  static void close(pointer p) noexcept { ::FindClose(p); }
};
}  // namespace handle_policy

using UniqueFile = UniqueHandle<handle_policy::File>;
using UniqueFind = UniqueHandle<handle_policy::Find>;
using UniqueKernelHandle =
    UniqueHandle<handle_policy::Simple<HANDLE, nullptr, handle_policy::closeHandle>>;
using UniqueRegKey = UniqueHandle<handle_policy::Simple<HKEY, nullptr, handle_policy::regCloseKey>>;
using UniqueCryptProvider =
    UniqueHandle<handle_policy::Simple<HCRYPTPROV, 0, handle_policy::releaseContext>>;
using UniqueCryptHash = UniqueHandle<handle_policy::Simple<HCRYPTHASH, 0, handle_policy::destroyHash>>;
using UniqueIcon = UniqueHandle<handle_policy::Simple<HICON, nullptr, handle_policy::destroyIcon>>;
using UniqueMenu = UniqueHandle<handle_policy::Simple<HMENU, nullptr, handle_policy::destroyMenu>>;
using UniqueGdiObject =
    UniqueHandle<handle_policy::Simple<HGDIOBJ, nullptr, handle_policy::deleteObject>>;
using UniqueDrop = UniqueHandle<handle_policy::Simple<HDROP, nullptr, handle_policy::dragFinish>>;
using UniqueImageList =
    UniqueHandle<handle_policy::Simple<HIMAGELIST, nullptr, handle_policy::destroyImageList>>;
