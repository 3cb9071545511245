// The font search list, the cache and the fallbacks, with real font files.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "text/font_directories.h"
#include "text/font_manager.h"
#include "text/platform_fonts.h"
#include "text/text_test_util.h"

using namespace texttest;
using testutil::ScratchDir;
using quorvane::text::buildFontDirectories;
using quorvane::text::FontManager;
namespace fs = std::filesystem;

namespace {

const std::vector<std::string> kPlatform{"/usr/share/fonts", "/home/u/.fonts/"};

std::string familyOf(quorvane::text::SharedFace &opened) {
  return opened.face()->family_name != nullptr ? opened.face()->family_name : "";
}

}  // namespace

TEST(FontDirectories, FontPathPiecesThenTheBareNameAndNoPlatformFolders) {
  // One directory without a trailing separator and no separator at all.
  EXPECT_EQ(buildFontDirectories("/opt/fonts", kPlatform),
            (std::vector<std::string>{"/opt/fonts/", ""}));
  // A one-character piece, a directory already ending in '/', two empty pieces.
  EXPECT_EQ(buildFontDirectories("x;/opt/fonts/;;", kPlatform),
            (std::vector<std::string>{"/opt/fonts/", ""}));
  // ':' splits as ';' does; a two-character piece is a directory; the last
  // piece counts.
  EXPECT_EQ(buildFontDirectories("/a/b:ab;c::/d", kPlatform),
            (std::vector<std::string>{"/a/b/", "ab/", "/d/", ""}));
  // Only short pieces: as if FONTPATH gave nothing.
  EXPECT_EQ(buildFontDirectories(";a:;", kPlatform),
            (std::vector<std::string>{"", "/usr/share/fonts/", "/home/u/.fonts/"}));
}

TEST(FontDirectories, UnsetOrEmptyFontPathSearchesThePlatformFolders) {
  const std::vector<std::string> expected{"", "/usr/share/fonts/", "/home/u/.fonts/"};
  EXPECT_EQ(buildFontDirectories(std::nullopt, kPlatform), expected);
  EXPECT_EQ(buildFontDirectories("", kPlatform), expected);
  EXPECT_EQ(buildFontDirectories(std::nullopt, {}), std::vector<std::string>{""});
}

TEST(FontDirectories, PlatformWalkListsEveryFontFolderSortedUnderItsRoot) {
  const auto dirs = quorvane::text::platform::platformFontDirectories();
  ASSERT_FALSE(dirs.empty());
  EXPECT_EQ(dirs.front(), "/usr/share/fonts");
  const auto has = [&](const std::string &d) {
    return std::find(dirs.begin(), dirs.end(), d) != dirs.end();
  };
  EXPECT_TRUE(has("/usr/share/fonts/truetype/liberation2"));
  EXPECT_TRUE(has("/usr/share/fonts/truetype/dejavu"));
  EXPECT_TRUE(has("/usr/share/fonts/X11/Type1"));
  // Sorted within the system root (the first root in the list).
  std::vector<std::string> system;
  for (const auto &d : dirs)
    if (d.rfind("/usr/share/fonts", 0) == 0) system.push_back(d);
  EXPECT_TRUE(std::is_sorted(system.begin(), system.end()));
  // The process-wide list: the bare name first, unless FONTPATH is set.
  if (std::getenv("FONTPATH") == nullptr) {
    const auto &global = FontManager::instance().directories();
    ASSERT_GE(global.size(), 2u);
    EXPECT_EQ(global[0], "");
    EXPECT_EQ(global[1], "/usr/share/fonts/");
  }
}

TEST(FontCache, NameDifferingOnlyInCaseReusesTheCachedPath) {
  FontManager fonts({kDejaVuDir, ""});
  const FontManager::Lock lock(fonts);
  const auto first = fonts.openFace("DejaVuSans.ttf", lock);
  ASSERT_TRUE(first);
  EXPECT_EQ(first->path(), kDejaVuDir + "DejaVuSans.ttf");
  // The file system tells case apart: only the cache can find this name.
  ASSERT_FALSE(fs::exists(kDejaVuDir + "DEJAVUSANS.TTF"));
  const auto second = fonts.openFace("DEJAVUSANS.TTF", lock);
  ASSERT_TRUE(second);
  EXPECT_EQ(second->path(), first->path());
  EXPECT_EQ(second, first);  // the face is kept open and shared
  EXPECT_EQ(fonts.cachedPath("dejavusans.TTF", lock), first->path());
  // Never found before: not in the cache, and not found.
  EXPECT_FALSE(fonts.openFace("DEJAVUSERIF.TTF", lock));
}

