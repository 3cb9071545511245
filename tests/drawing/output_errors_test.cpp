// Why an area's output failed: each file writer names the file and the
// system's reason, a codec that refuses the image says which size it holds,
// a success empties the text again, and the text is the area's own.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <functional>
#include <string>

#include "test_util.h"

using namespace testutil;

namespace {

std::string cannotWrite(const std::string &path, int error) {
  return "cannot write " + path + ": " + std::strerror(error);
}

}  // namespace

TEST(OutputErrors, EachFileWriterNamesTheFileAndTheSystemsReason) {
  ScratchDir scratch;
  scratch.dir("folder.png");
  const std::string readOnly = scratch.dir("read-only");
  chmod(readOnly.c_str(), 0555);
  const struct {
    const char *cause;
    std::string path;
    int error;
    bool applies;
  } causes[] = {
      {"missing folder", scratch.file("missing/x.png"), ENOENT, true},
      {"a folder's name", scratch.file("folder.png"), EISDIR, true},
      {"a file as a folder", "/dev/null/x.png", ENOTDIR, true},
      // Root writes into any folder, so the row only holds for other users.
      {"read-only folder", readOnly + "x.png", EACCES, geteuid() != 0},
      // The device takes the open and refuses the bytes: a full disk.
      {"disk full", "/dev/full", ENOSPC, access("/dev/full", W_OK) == 0},
  };
  const struct {
    const char *name;
    std::function<bool(DrawArea &, const char *)> write;
  } writers[] = {
      {"out", [](DrawArea &a, const char *p) { return a.out(p); }},
      {"outGIF", [](DrawArea &a, const char *p) { return a.outGIF(p); }},
      {"outPNG", [](DrawArea &a, const char *p) { return a.outPNG(p); }},
      {"outJPG", [](DrawArea &a, const char *p) { return a.outJPG(p, 80); }},
      {"outWMP", [](DrawArea &a, const char *p) { return a.outWMP(p); }},
  };
  Area area = makeArea(7, 5, kRed);
  Area other = makeArea(3, 3);
  const std::string good = scratch.file("good.png");
  for (const auto &c : causes) {
    if (!c.applies) continue;
    for (const auto &w : writers) {
      SCOPED_TRACE(std::string(c.cause) + ", " + w.name);
      EXPECT_FALSE(w.write(*area, c.path.c_str()));
      EXPECT_EQ(str(area->getLastError()), cannotWrite(c.path, c.error));
      // The text is the area's: another area's outputs neither see nor clear it.
      EXPECT_STREQ(other->getLastError(), "");
      ASSERT_TRUE(other->outPNG(good.c_str()));
      EXPECT_EQ(str(area->getLastError()), cannotWrite(c.path, c.error));
      // The area's next success empties it.
      ASSERT_TRUE(w.write(*area, good.c_str()));
      EXPECT_STREQ(area->getLastError(), "");
    }
  }
  EXPECT_FALSE(area->out(nullptr));
  EXPECT_STREQ(area->getLastError(), "no file name");
}

TEST(OutputErrors, ACodecThatRefusesTheImageSaysWhatItHolds) {
  // JPEG holds at most 65500 pixels a side, for files and memory alike.
  Area tall = makeArea(2, 65501);
  const std::string refused = "cannot encode a 2 x 65501 image as JPEG: JPEG holds at most "
                              "65500 pixels a side";
  ScratchDir scratch;
  EXPECT_FALSE(tall->outJPG(scratch.file("tall.jpg").c_str(), 80));
  EXPECT_EQ(str(tall->getLastError()), refused);
  EXPECT_NE(tall->outPNG2().data, nullptr);
  EXPECT_STREQ(tall->getLastError(), "");
  EXPECT_EQ(tall->outJPG2(80).data, nullptr);
  EXPECT_EQ(str(tall->getLastError()), refused);
  const char *data = nullptr;
  int len = 0;
  EXPECT_TRUE(tall->outWMP2(&data, &len));
  EXPECT_STREQ(tall->getLastError(), "");
}
