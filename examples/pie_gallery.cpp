// The pie gallery: flat, tilted and shadow-mode pies, exploded sectors,
// labels inside and outside, counter-clockwise order, a legend, written as PNG
// into the folder given on the command line, aliased and smooth, each with its
// image map beside it (<name>.map and <name>_smooth.map: its areas, then
// its legend keys) and pies.html showing every picture with its clickable
// map. The code of each chart lies between its snippet markers, which the demo
// index shows beside the picture. Only the published interface is used.
#include <functional>
#include <string>

#include "gallery_page.h"

namespace {

const double kValues[] = {25, 18, 15, 12, 8, 30, 22};
const char *const kLabels[] = {"Labor", "Production", "Facilities", "Taxes",
                               "Misc",  "R&D",        "Sales"};
constexpr int kCount = 7;

void addPie(GalleryPage &page, const char *name, const char *title,
            const std::function<void(PieChart *)> &configure) {
  auto make = [&]() -> BaseChart * {
    PieChart *pie = PieChart::create(420, 300, static_cast<int>(0xFFFF0000u), 0x000000);
    if (pie != nullptr) {
      pie->addTitle(title, "", 11, 0x000000, -1, -1);
      pie->setPieSize(210, 155, 90);
      pie->setData(kCount, kValues, kLabels);
      configure(pie);
    }
    return pie;
  };
  // An area with a link needs its alt text in HTML5; the label serves.
  page.add(make, name, title, "alt='{label}' title='{label}: {percent}%'");
}

}  // namespace

int main(int argc, char **argv) {
  GalleryPage page(argc > 1 ? argv[1] : ".", "Quorvane pie gallery");
  // [snippet pie_flat]
  addPie(page, "pie_flat", "Flat pie with a legend", [](PieChart *p) {
    p->setPieSize(250, 160, 90);
    p->addLegend(10, 40, true, "", 8);
  });
  // [/snippet]
  // [snippet pie_tilted]
  addPie(page, "pie_tilted", "Tilted 3D pie, exploded sector, labels with lines",
         [](PieChart *p) {
           p->set3D(-1, -1, false);
           p->setLabelPos(20, 0x404040);
           p->sector(2)->setExplode(-1);
         });
  // [/snippet]
  // [snippet pie_shadow_*]
  for (const int angle : {45, 135, 225, 315}) {
    const std::string name = "pie_shadow_" + std::to_string(angle);
    const std::string title = "Shadow mode towards " + std::to_string(angle) + " degrees";
    addPie(page, name.c_str(), title.c_str(), [angle](PieChart *p) {
      p->set3D(15, angle, true);
      p->sector(0)->setExplode(15);
    });
  }
  // [/snippet]
  // [snippet pie_inside]
  addPie(page, "pie_inside", "Labels inside, counter-clockwise from 90 degrees",
         [](PieChart *p) {
           p->setStartAngle(90, false);
           p->setLabelPos(-35, 0x000000);
           p->setLabelFormat("&percent|0&%");
         });
  // [/snippet]
  // [snippet pie_exploded]
  addPie(page, "pie_exploded", "Every sector exploded, 3D at 60 degrees", [](PieChart *p) {
    p->set3D(20, 60, false);
    for (int i = 0; i < kCount; ++i) p->sector(i)->setExplode(8);
    p->setLabelPos(15, 0x000000);
  });
  // [/snippet]
  return page.finish("pies.html") ? 0 : 1;
}
