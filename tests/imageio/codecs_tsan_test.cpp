// Charts render on several threads at once: every writer and reader keeps its
// state per call, so areas encoded and decoded on different threads at the
// same time give the same bytes as on one thread.
#include <gtest/gtest.h>

#include "imageio/codec_test_util.h"

using namespace iotest;

TEST(CodecThreads, ConcurrentEncodingAndDecodingMatchOneThread) {
  auto work = [](unsigned seed) {
    Area a = makeArea(1, 1, 0);
    drawChartScene(a.get(), 97, 61, seed);
    a->setInterlace(static_cast<int>(seed % 2));
    std::vector<Bytes> out = {bytesOf(a->outGIF2()), bytesOf(a->outPNG2()), bytesOf(a->outJPG2(70)),
                              bytesOf(a->outWMP2())};
    const std::string path = scratchPath("thread" + std::to_string(seed) + ".gif");
    writeFile(path, out[0]);
    Area back = makeArea(1, 1, 0);
    out.push_back(Bytes{static_cast<uint8_t>(back->load(path.c_str()))});
    out.push_back(bytesOf(back->outPNG2()));
    std::remove(path.c_str());
    return out;
  };
  testutil::expectSameOnThreads(4, 1, work);
}
