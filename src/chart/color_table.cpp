// The default chart colour table and its setters.
#include "chart/color_table.h"

#include "quorvane.h"

namespace quorvane {

namespace {

// Reading a list stops here when no -1 ends it.
constexpr size_t kMaxColorList = 65535;

}  // namespace

const int kDefaultColorTable[25] = {
    0xFFFFFF, 0x000000, 0x000000, 0x808080, 0x808080, 0x808080, 0x808080, 0x808080,
    0xFF0000, 0x00FF00, 0x0000FF, 0xFFFF00, 0xFF00FF, 0x66FFFF, 0xFFCC33, 0xCCCCCC,
    0x9966FF, 0x339966, 0x999900, 0xCC3300, 0x99CCCC, 0x006600, 0x660066, 0xCC9999,
    -1};

int automaticDataColor(int n) {
  // Entry 0xFFFF lies outside every table (at most 0xFFFE entries).
  constexpr int kFirst = static_cast<int>(colorIndex(kFirstDataColor));
  const int index = n < 0 || n > 0xFFFF - kFirst ? 0xFFFF : kFirst + n;
  return static_cast<int>(tableColor(static_cast<uint32_t>(index)));
}

int halfBrightEntry(DrawArea &area, int color) {
  return static_cast<int>(halfBrightness(static_cast<uint32_t>(area.getARGBColor(color))));
}

int halfBrightEntryOrColor(DrawArea &area, int color) {
  const uint32_t entry = static_cast<uint32_t>(area.getARGBColor(color));
  return isInvisible(entry) ? color : static_cast<int>(halfBrightness(entry));
}

std::optional<size_t> colorListLength(const int *colors, size_t available) {
  if (colors == nullptr) return std::nullopt;
  const size_t limit = available < kMaxColorList ? available : kMaxColorList;
  for (size_t k = 0; k < limit; ++k)
    if (colors[k] == -1) return k;
  return std::nullopt;
}

void setTableColors(DrawArea &area, int paramId, const int *colors, size_t available) {
  if (colors == nullptr) return;
  std::optional<size_t> count = colorListLength(colors, available);
  if (!count) {
    if (available >= kMaxColorList) return;
    count = available;
  }
  if (*count == 0) return;
  area.setColorTable(colors, static_cast<int>(*count), paramId & 0xFFFF);
}

}  // namespace quorvane
