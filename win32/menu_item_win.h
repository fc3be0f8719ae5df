#pragma once
// A popup-menu item by command id, as the settings store sees it.
#include <windows.h>

#include <string>

#include "settings/menu_item.h"

class Win32MenuItem : public MenuItem {
 public:
  Win32MenuItem(HMENU menu, UINT commandId) : menu_(menu), commandId_(commandId) {}

  std::string caption() const override;
  bool checked() const override;
  void setChecked(bool checked) override;

 private:
  HMENU menu_;
  UINT commandId_;
};
