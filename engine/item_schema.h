#pragma once
// What the engine stores in the settings file: the main section with the
// list's rows, and one section per item ("备份摘要_" + item key).

namespace schema {
constexpr const char* kMainSection = "主界面";
constexpr const char* kRows = "表项";

constexpr const char* kSequence = "序号";
constexpr const char* kLastSize = "上次字节";
constexpr const char* kLastDigest = "上次md5值";
constexpr const char* kLastTime = "上次时间";
constexpr const char* kHistory = "历史路径组";
constexpr const char* kKeepCount = "备份数";
constexpr const char* kRefreshSeconds = "刷新秒";
constexpr const char* kPathTemplate = "备份路径";

// Separates the destinations of a template and the paths of the history.
constexpr const char* kPathSeparator = "|";
}  // namespace schema