TEST(FontCache, StaleEntryIsDroppedAndTheNameSearchedAgain) {
  ScratchDir scratch;
  const std::string first = scratch.dir("a"), second = scratch.dir("b");
  FontManager fonts({first, second, ""});
  const FontManager::Lock lock(fonts);

  fs::copy_file(kDejaVu, first + "probe.ttf");
  auto found = fonts.openFace("probe.ttf", lock);
  ASSERT_TRUE(found);
  EXPECT_EQ(found->path(), first + "probe.ttf");
  EXPECT_EQ(familyOf(*found), "DejaVu Sans");

  fs::copy_file(kSans, second + "probe.ttf");
  fs::remove(first + "probe.ttf");
  found = fonts.openFace("probe.ttf", lock);
  ASSERT_TRUE(found);
  EXPECT_EQ(found->path(), second + "probe.ttf");
  EXPECT_EQ(familyOf(*found), "Liberation Sans");
  EXPECT_EQ(fonts.cachedPath("probe.ttf", lock), second + "probe.ttf");

  // Replaced by something that is not a font: dropped, and the search fails.
  fs::remove(second + "probe.ttf");
  std::ofstream(second + "probe.ttf") << "not a font";
  EXPECT_FALSE(fonts.openFace("probe.ttf", lock));
  EXPECT_FALSE(fonts.cachedPath("probe.ttf", lock));
  // Failures are not cached: once the file is back it is found.
  fs::copy_file(kDejaVu, first + "probe.ttf");
  found = fonts.openFace("probe.ttf", lock);
  ASSERT_TRUE(found);
  EXPECT_EQ(found->path(), first + "probe.ttf");
}

// Faces stay open between lookups, but only while their file is the one
// they were opened from, and only so many at once.
TEST(FontCache, OpenFacesFollowTheirFilesAndAreBoundedInNumber) {
  ScratchDir scratch;
  const std::string dir = scratch.dir();
  FontManager fonts({dir, kLiberationDir, ""});
  const FontManager::Lock lock(fonts);

  // Rewritten in place under the same name: the new file is read.
  fs::copy_file(kDejaVu, dir + "probe.ttf");
  ASSERT_TRUE(fonts.openFace("probe.ttf", lock));
  EXPECT_EQ(familyOf(*fonts.openFace("probe.ttf", lock)), "DejaVu Sans");
  fs::copy_file(kSans, dir + "probe.ttf", fs::copy_options::overwrite_existing);
  auto *rewritten = fonts.openFace("probe.ttf", lock);
  ASSERT_TRUE(rewritten);
  EXPECT_EQ(familyOf(*rewritten), "Liberation Sans");

  // Twelve fonts in turn, twice: each lookup still gives its own font, the
  // earliest reopened after being closed to make room.
  const std::vector<std::string> names{
      "LiberationMono-Bold.ttf",        "LiberationMono-BoldItalic.ttf",
      "LiberationMono-Italic.ttf",      "LiberationMono-Regular.ttf",
      "LiberationSans-Bold.ttf",        "LiberationSans-BoldItalic.ttf",
      "LiberationSans-Italic.ttf",      "LiberationSans-Regular.ttf",
      "LiberationSerif-Bold.ttf",       "LiberationSerif-BoldItalic.ttf",
      "LiberationSerif-Italic.ttf",     "LiberationSerif-Regular.ttf"};
  ASSERT_GT(names.size(), FontManager::kMaxOpenFaces);
  for (int round = 0; round < 2; ++round)
    for (const auto &name : names) {
      auto *face = fonts.openFace(name, lock);
      ASSERT_TRUE(face) << name;
      EXPECT_EQ(face->path(), kLiberationDir + name);
      const std::string family = familyOf(*face);
      EXPECT_EQ(family, name.find("Mono") != std::string::npos    ? "Liberation Mono"
                        : name.find("Sans") != std::string::npos ? "Liberation Sans"
                                                                 : "Liberation Serif");
    }
}

