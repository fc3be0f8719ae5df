#include "win32/settings_host_win.h"

#include <windows.h>

#include <algorithm>
#include <cstdint>

#include "win32/message_box_win.h"
#include "win32/message_pump.h"
#include "win32/unique_handle.h"

namespace {

// ReadFile and WriteFile take a DWORD count; larger texts go in pieces.
constexpr std::uint64_t kChunk = 1u << 30;

bool seek(HANDLE file, std::uint64_t offset) {
  LARGE_INTEGER to;
  to.QuadPart = static_cast<LONGLONG>(offset);
  return SetFilePointerEx(file, to, nullptr, FILE_BEGIN) != 0;
}

bool sizeOf(HANDLE file, std::uint64_t& size) {
  LARGE_INTEGER s;
  if (!GetFileSizeEx(file, &s)) return false;
  size = static_cast<std::uint64_t>(s.QuadPart);
  return true;
}

// Reads `count` bytes from the file position on into `out`.
bool readExactly(HANDLE file, std::uint64_t count, std::string& out) {
  out.assign(static_cast<std::size_t>(count), '\0');
  std::uint64_t done = 0;
  while (done < count) {
    DWORD want = static_cast<DWORD>(std::min(count - done, kChunk));
    DWORD got = 0;
    if (!ReadFile(file, &out[static_cast<std::size_t>(done)], want, &got, nullptr) || got == 0)
      return false;
    done += got;
  }
  return true;
}

bool writeAll(HANDLE file, const char* data, std::uint64_t count) {
  std::uint64_t done = 0;
  while (done < count) {
    DWORD want = static_cast<DWORD>(std::min(count - done, kChunk));
    DWORD put = 0;
    if (!WriteFile(file, data + done, want, &put, nullptr) || put != want) return false;
    done += put;
  }
  return true;
}

class Win32SettingsFile : public SettingsFile {
 public:
  explicit Win32SettingsFile(UniqueFile file) : file_(std::move(file)) {}

  // The bytes after the changed ones are read and written again behind the
  // new bytes; only when the sizes match does the rest stay where it is.
  bool replace(std::uint64_t offset, std::uint64_t count, const std::string& bytes) override {
    HANDLE h = file_.get();
    std::uint64_t size = 0;
    if (!sizeOf(h, size) || offset > size) return false;
    count = std::min(count, size - offset);
    if (count == bytes.size()) return seek(h, offset) && writeAll(h, bytes.data(), bytes.size());
    std::string tail;
    if (!seek(h, offset + count) || !readExactly(h, size - offset - count, tail)) return false;
    return seek(h, offset) && writeAll(h, bytes.data(), bytes.size()) &&
           writeAll(h, tail.data(), tail.size()) && SetEndOfFile(h) != 0;
  }

 private:
  UniqueFile file_;
};

}  // namespace

bool Win32SettingsHost::readFile(const std::string& path, std::string& bytes) {
  // Others may hold the file open for writing, the store itself among them.
  UniqueFile file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return false;
  std::uint64_t size = 0;
  std::string content;
  if (!sizeOf(file.get(), size) || !readExactly(file.get(), size, content)) return false;
  bytes = std::move(content);
  return true;
}

std::unique_ptr<SettingsFile> Win32SettingsHost::openForEditing(const std::string& path) {
  UniqueFile file(CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                              OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return nullptr;
  return std::make_unique<Win32SettingsFile>(std::move(file));
}

bool Win32SettingsHost::writeFile(const std::string& path, const std::string& bytes) {
  UniqueFile file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
  return file && writeAll(file.get(), bytes.data(), bytes.size());
}

bool Win32SettingsHost::createDirectory(const std::string& path) {
  if (CreateDirectoryA(path.c_str(), nullptr)) return true;
  if (GetLastError() != ERROR_ALREADY_EXISTS) return false;
  DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

void Win32SettingsHost::dispatchPendingMessages() { MessagePump().handlePendingEvents(); }

void Win32SettingsHost::showMessage(const std::string& text, const std::string& title,
                                    StoreMessageKind kind) {
  UINT flags = kind == StoreMessageKind::kWarningSystemModal
                   ? MB_OK | MB_ICONWARNING | MB_SYSTEMMODAL
                   : MB_OK;
  showMessageBox(text, title, flags);
}
