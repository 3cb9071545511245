// Shape texts, shapes cut to the image, and area text: link joining, the
// omitted parts, escaping.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "chart/image_map.h"
#include "chart/label_template.h"

using namespace quorvane;

namespace {

// The legend's fields for key i named name.
auto keyFields(int i, const char *name) {
  return [=](LabelTemplate &t) {
    t.replaceText("{dataSet}", std::to_string(i));
    t.replaceText("{dataSetName}", name);
  };
}

constexpr const char *kLegendQuery = "dataSet={dataSet}&dataSetName={dataSetName}";

}  // namespace

TEST(ImageMap, ShapeTexts) {
  EXPECT_EQ(rectShape(10, 20, 5, 2), "shape=\"rect\" coords=\"5,2,10,20\"");
  EXPECT_EQ(rectShapeAsGiven(10, 20, 9, 19), "shape=\"rect\" coords=\"10,20,9,19\"");
  EXPECT_EQ(circleShape(50, 60, -7), "shape=\"circle\" coords=\"50,60,-7\"");
  const std::vector<int> tri{1, 2, 3, 4, -5, 6};
  EXPECT_EQ(polygonShape(tri), "shape=\"poly\" coords=\"1,2,3,4,-5,6\"");
  EXPECT_EQ(polygonShape({}), "shape=\"poly\" coords=\"\"");
  // The widest numbers an int holds, written whole.
  EXPECT_EQ(rectShapeAsGiven(INT_MIN, -1, 0, INT_MAX),
            "shape=\"rect\" coords=\"-2147483648,-1,0,2147483647\"");
  // Chosen by count: 3 a circle, 4 two corners, else a polygon (an odd last
  // value dropped).
  const std::vector<int> three{1, 2, 3}, four{9, 8, 1, 2}, five{1, 2, 3, 4, 5};
  EXPECT_EQ(shapeFromInts(three), "shape=\"circle\" coords=\"1,2,3\"");
  EXPECT_EQ(shapeFromInts(four), "shape=\"rect\" coords=\"1,2,9,8\"");
  EXPECT_EQ(shapeFromInts(five), "shape=\"poly\" coords=\"1,2,3,4\"");
}

TEST(ImageMap, LinkJoining) {
  const std::string shape = rectShape(0, 0, 9, 9);
  {
    ImageMapWriter w("a.php", nullptr, kLegendQuery, nullptr);
    w.addArea(shape, keyFields(0, "North"));
    EXPECT_EQ(w.text(), "<area " + shape +
                            " href=\"a.php?dataSet=0&dataSetName=North\">\n");
  }
  {
    ImageMapWriter w("a.php?id=1", "", kLegendQuery, "");
    w.addArea(shape, keyFields(1, "S"));
    EXPECT_EQ(w.text(), "<area " + shape + " href=\"a.php?id=1&dataSet=1&dataSetName=S\">\n");
  }
  // A query that starts with "&" or "?" is joined as it is.
  for (const char *q : {"&k={dataSet}", "?k={dataSet}"}) {
    ImageMapWriter w("a.php", q, kLegendQuery, nullptr);
    w.addArea(shape, keyFields(2, "x"));
    EXPECT_EQ(w.text(), "<area " + shape + " href=\"a.php" + std::string(q, 3) + "2\">\n");
  }
  // Without a URL there is no link, whatever the query says; the extra
  // attributes come before the link.
  {
    ImageMapWriter w("", "k={dataSet}", kLegendQuery, "");
    w.addArea(shape, keyFields(0, "x"));
    w.addArea(circleShape(1, 2, 3), keyFields(1, "y"));
    EXPECT_EQ(w.text(), "<area " + shape + ">\n<area shape=\"circle\" coords=\"1,2,3\">\n");
  }
  {
    ImageMapWriter w("u", "k={dataSet}", kLegendQuery, "title='{dataSetName}'");
    w.addArea(shape, keyFields(3, "T"));
    EXPECT_EQ(w.text(), "<area " + shape + " title='T' href=\"u?k=3\">\n");
  }
}

TEST(ImageMap, InsertedValuesCannotBreakTheMarkup) {
  const std::string shape = rectShape(0, 0, 1, 1);
  ImageMapWriter w("x.php?a=\"1\"", "n={dataSetName}&i={dataSet}", kLegendQuery,
                   "title=\"{dataSetName}\" onclick='f()'");
  w.addArea(shape, keyFields(4, "\"><script>alert('x')</script>"));
  EXPECT_EQ(w.text(),
            "<area " + shape +
                " title=\"&quot;&gt;&lt;script&gt;alert(&#39;x&#39;)&lt;/script&gt;\" "
                "onclick='f()' href=\"x.php?a=\"1\"&n=%22%3E%3Cscript%3Ealert%28%27x%27%29"
                "%3C%2Fscript%3E&i=4\">\n");
}

TEST(ImageMap, ShapesCutToTheImage) {
  // A 10 x 10 image; polygons compared as sets of points, worked out from
  // the edges x = 0, x = 9, y = 0, y = 9.
  using Points = std::vector<std::pair<int, int>>;
  auto pointsOf = [](std::span<const int> v) {
    Points p;
    for (size_t k = 0; k + 1 < v.size(); k += 2) p.emplace_back(v[k], v[k + 1]);
    std::sort(p.begin(), p.end());
    return p;
  };
  const struct {
    std::vector<int> shape;
    std::vector<int> expected;  // empty: nothing on the image
    bool isSame;                // the shape is given back as it is
  } cases[] = {
      {{9, 7, 0, 0}, {9, 7, 0, 0}, true},
      {{-5, -5, 20, 3}, {0, 0, 9, 3}, false},
      {{12, 0, 15, 3}, {}, false},
      {{3, 20, 4, 10}, {}, false},
      {{-2, 5, 3}, {-2, 5, 3}, true},
      {{-20, 5, 3}, {}, false},
      {{1, 1, 8, 1, 8, 8}, {1, 1, 8, 1, 8, 8}, true},
      {{-5, -5, 5, -5, 5, 5, -5, 5}, {0, 0, 5, 0, 5, 5, 0, 5}, false},
      {{0, 0, 20, 0, 0, 20}, {0, 0, 9, 0, 9, 9, 0, 9}, false},
      {{0, 0, 12, 0, 0, 12}, {0, 0, 9, 0, 9, 3, 3, 9, 0, 9}, false},
      {{-9, 0, -1, 0, -1, 9}, {}, false},
      {{-9, 0, 0, 0, -1, 9}, {}, false},  // one point on the image: no area
  };
  for (const auto &k : cases) {
    std::vector<int> scratch;
    const std::span<const int> got = shapeOnImage(k.shape, 10, 10, scratch);
    if (k.isSame) {
      EXPECT_EQ(k.shape.data(), got.data());
      EXPECT_EQ(k.shape.size(), got.size());
    } else if (k.shape.size() <= 4) {
      EXPECT_EQ(k.expected, std::vector<int>(got.begin(), got.end()));
    } else {
      EXPECT_EQ(pointsOf(k.expected), pointsOf(got));
      EXPECT_EQ(k.expected.size(), got.size());
    }
  }
}
