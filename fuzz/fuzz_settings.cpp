// The settings store on random bytes under random operations: every change
// to the document must reach the file mirror at the same place, a value
// written must read back, writes made from inside a write must land, and a
// change to the file that fails must be made good by the next one.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "settings/settings_store.h"

namespace {

// The bytes that matter to the format, a line-break mark and double-byte pieces.
const std::string kPieces[] = {"[", "]", "\r\n", "\r", "\n", "=", "S", "K", "k",
                               "\xA9\xAE*\xA9\xAE", "\xB0", "\xA1\x5D", std::string(1, '\0'),
                               " ", "x"};
constexpr unsigned kPieceCount = sizeof kPieces / sizeof kPieces[0];

class Input {
 public:
  Input(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
  bool empty() const { return at_ >= size_; }
  unsigned byte() { return at_ < size_ ? data_[at_++] : 0; }
  std::string text() {
    std::string out;
    for (unsigned n = byte() % 5; n > 0; --n) {
      unsigned b = byte();
      if (b < 0xC0) out += kPieces[b % kPieceCount];
      else out += static_cast<char>(b);
    }
    return out;
  }

 private:
  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t at_ = 0;
};

class MirrorHost : public SettingsHost {
 public:
  bool readFile(const std::string&, std::string& bytes) override {
    bytes = mirror;
    return true;
  }
  std::unique_ptr<SettingsFile> openForEditing(const std::string&) override {
    return std::make_unique<File>(*this);
  }
  bool writeFile(const std::string&, const std::string&) override { return true; }
  bool createDirectory(const std::string&) override { return true; }
  void dispatchPendingMessages() override {
    if (onDispatch) onDispatch();
  }
  void showMessage(const std::string&, const std::string&, StoreMessageKind) override {}

  std::string mirror;
  int failNext = 0;
  std::function<void()> onDispatch;

 private:
  class File : public SettingsFile {
   public:
    explicit File(MirrorHost& host) : host_(host) {}
    bool replace(std::uint64_t offset, std::uint64_t count, const std::string& bytes) override {
      if (offset > host_.mirror.size()) __builtin_trap();
      if (host_.failNext > 0) {
        --host_.failNext;
        host_.mirror.resize(offset);  // a write cut short
        return false;
      }
      std::uint64_t rest = host_.mirror.size() - offset;
      host_.mirror.replace(offset, count > rest ? rest : count, bytes);
      return true;
    }

   private:
    MirrorHost& host_;
  };
};

bool readsBack(const std::string& s, const std::string& k, const std::string& v) {
  return v.find("\r\n") == std::string::npos && v.find('\0') == std::string::npos &&
         k.find_first_of("\r\n=") == std::string::npos &&
         s.find_first_of("\r\n]") == std::string::npos;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  Input in(data, size);
  MirrorHost host;
  host.mirror = in.text() + in.text() + in.text();
  SettingsStore store(host);
  if (!store.Open("C:\\f\\s.ini")) __builtin_trap();
  int nested = 0;
  auto handler = [&] {
    if (nested < 4 && in.byte() % 5 == 0) {
      ++nested;
      std::string s = in.text(), k = in.text(), v = in.text();
      store.WriteEntry(s, k, v);
    }
  };
  bool inStep = true;
  for (int ops = 0; ops < 32 && !in.empty(); ++ops) {
    unsigned op = in.byte() % 5;
    std::string s = in.text(), k = in.text(), v = in.text();
    host.onDispatch = nullptr;
    if (op == 0) {
      store.ReadEntry(s, k, v, in.byte() & 1);
    } else if (op == 1) {
      host.failNext = 1 + in.byte() % 2;
      store.WriteEntry(s, k, v);
      host.failNext = 0;
      inStep = false;
    } else if (op == 2) {
      store.SetSection(s);
      store.WriteText(k, v);
      if (store.ReadText(k, "") != store.ReadText(k, "")) __builtin_trap();
      store.ReadDate(k, 0);
      store.ReadNumber(k, 1);
      inStep = true;
    } else if (op == 3) {
      if (store.WriteEntry(s, k, v) != SettingsStore::kWritten) __builtin_trap();
      if (readsBack(s, k, v) && store.ReadEntry(s, k, "", false) != v) __builtin_trap();
      inStep = true;
    } else {
      host.onDispatch = handler;
      if (store.WriteEntry(s, k, v) != SettingsStore::kWritten) __builtin_trap();
      inStep = true;
    }
    if (inStep && store.document() != host.mirror) __builtin_trap();
  }
  host.onDispatch = nullptr;
  std::string last = store.document();
  store.Close();
  if (host.mirror != last) __builtin_trap();
  return 0;
}
