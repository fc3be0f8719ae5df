// The template code takes any bytes and any numbers: templates with broken
// or nested tags, lone lead bytes, sizes of every sign, dates that are no
// dates, and a hand-edited sequence number or last size at the limits.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "engine/path_template.h"
#include "tests/support/table_list_view.h"

namespace {
// One source file whose time and size come from the input.
class OneFile : public FileSystem {
 public:
  FileStamp stamp(const std::string&) override {
    FileStamp s;
    s.found = true;
    s.localTime = time;
    return s;
  }
  std::int64_t openedSize(const std::string&) override { return size; }
  bool exists(const std::string& path) override { return path.size() % 2 == 0; }
  bool createDirectory(const std::string& path) override { return !path.empty(); }
  bool copyFile(const std::string&, const std::string&) override { return false; }
  bool deleteFile(const std::string&) override { return false; }

  double time = 0;
  std::int64_t size = 0;
};

template <typename T>
T take(const std::uint8_t*& data, std::size_t& size) {
  T value{};
  if (size >= sizeof value) {
    std::memcpy(&value, data, sizeof value);
    data += sizeof value;
    size -= sizeof value;
  }
  return value;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  OneFile files;
  files.time = take<double>(data, size);
  files.size = take<std::int64_t>(data, size);
  const std::int64_t lastSize = take<std::int64_t>(data, size);
  const std::int32_t sequence = take<std::int32_t>(data, size);
  const std::uint8_t cut = take<std::uint8_t>(data, size);

  if (formatSize(files.size).empty() || formatSizeChange(files.size, lastSize).empty())
    __builtin_trap();
  const std::string date = formatDateTime(files.time);
  if (date.size() < 18 || date.size() > 19) __builtin_trap();

  const std::string input(reinterpret_cast<const char*>(data), size);
  const std::size_t split = size ? cut % (size + 1) : 0;
  BackupItem item;
  item.sourcePath = input.substr(0, split);
  // Real tags mixed in, so their values are inserted and searched again.
  item.pathTemplate = input.substr(split) + "<目录路径>\\<主名>_<序号><副名>|<年><大小>";
  item.sequenceNumber = sequence;
  item.lastSize = lastSize;
  TableListView view;
  view.appendRow("x");
  expandTemplate(files, view, item, 0, true, true);
  expandTemplate(files, view, item, -1, false, false);
  ensureDirectories(files, item.pathTemplate);
  return 0;
}
