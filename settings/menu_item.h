#pragma once
// A menu item as the settings store sees it: a caption and a check mark.
#include <string>

class MenuItem {
 public:
  virtual ~MenuItem() = default;
  virtual std::string caption() const = 0;
  virtual bool checked() const = 0;
  virtual void setChecked(bool checked) = 0;
};
