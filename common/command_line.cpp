#include "common/command_line.h"

namespace command_line {

namespace {
bool endsPlainArgument(unsigned char c) { return c <= ' ' || c == '"' || c == 0x7F; }
}  // namespace

std::vector<std::string> arguments(const std::string& line) {
  std::vector<std::string> tokens;
  std::size_t i = 0;
  const std::size_t n = line.size();
  while (i < n) {
    unsigned char c = static_cast<unsigned char>(line[i]);
    if (c <= ' ' || c == 0x7F) {
      ++i;
      continue;
    }
    std::string token;
    if (c == '"') {
      std::size_t close = line.find('"', i + 1);
      if (close == std::string::npos) close = n;
      token = line.substr(i + 1, close - i - 1);
      i = close + 1;
    } else {
      std::size_t start = i;
      // Bytes of 0x80 and above are parts of characters, never separators.
      while (i < n && !endsPlainArgument(static_cast<unsigned char>(line[i]))) ++i;
      token = line.substr(start, i - start);
    }
    tokens.push_back(token);
  }
  // The first token is the program's own path.
  if (!tokens.empty()) tokens.erase(tokens.begin());
  return tokens;
}

bool startedByAutostart(const std::vector<std::string>& args) {
  return !args.empty() && args[0] == "yes";
}

}  // namespace command_line
