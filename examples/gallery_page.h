// What the chart galleries share: a page of charts, each written as PNG (and
// on request as GIF, JPEG or WBMP too) into the page's folder with its image
// map beside it (<name>.map: the chart's areas, then its legend keys), and the
// page itself showing every picture with its clickable map. Every area links
// to detail.html with the chart's name and the item's fields in the query.
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

  // Writes chart as <name>.png and as <name>.<ext> for each of alsoAs, with
  // its map (areas carrying extraAttr); adds the PNG and its map to the page
  // and destroys the chart.
  void add(BaseChart *chart, const char *name, const char *title, const char *extraAttr,
           std::initializer_list<const char *> alsoAs = {}) {
    if (chart == nullptr) {
      ok = false;
      return;
    }
    std::string files;
    auto write = [&](const std::string &file) {
      if (!chart->makeChart((dir + "/" + file).c_str())) {
        std::fprintf(stderr, "cannot write %s\n", file.c_str());
        ok = false;
      }
      files += (files.empty() ? "" : " ") + file;
    };
    write(std::string(name) + ".png");
    for (const char *ext : alsoAs) write(std::string(name) + "." + ext);
    std::puts(files.c_str());
    const std::string map = imageMap(chart, name, extraAttr);
    if (!writeText(dir + "/" + name + ".map", map)) ok = false;
    DrawArea *area = chart->makeChart3();
    const int width = area != nullptr ? area->getWidth() : 0;
    const int height = area != nullptr ? area->getHeight() : 0;
    html += "<h2>" + escape(title) + "</h2>\n<img src=\"" + name + ".png\" width=\"" +
            std::to_string(width) + "\" height=\"" + std::to_string(height) + "\" alt=\"" +
            escape(title) + "\" usemap=\"#" + name + "\">\n<map name=\"" + name + "\">\n" + map +
            "</map>\n";
    chart->destroy();
  }

  // Adds a 560 x 340 XY chart with its title, a legend across the top and
  // labels along the x axis; configure adds the layers.
  void addXY(const char *name, const char *title, int labelCount, const char *const *labels,
             const std::function<void(XYChart *)> &configure, const char *extraAttr,
             std::initializer_list<const char *> alsoAs = {}) {
    XYChart *c = XYChart::create(560, 340, static_cast<int>(0xFFFF0000u), 0x000000);
    if (c != nullptr) {
      c->addTitle(title, "", 11, 0x000000, -1, -1);
      c->setPlotArea(70, 72, 420, 220, 0xFFFFFF, -1, -1, 0xD8D8D8, -1);
      c->addLegend(70, 28, false, "", 8)->setBackground(Transparent, Transparent, 0);
      c->xAxis()->setLabels(labelCount, labels);
      configure(c);
    }
    add(c, name, title, extraAttr, alsoAs);
  }

  // Ends the page and writes it as <pageName>; whether everything was written.
  bool finish(const char *pageName) {
    html += "</body></html>\n";
    if (!writeText(dir + "/" + pageName, html)) ok = false;
    std::puts(pageName);
    return ok;
  }
};
