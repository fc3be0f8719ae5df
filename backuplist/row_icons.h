#pragma once
// The two row icons of the backup list, drawn here in code: a sheet of paper
// with a folded corner and lines of text, once in the ordinary slate blue and
// once in red for the row that was backed up most recently.
#include <windows.h>

#include <cstdint>
#include <vector>

#include "win32/unique_handle.h"

namespace row_icons {

constexpr int kSize = 24;

// Indices in the image list, the values of ListView::setIcon.
enum Image { kOrdinary = 0, kRecentBackup = 1 };

// kSize × kSize pixels, top row first, each 0xAARRGGBB with straight
// (not premultiplied) alpha, as an icon's colour bitmap holds them.
std::vector<std::uint32_t> paint(Image image);

// A 32-bit icon with alpha and a matching mask; null when GDI refuses.
UniqueIcon makeIcon(Image image);

// The image list of the rows: kOrdinary at index 0, kRecentBackup at 1.
UniqueImageList makeImageList();

}  // namespace row_icons
