// A program outside the tree, built against an installed or embedded Quorvane:
// it draws an XY chart and a pie chart through the owning pointers of
// quorvane_ptr.h and checks that each renders to a PNG of the chart's size.
#include <cstdio>
#include <cstring>

#include "quorvane_ptr.h"

namespace {

// Big-endian 32-bit field of the PNG header chunk.
unsigned readU32(const unsigned char *p) {
    return (unsigned{p[0]} << 24) | (unsigned{p[1]} << 16) | (unsigned{p[2]} << 8) | p[3];
}

// A PNG starts with its 8-byte signature, then the IHDR chunk whose data opens
// with the width and the height.
bool isPngOfSize(const MemBlock &png, unsigned width, unsigned height) {
    static const unsigned char kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    if (png.data == nullptr || png.len < 24) return false;
    const auto *bytes = reinterpret_cast<const unsigned char *>(png.data);
    return std::memcmp(bytes, kSignature, 8) == 0 && std::memcmp(bytes + 12, "IHDR", 4) == 0 &&
           readU32(bytes + 16) == width && readU32(bytes + 20) == height;
}

}  // namespace

int main() {
    const double values[] = {3, 5, 2, 7};
    const char *const labels[] = {"North", "East", "South", "West"};
    int failures = 0;

    auto xy = quorvane::makeXYChart(320, 240, 0xFFFF0000, Transparent);
    if (xy != nullptr) {
        xy->setPlotArea(40, 20, 260, 190, 0xFFFFFF, -1, 0x808080, 0xC0C0C0, Transparent);
        xy->addBarLayer(4, values, -1, "Sales", 0);
        xy->xAxis()->setLabels(4, labels);
    }
    if (xy == nullptr || !isPngOfSize(xy->makeChart2(BaseChart::PNG), 320, 240)) {
        std::fprintf(stderr, "the XY chart did not render a 320 x 240 PNG\n");
        ++failures;
    }

    auto pie = quorvane::makePieChart(250, 200, 0xFFFF0000, Transparent);
    if (pie != nullptr) {
        pie->setPieSize(125, 100, 70);
        pie->setData(4, values, labels);
    }
    if (pie == nullptr || !isPngOfSize(pie->makeChart2(BaseChart::PNG), 250, 200)) {
        std::fprintf(stderr, "the pie chart did not render a 250 x 200 PNG\n");
        ++failures;
    }
    return failures == 0 ? 0 : 1;
}
