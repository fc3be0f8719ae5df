#include "tests/support/temp_dir.h"

#include <atomic>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

#ifdef _WIN32
#include <windows.h>
#endif

namespace fs = std::filesystem;

namespace {
#ifdef _WIN32
const char kSep = '\\';
std::string baseFolder() {
  DWORD n = GetTempPathA(0, nullptr);
  std::string p(n, '\0');
  p.resize(GetTempPathA(n, p.data()));
  while (!p.empty() && (p.back() == '\\' || p.back() == '/')) p.pop_back();
  return p;
}
bool makeDir(const std::string& p) { return CreateDirectoryA(p.c_str(), nullptr) != 0; }
void removeTree(const std::string& p) {
  WIN32_FIND_DATAA fd;
  HANDLE h = FindFirstFileA((p + "\\*").c_str(), &fd);
  if (h != INVALID_HANDLE_VALUE) {
    do {
      std::string name = fd.cFileName;
      if (name == "." || name == "..") continue;
      std::string child = p + "\\" + name;
      SetFileAttributesA(child.c_str(), FILE_ATTRIBUTE_NORMAL);
      if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) removeTree(child);
      else DeleteFileA(child.c_str());
    } while (FindNextFileA(h, &fd));
    FindClose(h);
  }
  RemoveDirectoryA(p.c_str());
}
#else
const char kSep = '/';
std::string baseFolder() { return fs::temp_directory_path().string(); }
bool makeDir(const std::string& p) { std::error_code ec; return fs::create_directory(p, ec); }
void removeTree(const std::string& p) { std::error_code ec; fs::remove_all(p, ec); }
#endif
}  // namespace

TempDir::TempDir() {
  static std::atomic<unsigned> counter{0};
  std::random_device rd;
  for (;;) {
    std::ostringstream name;
    name << baseFolder() << kSep << "qjtest-" << std::hex << rd() << "-" << counter++;
    if (makeDir(name.str())) { path_ = name.str(); break; }
  }
}

TempDir::~TempDir() { removeTree(path_); }

std::string TempDir::file(const std::string& name) const { return path_ + kSep + name; }

// fopen takes ANSI (GBK) names under mingw, the program's own kind of path.
std::string readFileBytes(const std::string& path) {
  std::string out;
  if (FILE* f = std::fopen(path.c_str(), "rb")) {
    char buf[65536];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) out.append(buf, n);
    std::fclose(f);
  }
  return out;
}

void writeFileBytes(const std::string& path, const std::string& bytes) {
  if (FILE* f = std::fopen(path.c_str(), "wb")) {
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
  }
}

bool pathExists(const std::string& path) {
#ifdef _WIN32
  return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
#else
  std::error_code ec;
  return fs::exists(path, ec);
#endif
}
