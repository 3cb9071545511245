// What the chart galleries share: a page of charts, each drawn twice, aliased
// as <name>.png (and on request as GIF, JPEG or WBMP too) and with smooth
// shapes as <name>_smooth.png, into the page's folder with the image map of
// each beside it (<name>.map and <name>_smooth.map: the chart's areas, then
// its legend keys), and the page itself showing the two pictures side by side,
// each with its clickable map. Every area links to detail.html with the
// chart's name and the item's fields in the query.
#pragma once

#include <cstdio>
#include <functional>
#include <initializer_list>
#include <string>

#include "quorvane.h"

struct GalleryPage {
  std::string dir;
  std::string html;
  bool ok = true;

  GalleryPage(const char *folder, const char *title)
      : dir(folder),
        html("<!DOCTYPE html>\n<html lang=\"en\"><head><meta charset=\"utf-8\"><title>" +
             escape(title) + "</title></head><body>\n<h1>" + escape(title) + "</h1>\n") {}

  static std::string escape(const std::string &text) {
    std::string out;
    for (const char ch : text) {
      switch (ch) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        default: out += ch;
      }
    }
    return out;
  }

  static bool writeText(const std::string &path, const std::string &text) {
    FILE *f = std::fopen(path.c_str(), "w");
    if (f == nullptr) return false;
    const bool written = std::fputs(text.c_str(), f) >= 0;
    return std::fclose(f) == 0 && written;
  }

  // The chart's areas and then its legend's, each linking to detail.html with
  // the chart named first in the query. The library escapes the values it
  // inserts, so names and labels may hold any character.
  static std::string imageMap(BaseChart *chart, const char *name, const char *extraAttr) {
    const std::string url = std::string("detail.html?chart=") + name;
    std::string areas;
    if (const char *map = chart->getHTMLImageMap(url.c_str(), "", extraAttr)) areas = map;
    if (LegendBox *legend = chart->getLegend()) {
      const char *keys = legend->getHTMLImageMap(
          (url + "&legend=1").c_str(), "",
          "alt='Legend key {dataSetName}' title='Legend: {dataSetName}'");
      if (keys != nullptr) areas += keys;
    }
    return areas;
  }

  // Makes the chart twice through make, draws it aliased as <name>.png and
  // as <name>.<ext> for each of alsoAs, then with setAntiAlias(1) as
  // <name>_smooth.png, each with its map (areas carrying extraAttr); adds
  // both pictures to the page side by side and destroys the charts.
  void add(const std::function<BaseChart *()> &make, const char *name, const char *title,
           const char *extraAttr, std::initializer_list<const char *> alsoAs = {}) {
    html += "<h2>" + escape(title) +
            "</h2>\n<div style=\"display:flex;flex-wrap:wrap;gap:1.5em\">\n";
    for (const bool isSmooth : {false, true}) {
      BaseChart *chart = make();
      if (chart == nullptr) {
        ok = false;
        continue;
      }
      if (isSmooth) chart->setAntiAlias(1);
      const std::string stem = std::string(name) + (isSmooth ? "_smooth" : "");
      std::string files;
      auto write = [&](const std::string &file) {
        if (!chart->makeChart((dir + "/" + file).c_str())) {
          std::fprintf(stderr, "cannot write %s\n", file.c_str());
          ok = false;
        }
        files += (files.empty() ? "" : " ") + file;
      };
      write(stem + ".png");
      if (!isSmooth)
        for (const char *ext : alsoAs) write(stem + "." + ext);
      std::puts(files.c_str());
      const std::string map = imageMap(chart, name, extraAttr);
      if (!writeText(dir + "/" + stem + ".map", map)) ok = false;
      DrawArea *area = chart->makeChart3();
      const int width = area != nullptr ? area->getWidth() : 0;
      const int height = area != nullptr ? area->getHeight() : 0;
      html += std::string("<div><p>") + (isSmooth ? "smooth" : "aliased") + "</p>\n<img src=\"" +
              stem + ".png\" width=\"" + std::to_string(width) + "\" height=\"" +
              std::to_string(height) + "\" alt=\"" + escape(title) + "\" usemap=\"#" + stem +
              "\">\n<map name=\"" + stem + "\">\n" + map + "</map>\n</div>\n";
      chart->destroy();
    }
    html += "</div>\n";
  }

  // Adds a 560 x 340 XY chart with its title, a legend across the top and
  // labels along the x axis; configure adds the layers.
  void addXY(const char *name, const char *title, int labelCount, const char *const *labels,
             const std::function<void(XYChart *)> &configure, const char *extraAttr,
             std::initializer_list<const char *> alsoAs = {}) {
    auto make = [&]() -> BaseChart * {
      XYChart *c = XYChart::create(560, 340, static_cast<int>(0xFFFF0000u), 0x000000);
      if (c != nullptr) {
        c->addTitle(title, "", 11, 0x000000, -1, -1);
        c->setPlotArea(70, 72, 420, 220, 0xFFFFFF, -1, -1, 0xD8D8D8, -1);
        c->addLegend(70, 28, false, "", 8)->setBackground(Transparent, Transparent, 0);
        c->xAxis()->setLabels(labelCount, labels);
        configure(c);
      }
      return c;
    };
    add(make, name, title, extraAttr, alsoAs);
  }

  // Ends the page and writes it as <pageName>; whether everything was written.
  bool finish(const char *pageName) {
    html += "</body></html>\n";
    if (!writeText(dir + "/" + pageName, html)) ok = false;
    std::puts(pageName);
    return ok;
  }
};
