// Output sinks and dispatch: the format chosen by the file name's ending,
// file and memory outputs giving the same bytes, the memory block's owner
// and lifetime, the out-parameter forms, and failures reported as such.
#include <gtest/gtest.h>

#include "imageio/codec_test_util.h"

using namespace iotest;

namespace {

std::string formatOf(const Bytes &b) {
  if (b.size() >= 6 && std::string(b.begin(), b.begin() + 3) == "GIF") return "gif";
  if (b.size() >= 8 && b[0] == 0x89 && b[1] == 'P') return "png";
  if (b.size() >= 3 && b[0] == 0xFF && b[1] == 0xD8) return "jpeg";
  if (b.size() >= 4 && b[0] == 0 && b[1] == 0) return "wbmp";
  return "?";
}

Area picture() {
  Area a = makeArea(11, 9, 0x0000FF);
  a->rect(2, 1, 8, 6, 0xFF0000, 0x00FF00, 0);
  return a;
}

}  // namespace

TEST(Output, OutChoosesTheFormatByTheEndingIgnoringCase) {
  Area a = picture();
  struct Case {
    const char *name, *format;
  };
  for (Case c : {Case{"a.GIF", "gif"}, Case{"a.jpg", "jpeg"}, Case{"a.JPEG", "jpeg"},
                 Case{"a.png", "png"}, Case{"a.Wbmp", "wbmp"}, Case{"a.wmp", "wbmp"},
                 Case{"a.bmp", "png"}, Case{"gif", "png"}}) {
    const std::string path = scratchPath(c.name);
    ASSERT_TRUE(a->out(path.c_str())) << c.name;
    const Bytes bytes = readFile(path);
    EXPECT_EQ(formatOf(bytes), c.format) << c.name;
    if (std::string(c.format) == "jpeg") {
      EXPECT_EQ(decodeJpeg(bytes).lumaDcQuant, 6) << "quality 80";
    }
    std::remove(path.c_str());
  }
  EXPECT_FALSE(a->out(nullptr));
}

TEST(Output, FileAndMemoryOutputsGiveTheSameBytes) {
  Area a = picture();
  a->setTransparentColor(0x00FF00);
  const std::string path = scratchPath("same");
  ASSERT_TRUE(a->outGIF(path.c_str()));
  EXPECT_EQ(readFile(path), bytesOf(a->outGIF2()));
  ASSERT_TRUE(a->outPNG(path.c_str()));
  EXPECT_EQ(readFile(path), bytesOf(a->outPNG2()));
  ASSERT_TRUE(a->outJPG(path.c_str(), 55));
  EXPECT_EQ(readFile(path), bytesOf(a->outJPG2(55)));
  ASSERT_TRUE(a->outWMP(path.c_str()));
  EXPECT_EQ(readFile(path), bytesOf(a->outWMP2()));
  std::remove(path.c_str());
  // A file that cannot be created is reported.
  EXPECT_FALSE(a->outPNG("/nonexistent-folder/x.png"));
  EXPECT_FALSE(a->outGIF("/nonexistent-folder/x.gif"));
  EXPECT_FALSE(a->outJPG("/nonexistent-folder/x.jpg", 80));
  EXPECT_FALSE(a->outWMP("/nonexistent-folder/x.wbmp"));
}

TEST(Output, MemoryBlocksBelongToTheAreaUntilItsNextMemoryOutput) {
  Area a = picture();
  const MemBlock first = a->outPNG2();
  ASSERT_NE(first.data, nullptr);
  const Bytes firstCopy = bytesOf(first);
  // The next memory output replaces the buffer; its block is valid and
  // decodes, the first one must no longer be used.
  const MemBlock second = a->outGIF2();
  ASSERT_NE(second.data, nullptr);
  EXPECT_TRUE(decodeGif(bytesOf(second)).ok);
  const MemBlock third = a->outPNG2();
  EXPECT_EQ(bytesOf(third), firstCopy);

  // The out-parameter forms deliver the same bytes as the block forms.
  const char *data = nullptr;
  int len = 0;
  ASSERT_TRUE(a->outWMP2(&data, &len));
  const Bytes wbmp(data, data + len);
  EXPECT_EQ(wbmp, bytesOf(a->outWMP2()));
  ASSERT_TRUE(a->outJPG2(&data, &len, 70));
  const Bytes jpeg(data, data + len);
  EXPECT_EQ(jpeg, bytesOf(a->outJPG2(70)));
  ASSERT_TRUE(a->outGIF2(&data, &len));
  EXPECT_EQ(formatOf(Bytes(data, data + len)), "gif");
  ASSERT_TRUE(a->outPNG2(&data, &len));
  EXPECT_EQ(formatOf(Bytes(data, data + len)), "png");

  // A codec failure gives the empty block: JPEG holds at most 65500 a side.
  Area tall = makeArea(1, 65501, 0);
  const MemBlock failed = tall->outJPG2(80);
  EXPECT_EQ(failed.len, 0);
  EXPECT_EQ(failed.data, nullptr);
  data = "x";
  len = 5;
  EXPECT_FALSE(tall->outJPG2(&data, &len, 80));
  EXPECT_EQ(data, nullptr);
  EXPECT_EQ(len, 0);
}

TEST(Output, PatternFromAFileTilesItsPixels) {
  Area src = picture();
  const std::string path = scratchPath("tile.PNG");
  ASSERT_TRUE(src->out(path.c_str()));
  Area a = makeArea(30, 20, 0xFFFFFF);
  const int pattern = a->patternColor2(path.c_str(), 1, 2);
  a->rect(0, 0, 29, 19, pattern, pattern, 0);
  EXPECT_EQ(a->getPixel(1, 2), src->getPixel(0, 0));
  EXPECT_EQ(a->getPixel(1 + 11 + 4, 2 + 9 + 3), src->getPixel(4, 3));
  EXPECT_EQ(a->getPixel(0, 0), src->getPixel(10, 7));
  // A file that does not load gives a 1 x 1 white pattern.
  const int white = a->patternColor2("/nonexistent.gif", 0, 0);
  a->rect(0, 0, 29, 19, white, white, 0);
  EXPECT_EQ(a->getPixel(13, 7), 0xFFFFFF);
  std::remove(path.c_str());
}
