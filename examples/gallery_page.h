// What the chart galleries share: a page of charts, each written as PNG into
// the page's folder with its image map beside it (<name>.map, the areas
// alone), and the page itself showing every picture with its clickable map.
#pragma once

#include <cstdio>
#include <functional>
#include <string>

#include "quorvane.h"

struct GalleryPage {
  std::string dir;
  std::string html;
  bool ok = true;

  GalleryPage(const char *folder, const char *title)
      : dir(folder),
        html("<!DOCTYPE html>\n<html lang=\"en\"><head><meta charset=\"utf-8\"><title>" +
             std::string(title) + "</title></head><body>\n") {}

  static bool writeText(const std::string &path, const char *text) {
    FILE *f = std::fopen(path.c_str(), "w");
    if (f == nullptr) return false;
    const bool written = std::fputs(text, f) >= 0;
    return std::fclose(f) == 0 && written;
  }

  // Writes chart as <name>.png with its map (areas carrying extraAttr), adds
  // both to the page, and destroys the chart.
  void add(BaseChart *chart, const char *name, const char *title, const char *extraAttr) {
    if (chart == nullptr) {
      ok = false;
      return;
    }
    const std::string file = std::string(name) + ".png";
    if (!chart->makeChart((dir + "/" + file).c_str())) {
      std::fprintf(stderr, "cannot write %s\n", file.c_str());
      ok = false;
    }
    std::puts(file.c_str());
    const char *map = chart->getHTMLImageMap("javascript:void(0)", "", extraAttr);
    if (map == nullptr || !writeText(dir + "/" + name + ".map", map)) ok = false;
    html += "<h2>" + std::string(title) + "</h2>\n<img src=\"" + file + "\" alt=\"" + title +
            "\" usemap=\"#" + name + "\">\n<map name=\"" + name + "\">\n" +
            (map != nullptr ? map : "") + "</map>\n";
    chart->destroy();
  }

  // Adds a 560 x 340 XY chart with its title, a legend across the top and
  // labels along the x axis; configure adds the layers.
  void addXY(const char *name, const char *title, int labelCount, const char *const *labels,
             const std::function<void(XYChart *)> &configure, const char *extraAttr) {
    XYChart *c = XYChart::create(560, 340, static_cast<int>(0xFFFF0000u), 0x000000);
    if (c != nullptr) {
      c->addTitle(title, "", 11, 0x000000, -1, -1);
      c->setPlotArea(70, 72, 420, 220, 0xFFFFFF, -1, -1, 0xD8D8D8, -1);
      c->addLegend(70, 28, false, "", 8)->setBackground(Transparent, Transparent, 0);
      c->xAxis()->setLabels(labelCount, labels);
      configure(c);
    }
    add(c, name, title, extraAttr);
  }

  // Ends the page and writes it as <pageName>; whether everything was written.
  bool finish(const char *pageName) {
    html += "</body></html>\n";
    if (!writeText(dir + "/" + pageName, html.c_str())) ok = false;
    std::puts(pageName);
    return ok;
  }
};
