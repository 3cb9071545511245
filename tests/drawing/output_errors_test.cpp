// Why an area's file output failed: every writer names the file and the
// system's reason, the area's next success empties the text, and another
// area's outputs leave it alone.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <functional>
#include <string>

#include "test_util.h"

using namespace testutil;

TEST(OutputErrors, EachFileWriterNamesTheFileAndTheSystemsReason) {
  ScratchDir scratch;
  scratch.dir("folder.png");
  const struct {
    std::string path;
    int error;
    bool applies;
  } causes[] = {
      {scratch.file("missing/x.png"), ENOENT, true},
      {scratch.file("folder.png"), EISDIR, true},
      {"/dev/null/x.png", ENOTDIR, true},  // a file as a folder
      {"/dev/full", ENOSPC, access("/dev/full", W_OK) == 0},  // opens, refuses the bytes
  };
  const std::function<bool(DrawArea &, const char *)> writers[] = {
      [](DrawArea &a, const char *p) { return a.out(p); },
      [](DrawArea &a, const char *p) { return a.outGIF(p); },
      [](DrawArea &a, const char *p) { return a.outPNG(p); },
      [](DrawArea &a, const char *p) { return a.outJPG(p, 80); },
      [](DrawArea &a, const char *p) { return a.outWMP(p); }};
  Area area = makeArea(7, 5, kRed), other = makeArea(3, 3);
  const std::string good = scratch.file("good.png");
  for (const auto &c : causes) {
    for (size_t w = 0; w < std::size(writers) && c.applies; ++w) {
      SCOPED_TRACE(c.path + ", writer " + std::to_string(w));
      EXPECT_FALSE(writers[w](*area, c.path.c_str()));
      const std::string reason = "cannot write " + c.path + ": " + std::strerror(c.error);
      EXPECT_EQ(str(area->getLastError()), reason);
      EXPECT_STREQ(other->getLastError(), "");
      ASSERT_TRUE(other->outPNG(good.c_str()));
      EXPECT_EQ(str(area->getLastError()), reason);
      ASSERT_TRUE(writers[w](*area, good.c_str()));
      EXPECT_STREQ(area->getLastError(), "");
    }
  }
  EXPECT_FALSE(area->out(nullptr));
  EXPECT_STREQ(area->getLastError(), "no file name");
}
