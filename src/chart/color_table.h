// The colour table every chart starts with, and the rules that read it.
// Chart elements store table colours (0xFFFF0000 + index), not values, so a
// change to an entry recolours everything drawn after it.
#pragma once

#include <cstddef>
#include <optional>

#include "base/colors.h"

class DrawArea;

namespace quorvane {

// Table colours of the fixed entries.
inline constexpr int kBackgroundColor = static_cast<int>(tableColor(0));  // canvas fill
inline constexpr int kLineColor = static_cast<int>(tableColor(1));        // edges and lines
inline constexpr int kTextColor = static_cast<int>(tableColor(2));        // font colour
inline constexpr int kFirstDataColor = static_cast<int>(tableColor(8));   // automatic colours

// The 24 default entries (background, line, text, five greys, sixteen data
// colours), ended by -1.
extern const int kDefaultColorTable[25];

// The table colour of the n-th automatic data colour (from 0): entry 8 + n. A
// counter past the largest table names an entry outside every table, which
// resolves to Transparent.
int automaticDataColor(int n);

// The number of entries before the first -1 among the first `available`
// entries, or nothing when there is no -1 among them.
std::optional<size_t> colorListLength(const int *colors, size_t available);

// Writes the entries of colors before the first -1 from entry (paramId &
// 0xFFFF) on. With no -1 among the first `available` entries, a list that is
// cut short by the end of the array (available < 65535) is written whole;
// an unterminated list of 65535 or more entries writes nothing.
void setTableColors(DrawArea &area, int paramId, const int *colors, size_t available);

// The colour of a face turned away from the light (3D side and top faces,
// ribbon undersides): the entry a colour names at half brightness, so that
// automatic colours are shaded too. The two differ only where the entry is
// invisible: pies take that entry, XY layers keep the colour as given, which
// the drawing looks up again (the same colour unless the entry names another
// table entry).
int halfBrightEntry(DrawArea &area, int color);
int halfBrightEntryOrColor(DrawArea &area, int color);

}  // namespace quorvane
