#include "engine/path_template.h"

#include <cmath>
#include <cstdio>
#include <limits>

#include "common/oledate.h"
#include "common/text.h"

namespace {

// A size counts as reaching the next unit a hair below it, so that a value
// like 1023.9999999 KB from rounding in the divisions still counts as 1 MB.
bool reachesNextUnit(double v) { return v - 1024 >= -0.0000001; }

std::string decimalNumber(double v) {
  // At most 13 significant digits, no trailing zeros or point: "1", "1.5".
  const int n = std::snprintf(nullptr, 0, "%.13g", v);
  std::string out(static_cast<std::size_t>(n) + 1, '\0');
  std::snprintf(out.data(), out.size(), "%.13g", v);
  out.resize(static_cast<std::size_t>(n));
  return out;
}

// The size text of a byte count; unsigned so that a difference between two
// sizes of any sign fits.
std::string formatMagnitude(std::uint64_t bytes) {
  double v = static_cast<double>(bytes);
  if (!reachesNextUnit(v)) return std::to_string(bytes) + " B";
  static const char* const kUnits[] = {" KB", " MB", " GB", " TB", " PB"};
  const char* unit = " EB";
  v /= 1024;
  for (const char* candidate : kUnits) {
    if (!reachesNextUnit(v)) {
      unit = candidate;
      break;
    }
    v /= 1024;
  }
  const double rounded = std::round(v * 100 + 0.000000000001) / 100;
  return decimalNumber(rounded) + unit;
}

std::string twoDigits(int n) { return n < 10 ? "0" + std::to_string(n) : std::to_string(n); }

}  // namespace

const std::vector<std::string>& templateTags() {
  static const std::vector<std::string> tags = {
      "<目录路径>", "<目录名>", "<主名>", "<副名>", "<年>",   "<月>",  "<日>",
      "<时>",       "<分>",     "<秒>",   "<大小>", "<字节>", "<序号>"};
  return tags;
}

std::string mainNameOf(const std::string& path) {
  const std::string name = text::fileNameOf(path);
  const std::size_t dot = text::findLast(name, ".");
  return dot == text::npos ? name : name.substr(0, dot);
}

std::string extensionOf(const std::string& path) {
  const std::string name = text::fileNameOf(path);
  const std::size_t dot = text::findLast(name, ".");
  return dot == text::npos ? std::string() : name.substr(dot);
}

std::string directoryNameOf(const std::string& path) {
  const std::string directory = text::directoryOf(path);
  // D:\a.txt: the directory path D: has no "\", so there is no name.
  return text::find(directory, "\\") == text::npos ? std::string() : text::fileNameOf(directory);
}

std::vector<TagValue> tagValues(const std::string& sourcePath, double modified,
                                std::int64_t size, std::int32_t sequenceNumber) {
  const oledate::CivilTime t = oledate::toCivilClamped(modified);
  const std::string values[] = {text::directoryOf(sourcePath),
                                directoryNameOf(sourcePath),
                                mainNameOf(sourcePath),
                                extensionOf(sourcePath),
                                std::to_string(t.year),
                                twoDigits(t.month),
                                twoDigits(t.day),
                                twoDigits(t.hour),
                                twoDigits(t.minute),
                                twoDigits(t.second),
                                formatSize(size),
                                std::to_string(size),
                                std::to_string(sequenceNumber)};
  std::vector<TagValue> out;
  const std::vector<std::string>& tags = templateTags();
  for (std::size_t i = 0; i < tags.size(); ++i) out.push_back({tags[i], values[i]});
  return out;
}

std::string applyTags(const std::string& pathTemplate, const std::vector<TagValue>& values) {
  std::string result = pathTemplate;
  for (const TagValue& v : values) result = text::replaceAllNoCase(result, v.tag, v.value);
  return result;
}

std::string expandTemplate(FileSystem& files, ListView& view, BackupItem& item, int row,
                           bool updateColumns, bool bump) {
  const std::int64_t size = files.openedSize(item.sourcePath);
  const double modified = files.stamp(item.sourcePath).localTime;
  const bool writeRow = updateColumns && row != -1;
  if (writeRow) {
    view.setCellText(row, ListView::kLastTime, formatDateTime(modified));
    view.setCellText(row, ListView::kLastSize, formatSize(size));
    view.setCellText(row, ListView::kSizeChange, formatSizeChange(size, item.lastSize));
    if (bump) {
      item.lastSize = size;
      // A hand-edited settings file may hold the largest number already;
      // it stays there rather than overflowing.
      if (item.sequenceNumber < std::numeric_limits<std::int32_t>::max()) ++item.sequenceNumber;
      view.setCellText(row, ListView::kSequence, std::to_string(item.sequenceNumber));
    }
  }
  const std::string result =
      applyTags(item.pathTemplate, tagValues(item.sourcePath, modified, size, item.sequenceNumber));
  if (writeRow) view.setCellText(row, ListView::kBackupPaths, result);
  return result;
}

std::string formatSize(std::int64_t bytes) {
  // Below 1024 the count is written as it is, a negative one included.
  if (bytes < 0) return std::to_string(bytes) + " B";
  return formatMagnitude(static_cast<std::uint64_t>(bytes));
}

std::string formatSizeChange(std::int64_t size, std::int64_t lastSize) {
  // In unsigned arithmetic the difference cannot overflow, whatever a
  // hand-edited lastSize holds.
  const std::uint64_t a = static_cast<std::uint64_t>(size);
  const std::uint64_t b = static_cast<std::uint64_t>(lastSize);
  if (size < lastSize) return "-" + formatMagnitude(b - a);
  return formatMagnitude(a - b);
}

std::string formatDateTime(double date) {
  const oledate::CivilTime t = oledate::toCivilClamped(date);
  return std::to_string(t.year) + "-" + twoDigits(t.month) + "-" + twoDigits(t.day) + " " +
         twoDigits(t.hour) + ":" + twoDigits(t.minute) + ":" + twoDigits(t.second);
}

bool ensureDirectories(FileSystem& files, const std::string& path) {
  for (std::size_t at = text::find(path, "\\"); at != text::npos;
       at = text::find(path, "\\", at + 1)) {
    const std::string prefix = path.substr(0, at);
    if (prefix.size() == 2) continue;  // a drive such as D:
    if (files.exists(prefix)) continue;
    if (!files.createDirectory(prefix)) return false;
  }
  return true;
}