TEST(FontCache, PathNamesAreTriedAsGivenAndNeverSearched) {
  ScratchDir scratch;
  const std::string root = scratch.dir();
  fs::create_directories(root + "sub");
  fs::copy_file(kDejaVu, root + "sub/DejaVuSans.ttf");
  FontManager fonts({root, kDejaVuDir, ""});
  const FontManager::Lock lock(fonts);
  // root + "sub/DejaVuSans.ttf" exists, but a name with a separator is not
  // looked for in the directories (and is not there relative to the
  // current directory).
  ASSERT_FALSE(fs::exists("sub/DejaVuSans.ttf"));
  EXPECT_FALSE(fonts.openFace("sub/DejaVuSans.ttf", lock));
  EXPECT_FALSE(fonts.openFace("sub\\DejaVuSans.ttf", lock));
  EXPECT_FALSE(fonts.openFace(root + "missing/DejaVuSans.ttf", lock));
  // A path that exists opens and is cached under itself.
  const auto byPath = fonts.openFace(root + "sub/DejaVuSans.ttf", lock);
  ASSERT_TRUE(byPath);
  EXPECT_EQ(byPath->path(), root + "sub/DejaVuSans.ttf");
  EXPECT_EQ(fonts.cachedPath(root + "SUB/dejavusans.ttf", lock), root + "sub/DejaVuSans.ttf");
  // Folders and other files that are not fonts do not open.
  EXPECT_FALSE(fonts.openFace(root + "sub", lock));
  EXPECT_FALSE(fonts.openFace("/dev/null", lock));
}

TEST(FontFallback, WindowsNamesTakeTheirFreeSubstitutes) {
  FontManager fonts({"", kDejaVuDir, kLiberationDir});
  const FontManager::Lock lock(fonts);
  for (const auto &[windows, free] : std::vector<std::pair<std::string, std::string>>{
           {"arial.ttf", "LiberationSans-Regular.ttf"},
           {"ARIALBD.TTF", "LiberationSans-Bold.ttf"},
           {"timesi.ttf", "LiberationSerif-Italic.ttf"},
           {"courbi.ttf", "LiberationMono-BoldItalic.ttf"},
           {"default.ttf", "DejaVuSans.ttf"}}) {
    const auto found = fonts.openFace(windows, lock);
    ASSERT_TRUE(found) << windows;
    EXPECT_EQ(found->path(), (free == "DejaVuSans.ttf" ? kDejaVuDir : kLiberationDir) + free);
    // The cache key is the requested name.
    EXPECT_EQ(fonts.cachedPath(windows, lock), found->path());
    EXPECT_FALSE(fonts.cachedPath(free, lock));
  }
  EXPECT_FALSE(fonts.openFace("verdana.ttf", lock));
  // A path is never substituted.
  EXPECT_FALSE(fonts.openFace("/nowhere/arial.ttf", lock));
}

TEST(FontFallback, MissingOrEmptyNamesFallBackInOrder) {
  {
    FontManager fonts({"", kDejaVuDir, kLiberationDir});
    const FontManager::Lock lock(fonts);
    for (const char *name : {"", static_cast<const char *>(nullptr), "no-such-font.ttf",
                             "/no/such/dir/DejaVuSans.ttf"}) {
      const auto face = fonts.selectFace(name, lock);
      ASSERT_TRUE(face);
      EXPECT_EQ(face->path(), kSans);  // "arial.ttf", found as Liberation Sans
    }
    // The empty name was never looked up: it went straight to the fallback.
    EXPECT_FALSE(fonts.cachedPath("", lock));
    EXPECT_TRUE(fonts.cachedPath("arial.ttf", lock));
  }
  {
    // Without Liberation the first fallback is missing; the second is DejaVu.
    FontManager fonts({"", kDejaVuDir});
    const FontManager::Lock lock(fonts);
    const auto face = fonts.selectFace("no-such-font.ttf", lock);
    ASSERT_TRUE(face);
    EXPECT_EQ(face->path(), kDejaVu);
  }
  {
    ScratchDir scratch;
    FontManager fonts({scratch.dir(), ""});
    const FontManager::Lock lock(fonts);
    EXPECT_FALSE(fonts.selectFace("DejaVuSans.ttf", lock));
  }
}

// On this system, through the process-wide manager and the published text
// calls: "arialbd.ttf" draws in Liberation Sans Bold, an unknown font in the
// first fallback that exists.
TEST(FontFallback, DrawAreaTextUsesSubstitutesAndFallbacks) {
  if (std::getenv("FONTPATH") != nullptr) GTEST_SKIP() << "FONTPATH changes the search list";
  const auto draw = [](const char *font) {
    Area a = makeArea(240, 40);
    a->text("Chart title 2024", font, 14, 4, 4, kBlack);
    return pixels(a.get());
  };
  EXPECT_EQ(draw("arialbd.ttf"), draw(kSansBold.c_str()));
  EXPECT_EQ(draw("no-such-font.ttf"), draw(kSans.c_str()));
  EXPECT_EQ(draw(""), draw(kSans.c_str()));
  EXPECT_NE(draw("arialbd.ttf"), draw(kSans.c_str()));
}
