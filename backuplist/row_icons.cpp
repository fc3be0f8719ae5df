#include "backuplist/row_icons.h"

#include <commctrl.h>

#include <cstring>

namespace row_icons {
namespace {

struct Palette {
  std::uint32_t outline;
  std::uint32_t paper;
  std::uint32_t fold;
  std::uint32_t lines;
};

constexpr Palette kOrdinaryPalette = {0xFF4A5A78, 0xFFFFFFFF, 0xFFD4DCE8, 0xFF7890B4};
constexpr Palette kRedPalette = {0xFFB01818, 0xFFFFF0F0, 0xFFF4B4B4, 0xFFE04040};
// A soft drop shadow one pixel down and right, so the sheet stands out on
// the white list and on the blue of a selected row alike.
constexpr std::uint32_t kShadow = 0x50000000;

// The sheet: columns kLeft..kRight, rows kTop..kBottom, with its top right
// corner folded down over a square of kFold pixels.
constexpr int kLeft = 4;
constexpr int kRight = 19;
constexpr int kTop = 1;
constexpr int kBottom = 22;
constexpr int kFold = 6;
constexpr int kFoldLeft = kRight - kFold;
constexpr int kFoldBottom = kTop + kFold;

bool onSheet(int x, int y) {
  if (x < kLeft || x > kRight || y < kTop || y > kBottom) return false;
  // Above the fold's diagonal the corner is cut away.
  return x - kFoldLeft <= y - kTop;
}

bool onFold(int x, int y) { return onSheet(x, y) && x >= kFoldLeft && y <= kFoldBottom; }

bool onEdge(int x, int y) {
  if (!onSheet(x, y)) return false;
  if (x == kLeft || x == kRight || y == kTop || y == kBottom) return true;
  if (x - kFoldLeft == y - kTop) return true;  // the diagonal
  return onFold(x, y) && (x == kFoldLeft || y == kFoldBottom);
}

bool onTextLine(int x, int y) {
  switch (y) {
    case 10:
    case 13:
    case 16:
      return x >= kLeft + 3 && x <= kRight - 3;
    case 19:
      return x >= kLeft + 3 && x <= kRight - 7;
    default:
      return false;
  }
}

}  // namespace

std::vector<std::uint32_t> paint(Image image) {
  const Palette& palette = image == kRecentBackup ? kRedPalette : kOrdinaryPalette;
  std::vector<std::uint32_t> pixels(kSize * kSize, 0);
  for (int y = 0; y < kSize; ++y) {
    for (int x = 0; x < kSize; ++x) {
      std::uint32_t& pixel = pixels[y * kSize + x];
      if (onEdge(x, y)) pixel = palette.outline;
      else if (onFold(x, y)) pixel = palette.fold;
      else if (onTextLine(x, y)) pixel = palette.lines;
      else if (onSheet(x, y)) pixel = palette.paper;
      else if (onSheet(x - 1, y - 1)) pixel = kShadow;
    }
  }
  return pixels;
}

UniqueIcon makeIcon(Image image) {
  const std::vector<std::uint32_t> pixels = paint(image);

  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = kSize;
  info.bmiHeader.biHeight = -kSize;  // top row first, as painted
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  UniqueGdiObject color(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!color || !bits) return UniqueIcon();
  // 0xAARRGGBB in little-endian memory is the B, G, R, A byte order of a DIB.
  std::memcpy(bits, pixels.data(), pixels.size() * sizeof pixels[0]);
  GdiFlush();

  // The mask marks the fully transparent pixels, for drawing without alpha.
  // Monochrome rows are padded to whole 16-bit words.
  const int stride = (kSize + 15) / 16 * 2;
  std::vector<BYTE> maskBits(static_cast<size_t>(stride) * kSize, 0);
  for (int y = 0; y < kSize; ++y)
    for (int x = 0; x < kSize; ++x)
      if ((pixels[y * kSize + x] >> 24) == 0) maskBits[y * stride + x / 8] |= 0x80 >> (x % 8);
  UniqueGdiObject mask(CreateBitmap(kSize, kSize, 1, 1, maskBits.data()));
  if (!mask) return UniqueIcon();

  ICONINFO icon = {};
  icon.fIcon = TRUE;
  icon.hbmMask = static_cast<HBITMAP>(mask.get());
  icon.hbmColor = static_cast<HBITMAP>(color.get());
  // The icon keeps copies of both bitmaps; ours go when this returns.
  return UniqueIcon(CreateIconIndirect(&icon));
}

UniqueImageList makeImageList() {
  UniqueImageList list(ImageList_Create(kSize, kSize, ILC_COLOR32 | ILC_MASK, 2, 0));
  if (!list) return list;
  for (Image image : {kOrdinary, kRecentBackup}) {
    UniqueIcon icon = makeIcon(image);
    // The list copies the icon; an index out of step would show the wrong picture.
    if (!icon || ImageList_AddIcon(list.get(), icon.get()) != image) return UniqueImageList();
  }
  return list;
}

}  // namespace row_icons
