// Stored rows come from a file a user may have edited: any bytes must decode,
// and what is decoded must encode and decode to the same rows.
#include <cstddef>
#include <cstdint>
#include <string>

#include "engine/row_codec.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string bytes(reinterpret_cast<const char*>(data), size);
  std::vector<SavedRow> rows = decodeRows(bytes);
  std::vector<SavedRow> again = decodeRows(encodeRows(rows));
  if (again.size() != rows.size()) __builtin_trap();
  return 0;
}
