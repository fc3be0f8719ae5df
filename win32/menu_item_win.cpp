#include "win32/menu_item_win.h"

#include <vector>

std::string Win32MenuItem::caption() const {
  int length = GetMenuStringA(menu_, commandId_, nullptr, 0, MF_BYCOMMAND);
  if (length <= 0) return std::string();
  // The length asked for may count characters rather than bytes, and a
  // buffer that is too small is cut silently, possibly before a double-byte
  // character: only a result with room to spare is known to be whole.
  std::vector<char> buffer(static_cast<std::size_t>(length) * 2 + 3);
  for (;;) {
    int got = GetMenuStringA(menu_, commandId_, buffer.data(), static_cast<int>(buffer.size()),
                             MF_BYCOMMAND);
    if (got <= 0) return std::string();
    if (static_cast<std::size_t>(got) + 3 <= buffer.size())
      return std::string(buffer.data(), static_cast<std::size_t>(got));
    buffer.resize(buffer.size() * 2);
  }
}

bool Win32MenuItem::checked() const {
  UINT state = GetMenuState(menu_, commandId_, MF_BYCOMMAND);
  return state != static_cast<UINT>(-1) && (state & MF_CHECKED) != 0;
}

void Win32MenuItem::setChecked(bool checked) {
  CheckMenuItem(menu_, commandId_, MF_BYCOMMAND | (checked ? MF_CHECKED : MF_UNCHECKED));
}
