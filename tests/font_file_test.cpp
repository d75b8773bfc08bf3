// Fonts read with FreeType: the build's own face comes out the same whichever
// way it is read, other sizes and outline fonts bake onto the 16-row line, and
// every font that cannot be used is refused with its path and why.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "fonts/font_file.h"
#include "temp_dir_test.h"

namespace fudeline {
namespace {

constexpr const char* kMonaPcf = "/usr/share/fonts/X11/misc/monau16.pcf.gz";
constexpr const char* kMona12Pcf = "/usr/share/fonts/X11/misc/monau12.pcf.gz";
constexpr const char* kIpaGothic = "/usr/share/fonts/opentype/ipafont-gothic/ipagp.ttf";

std::string FileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

int LowestDarkRow(const FontGlyph& glyph) {
    int lowest = -1;
    for (int y = 0; y < kFontLineHeight; ++y)
        for (int x = 0; x < glyph.advance; ++x)
            if (glyph.IsDark(x, y)) lowest = y;
    return lowest;
}

TEST(FontFile, TheBuildsFaceIsTheMonaFontReadAt16Pixels) {
    const Result<std::string> baked = BakeFontFile(kMonaPcf, 16);
    ASSERT_TRUE(baked) << baked.error().Message();
    EXPECT_TRUE(*baked == FileBytes(FUDELINE_FONT));
    // The baked file itself opens as it is, at the size it was baked at.
    const auto font = OpenFontFile(FUDELINE_FONT, 16);
    ASSERT_TRUE(font) << font.error().Message();
    EXPECT_EQ((*font)->GlyphFor(U'A')->advance, 10);
}

TEST(FontFile, OtherSizesAndOutlineFontsSitOnTheTextLine) {
    const struct {
        const char* path;
        int size;
        int lowestRowAtMost;  // the glyph 'g' descends, but no further than its size allows
    } cases[] = {{kMona12Pcf, 12, 11}, {kIpaGothic, 16, 15}, {kIpaGothic, 10, 10}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.path) + " at " + std::to_string(c.size));
        const auto font = OpenFontFile(c.path, c.size);
        ASSERT_TRUE(font) << font.error().Message();
        for (const char32_t code : {U'A', U'g', U'\u3042', U'\u6F22'}) {
            const FontGlyph* glyph = (*font)->GlyphFor(code);
            ASSERT_NE(glyph, nullptr) << static_cast<unsigned>(code);
            EXPECT_GT(glyph->advance, 0);
            EXPECT_GE(LowestDarkRow(*glyph), c.size / 2) << static_cast<unsigned>(code);
            EXPECT_LE(LowestDarkRow(*glyph), c.lowestRowAtMost) << static_cast<unsigned>(code);
        }
    }
}

class FontFileRefusals : public testing::TempDirTest {
  public:
    FontFileRefusals() : TempDirTest("font-file") {}
};

TEST_F(FontFileRefusals, NameThePathAndTheReason) {
    const std::string text = Path("notes.txt");
    std::ofstream(text) << "not a font\n";
    const std::string missing = Path("missing.ttf");
    // A pipe would keep the reader waiting for a writer; a folder is no font.
    const std::string pipe = Path("font.pcf");
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    const std::string folder = Path("fonts");
    std::filesystem::create_directory(folder);
    const struct {
        std::string path;
        int size;
        const char* reason;
    } cases[] = {
        {kMonaPcf, 12, "the font has no 12-pixel bitmap strike (it has 16)"},
        {kIpaGothic, 0, "a font size must be 1 to 16 pixels, the height of a text line"},
        {kIpaGothic, 17, "a font size must be 1 to 16 pixels, the height of a text line"},
        {text, 16, "not a font FreeType can read"},
        {missing, 16, "No such file or directory"},
        {pipe, 16, "a named pipe, not a regular file"},
        {pipe, 12, "a named pipe, not a regular file"},
        {folder, 16, "Is a directory"},
        {FUDELINE_FONT, 12, "a baked face holds 16-pixel glyphs only; give the font it was baked from"},
    };
    for (const auto& c : cases) {
        const auto font = OpenFontFile(c.path, c.size);
        ASSERT_FALSE(font) << c.path << " at " << c.size;
        EXPECT_EQ(font.error().path, c.path);
        EXPECT_EQ(font.error().Reason(), c.reason);
    }
}

}  // namespace
}  // namespace fudeline
