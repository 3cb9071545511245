// The pie gallery: flat, tilted and shadow-mode pies, exploded sectors,
// labels inside and outside, counter-clockwise order, written as PNG into the
// folder given on the command line with pies.html showing each picture with
// its clickable image map. Only the published interface is used.
#include <cstdio>
#include <functional>
#include <string>

#include "quorvane.h"

namespace {

const double kValues[] = {25, 18, 15, 12, 8, 30, 22};
const char *const kLabels[] = {"Labor", "Production", "Facilities", "Taxes",
                               "Misc",  "R&D",        "Sales"};
constexpr int kCount = 7;

struct Page {
  std::string dir;
  std::string html;
};

void addPie(Page &page, const char *name, const char *title,
            const std::function<void(PieChart *)> &configure) {
  PieChart *pie = PieChart::create(420, 300, static_cast<int>(0xFFFF0000u), 0x000000);
  pie->addTitle(title, "", 11, 0x000000, -1, -1);
  pie->setPieSize(210, 155, 90);
  pie->setData(kCount, kValues, kLabels);
  configure(pie);
  const std::string file = std::string(name) + ".png";
  if (!pie->makeChart((page.dir + "/" + file).c_str()))
    std::fprintf(stderr, "cannot write %s\n", file.c_str());
  std::puts(file.c_str());
  const char *map = pie->getHTMLImageMap("javascript:void(0)", "", "title='{label}: {percent}%'");
  page.html += "<h2>" + std::string(title) + "</h2>\n<img src=\"" + file + "\" usemap=\"#" +
               name + "\">\n<map name=\"" + name + "\">\n" + (map != nullptr ? map : "") +
               "</map>\n";
  pie->destroy();
}

}  // namespace

int main(int argc, char **argv) {
  Page page{argc > 1 ? argv[1] : ".", "<!DOCTYPE html>\n<html><body>\n"};
  addPie(page, "pie_flat", "Flat pie", [](PieChart *) {});
  addPie(page, "pie_tilted", "Tilted 3D pie, exploded sector, labels with lines",
         [](PieChart *p) {
           p->set3D(-1, -1, false);
           p->setLabelPos(20, 0x404040);
           p->sector(2)->setExplode(-1);
         });
  for (const int angle : {45, 135, 225, 315}) {
    const std::string name = "pie_shadow_" + std::to_string(angle);
    const std::string title = "Shadow mode towards " + std::to_string(angle) + " degrees";
    addPie(page, name.c_str(), title.c_str(), [angle](PieChart *p) {
      p->set3D(15, angle, true);
      p->sector(0)->setExplode(15);
    });
  }
  addPie(page, "pie_inside", "Labels inside, counter-clockwise from 90 degrees",
         [](PieChart *p) {
           p->setStartAngle(90, false);
           p->setLabelPos(-35, 0x000000);
           p->setLabelFormat("&percent|0&%");
         });
  addPie(page, "pie_exploded", "Every sector exploded, 3D at 60 degrees", [](PieChart *p) {
    p->set3D(20, 60, false);
    for (int i = 0; i < kCount; ++i) p->sector(i)->setExplode(8);
    p->setLabelPos(15, 0x000000);
  });
  page.html += "</body></html>\n";
  const std::string htmlPath = page.dir + "/pies.html";
  if (FILE *f = std::fopen(htmlPath.c_str(), "w")) {
    std::fputs(page.html.c_str(), f);
    std::fclose(f);
    std::puts("pies.html");
  }
  return 0;
}
