#include "glyphs/catalog_loader.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <unistd.h>
#include <fstream>
#include <iterator>
#include <sstream>

#include <random>

#include "temp_dir_test.h"

namespace fudeline {
namespace {

using testing::MakeTempDir;
using testing::ReadCatalogText;
using testing::WriteFile;

std::vector<std::string> Texts(const GlyphCatalog& catalog) {
    std::vector<std::string> texts;
    for (const Glyph& g : catalog) texts.push_back(g.text);
    return texts;
}

TEST(ParseGlyphLine, MinusSignExample) {
    GlyphCatalog catalog = ReadCatalogText("45, 0, 8, 5, 1, 8, 2, 8, 3, 8, 4, 8, 5, 8\n");
    TrimGlyphPatterns(catalog);
    ASSERT_EQ(catalog.size(), 1u);
    const Glyph& g = catalog[0];
    EXPECT_EQ(g.text, "-");
    EXPECT_EQ(g.width, 8);
    EXPECT_EQ(g.fullPenalty, 53687091);
    EXPECT_EQ(g.halfPenalty, 26843545);
    ASSERT_EQ(g.pixels.size(), 5u);
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(g.pixels[static_cast<std::size_t>(i)].x, i);
        EXPECT_EQ(g.pixels[static_cast<std::size_t>(i)].y, 8);
    }
}

TEST(ParseGlyphLine, WeightsTextAndExtraFields) {
    const GlyphCatalog catalog = ReadCatalogText(
        "65, 0, 5, 1, 0, 0, 99, 99\n"         // N = 1, trailing fields ignored
        "129, 91, 16, 3, 0, 1, 1, 1, 2, 1\n"  // two-byte text
        "321, 256, 4, 1, 0, 0\n"              // only the low 8 bits count: 0x41, 0
        " 66,  0,  7,  1,  0,  2\n");         // atoi skips leading blanks
    ASSERT_EQ(catalog.size(), 4u);
    EXPECT_EQ(catalog[0].fullPenalty, 268435456);
    EXPECT_EQ(catalog[0].halfPenalty, 134217728);
    EXPECT_EQ(catalog[0].pixels.size(), 1u);
    EXPECT_EQ(catalog[1].text, "\x81\x5B");
    EXPECT_EQ(catalog[1].fullPenalty, 89478485);
    EXPECT_EQ(catalog[1].halfPenalty, 44739242);
    EXPECT_EQ(catalog[2].text, "A");
    EXPECT_EQ(catalog[3].text, "B");
    EXPECT_EQ(catalog[3].width, 7);
}

TEST(ParseGlyphLine, SkipsLinesThatHoldFewerPixelsThanDeclared) {
    const GlyphCatalog catalog = ReadCatalogText(
        "65, 0, 5, 3, 0, 0, 1, 1\n"     // 3 declared, 2 present: skipped
        "66, 0, 5, 2147483647, 0, 0\n"  // absurd count: skipped, no allocation
        "67, 0, 5, 1, 0, 0\n");         // reading goes on
    EXPECT_EQ(Texts(catalog), std::vector<std::string>{"C"});
}

TEST(ParseGlyphLine, DropsGlyphsWithoutPositiveWidth) {
    const GlyphCatalog catalog =
        ReadCatalogText("65, 0, 0, 1, 0, 0\n66, 0, -3, 1, 0, 0\n67, 0, 1, 1, 0, 0\n");
    EXPECT_EQ(Texts(catalog), std::vector<std::string>{"C"});
}

TEST(ParseGlyphLine, ExclusionListsApplyToTheirOwnFileOnly) {
    const std::string lines =
        "58, 0, 4, 1, 0, 0\n165, 0, 4, 1, 0, 0\n198, 0, 4, 1, 0, 0\n"
        "129, 129, 11, 1, 0, 0\n59, 0, 4, 1, 0, 0\n33, 0, 4, 1, 0, 0\n";
    EXPECT_EQ(Texts(ReadCatalogText(lines, CatalogKind::SingleByte)),
              (std::vector<std::string>{"\x81\x81", "!"}));
    EXPECT_EQ(Texts(ReadCatalogText(lines, CatalogKind::DoubleByte)),
              (std::vector<std::string>{":", "\xA5", "\xC6", ";", "!"}));
}

TEST(ReadCatalogStream, ShortLineEndsTheFile) {
    EXPECT_EQ(Texts(ReadCatalogText("65, 0, 5, 1, 0, 0\n1, 2, 3\n66, 0, 5, 1, 0, 0\n")),
              std::vector<std::string>{"A"});
    EXPECT_EQ(Texts(ReadCatalogText("65, 0, 5, 1, 0, 0\n\n66, 0, 5, 1, 0, 0\n")),
              std::vector<std::string>{"A"});
    // A comma without its space does not separate.
    EXPECT_EQ(Texts(ReadCatalogText("65,0,5,1,0,0\n66, 0, 5, 1, 0, 0\n")),
              std::vector<std::string>{});
    // Trailing empty line and a last line without a line end are fine.
    EXPECT_EQ(Texts(ReadCatalogText("65, 0, 5, 1, 0, 0\n66, 0, 5, 1, 0, 0")),
              (std::vector<std::string>{"A", "B"}));
}

TEST(ReadCatalogStream, CrLfAndLfLineEndsReadAlike) {
    const GlyphCatalog lf = ReadCatalogText("65, 0, 5, 2, 0, 0, 1, 3\n66, 0, 6, 1, 0, 1\n");
    const GlyphCatalog crlf = ReadCatalogText("65, 0, 5, 2, 0, 0, 1, 3\r\n66, 0, 6, 1, 0, 1\r\n");
    ASSERT_EQ(lf.size(), crlf.size());
    for (std::size_t i = 0; i < lf.size(); ++i) {
        EXPECT_EQ(lf[i].text, crlf[i].text);
        ASSERT_EQ(lf[i].pixels.size(), crlf[i].pixels.size());
        EXPECT_EQ(lf[i].pixels.back().y, crlf[i].pixels.back().y);
    }
}

TEST(TrimGlyphPatterns, ShiftsOrRemovesByTheLeftmostColumn) {
    GlyphCatalog catalog = ReadCatalogText(
        "65, 0, 8, 2, 2, 0, 5, 1\n"   // min x 2: shifted by 2
        "66, 0, 8, 2, 3, 0, 4, 1\n"   // min x 3: removed
        "67, 0, 8, 2, -1, 0, 3, 1\n"  // min x -1: shifted right by 1
        "68, 0, 8, 0\n"               // no pixels: removed
        "69, 0, 8, 1, 0, 5\n");
    TrimGlyphPatterns(catalog);
    ASSERT_EQ(Texts(catalog), (std::vector<std::string>{"A", "C", "E"}));
    EXPECT_EQ(catalog[0].pixels[0].x, 0);
    EXPECT_EQ(catalog[0].pixels[1].x, 3);
    EXPECT_EQ(catalog[1].pixels[0].x, 0);
    EXPECT_EQ(catalog[1].pixels[1].x, 4);
    EXPECT_EQ(catalog[1].pixels[1].y, 1);
}

TEST(TrimGlyphPatterns, ExtremeCoordinatesDoNotOverflow) {
    GlyphCatalog catalog = ReadCatalogText("65, 0, 8, 2, -99999999999, 0, 2147483647, 1\n");
    TrimGlyphPatterns(catalog);
    ASSERT_EQ(catalog.size(), 1u);
    EXPECT_EQ(catalog[0].pixels[0].x, 0);
    EXPECT_EQ(catalog[0].pixels[1].x, 2147483647);  // saturated, not wrapped
}

TEST(ParseDecimal, FollowsAtoiAndSaturates) {
    EXPECT_EQ(ParseDecimal("  -12x"), -12);
    EXPECT_EQ(ParseDecimal("+7"), 7);
    EXPECT_EQ(ParseDecimal("abc"), 0);
    EXPECT_EQ(ParseDecimal(""), 0);
    EXPECT_EQ(ParseDecimal(std::string("4\0"
                                       "5",
                                       3)),
              4);
    EXPECT_EQ(ParseDecimal("99999999999999999999999"), 2147483647);
    EXPECT_EQ(ParseDecimal("-99999999999999999999999"), -2147483648LL);
}

class LoadGlyphCatalogTest : public testing::TempDirTest {
  protected:
    LoadGlyphCatalogTest() : TempDirTest("loader") {}
};

TEST_F(LoadGlyphCatalogTest, ReadsSingleThenDoubleByteFileAndTrims) {
    WriteFile(dir_ / "0021t00df.dat", "65, 0, 5, 1, 0, 0\n66, 0, 5, 1, 5, 0\nend, 2\n");
    WriteFile(dir_ / "8141t84be.dat", "130, 160, 15, 1, 1, 0\n58, 0, 4, 1, 0, 0\nend, 2\n");
    const auto catalog = LoadGlyphCatalog(dir_.string());
    ASSERT_TRUE(catalog) << catalog.error().Message();
    EXPECT_EQ(Texts(*catalog), (std::vector<std::string>{"A", "\x82\xA0", ":"}));
}

// The files of one writing carry one stamp; a pair cut apart by a power cut
// between its renames carries two, or one beside none, and is refused.
TEST_F(LoadGlyphCatalogTest, FilesOfTwoWritingsAreRefusedByTheirStamps) {
    const std::string single = "65, 0, 5, 1, 0, 0\n", dbl = "130, 160, 15, 1, 1, 0\n";
    const struct {
        const char* singleEnd;
        const char* doubleEnd;
        bool loads;
    } cases[] = {
        {"end, 1, 00000000000000ff\n", "end, 1, 00000000000000ff\n", true},
        {"end, 1\n", "end, 1\n", true},  // written before stamps
        {"end, 1, 00000000000000ff\n", "end, 1, 00000000000000fe\n", false},
        {"end, 1, 00000000000000ff\n", "end, 1\n", false},
        {"end, 1\n", "end, 1, 00000000000000ff\n", false},
    };
    for (const auto& c : cases) {
        WriteFile(dir_ / "0021t00df.dat", single + c.singleEnd);
        WriteFile(dir_ / "8141t84be.dat", dbl + c.doubleEnd);
        const auto catalog = LoadGlyphCatalog(dir_.string());
        ASSERT_EQ(static_cast<bool>(catalog), c.loads) << c.singleEnd << c.doubleEnd;
        if (c.loads) continue;
        EXPECT_EQ(catalog.error().path, dir_.string());
        EXPECT_NE(catalog.error().Reason().find("not from one writing"), std::string::npos)
            << catalog.error().Reason();
    }
}

TEST_F(LoadGlyphCatalogTest, FilesWithoutAUsableGlyphAreAnErrorNamingTheFolder) {
    // Empty, only excluded characters, only glyphs the trim removes.
    for (const char* single :
         {"end, 0\n", "46, 0, 3, 1, 0, 0\nend, 1\n", "65, 0, 5, 1, 4, 0\nend, 1\n"}) {
        WriteFile(dir_ / "0021t00df.dat", single);
        WriteFile(dir_ / "8141t84be.dat", "end, 0\n");
        const auto catalog = LoadGlyphCatalog(dir_.string());
        ASSERT_FALSE(catalog) << single;
        EXPECT_EQ(catalog.error().path, dir_.string());
        EXPECT_NE(catalog.error().Reason().find("no usable glyph"), std::string::npos);
    }
}

// A file with an end line is checked against it; a file in the original
// format (no end line) is whole unless one of its lines cannot be.
TEST(CheckCatalogWhole, EndLineFilesStrictlyOriginalFilesLineByLine) {
    const std::string glyph = "65, 0, 5, 1, 0, 0\n";
    const std::string wide = "130, 160, 16, 2, 3, 4, 5, 6\n";
    std::string legacySingle, legacyDouble;
    for (int i = 0; i < 157; ++i) legacySingle += glyph;
    for (int i = 0; i < 522; ++i) legacyDouble += glyph;
    legacySingle += "223, 0, 4, 1, 2, 1\n";
    legacyDouble += "132, 190, 16, 1, 7, 1\n";
    const struct {
        std::string text;
        CatalogKind kind;
        const char* reasonStart;  // null: whole
    } cases[] = {
        // With an end line, as strictly as ever.
        {glyph + glyph + "end, 2\n", CatalogKind::SingleByte, nullptr},
        {glyph + glyph + "end, 2\r\n", CatalogKind::SingleByte, nullptr},
        {"end, 0\n", CatalogKind::DoubleByte, nullptr},
        {glyph + glyph + "end, 3\n", CatalogKind::SingleByte, "holds 2 glyph lines where its end"},
        {glyph + "end, 2\n", CatalogKind::SingleByte, "holds 1 glyph lines"},
        {glyph + glyph + "end, 2", CatalogKind::SingleByte,
         "cut short: its last line is incomplete"},
        {glyph + "end, x2\n", CatalogKind::SingleByte, "its end line is damaged"},
        {glyph + "end, \n", CatalogKind::SingleByte, "its end line is damaged"},
        {glyph + "end, 1, 0123456789abcdef\n", CatalogKind::SingleByte, nullptr},
        {glyph + "end, 1, 0123456789ABCDEF\n", CatalogKind::SingleByte, "its end line is damaged"},
        {glyph + "end, 1, 0123\n", CatalogKind::SingleByte, "its end line is damaged"},
        {glyph + "end, 1, \n", CatalogKind::SingleByte, "its end line is damaged"},
        // The original format: whole catalogues, subsets, any order, odd
        // spacing, no final line break, a short line ending the glyphs.
        {legacySingle, CatalogKind::SingleByte, nullptr},
        {legacyDouble, CatalogKind::DoubleByte, nullptr},
        {legacySingle, CatalogKind::DoubleByte, nullptr},
        {"", CatalogKind::SingleByte, nullptr},
        {glyph + glyph, CatalogKind::SingleByte, nullptr},
        {legacySingle.substr(0, legacySingle.size() - 19), CatalogKind::SingleByte, nullptr},
        {legacySingle.substr(18 * 10), CatalogKind::SingleByte, nullptr},
        {wide + glyph, CatalogKind::DoubleByte, nullptr},
        {"65, 0, 5, 1, 0, 0", CatalogKind::SingleByte, nullptr},
        {glyph + "66,  0,  5,  2,  1, 1,  2, 2\r\n", CatalogKind::SingleByte, nullptr},
        {glyph + "65, 0, 5, 1, 0, 0, 7, 7\n", CatalogKind::SingleByte, nullptr},
        {glyph + "\n" + "65, 0, 5, 9\n", CatalogKind::SingleByte, nullptr},
        {glyph + "end\n" + glyph, CatalogKind::SingleByte, nullptr},
        {glyph + "\n", CatalogKind::SingleByte, nullptr},
        {glyph + "  ", CatalogKind::SingleByte, nullptr},
        {glyph + "65, 0, 5\n", CatalogKind::SingleByte, nullptr},
        // A line that cannot be whole.
        {glyph + "65, 0, 5, 1,", CatalogKind::SingleByte, "cut short: line 2 holds fewer numbers"},
        {glyph + "65, 0, 5, 2, 0, 0\n" + glyph, CatalogKind::SingleByte,
         "cut short: line 2 holds fewer numbers than its count of 2"},
        {"65, 0, 5, 3, 0, 0, 1, 1, 2\n", CatalogKind::SingleByte, "cut short: line 1 holds fewer"},
        {glyph + "65, 0, 5", CatalogKind::SingleByte, "cut short: its last line is incomplete"},
        {wide + "130", CatalogKind::DoubleByte, "cut short: its last line is incomplete"},
        {wide + "130, 0, 16, 1, 3, 4\n", CatalogKind::DoubleByte,
         "cut short: line 2 holds the first byte of a two-byte code"},
        {"224, 63, 16, 1, 3, 4", CatalogKind::DoubleByte, "cut short: line 1 holds the first byte"},
    };
    for (const auto& c : cases) {
        const Status whole = CheckCatalogWhole(c.text, c.kind);
        if (!c.reasonStart) {
            EXPECT_TRUE(whole) << c.text.substr(0, 60) << ": " << whole.error().Reason();
            continue;
        }
        ASSERT_FALSE(whole) << c.text.substr(0, 60);
        EXPECT_TRUE(whole.error().Reason().starts_with(c.reasonStart)) << whole.error().Reason();
        EXPECT_TRUE(whole.error().path.empty());
    }
}

// The built catalogue in the original format (no end line, no final line
// break, a subset, the first kilobyte cut at a line end) loads the glyphs it
// holds; cut inside a line it is refused naming the file.
TEST_F(LoadGlyphCatalogTest, TheBuiltCatalogueLoadsInTheOriginalFormatAndCutInALineIsRefused) {
    const auto exe = std::filesystem::read_symlink("/proc/self/exe").parent_path();
    auto read = [&](const char* name) {
        std::ifstream in(exe / name, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    };
    const std::string single = read(kSingleByteCatalogName);
    const std::string dbl = read(kDoubleByteCatalogName);
    // The built pair: end lines counting the glyph lines, with one stamp.
    const std::string endLine =
        "\nend, " + std::to_string(std::count(single.begin(), single.end(), '\n') - 1) + ", ";
    ASSERT_NE(single.find(endLine), std::string::npos);
    ASSERT_EQ(single.size() - single.find(endLine), endLine.size() + 17);
    auto withoutEnd = [](const std::string& text) { return text.substr(0, text.rfind("end, ")); };
    auto withoutLastBreak = [&](const std::string& text) {
        const std::string lines = withoutEnd(text);
        return lines.substr(0, lines.size() - 1);
    };
    auto everyOtherLine = [&](const std::string& text) {
        std::string kept;
        std::istringstream in(withoutEnd(text));
        int n = 0;
        for (std::string line; std::getline(in, line); ++n) {
            if (n % 2 == 0) kept += line + "\n";
        }
        return kept;
    };
    const std::string firstKilobyte = single.substr(0, 1000);
    const std::string lineEnd = firstKilobyte.substr(0, firstKilobyte.rfind('\n') + 1);
    // The next line cut after its first pixel's x: fewer numbers than its count.
    const std::string nextLine = single.substr(lineEnd.size(), single.find('\n', lineEnd.size()) - lineEnd.size());
    std::size_t cut = 0;
    for (int field = 0; field < 5; ++field) cut = nextLine.find(", ", cut) + 2;
    const std::string inALine = lineEnd + nextLine.substr(0, cut - 2);
    // A double-byte line cut inside its code.
    const std::string inACode = withoutEnd(dbl) + "130";
    const GlyphCatalog whole = LoadGlyphCatalog(exe.string()).value();
    const struct {
        const char* name;
        std::string single, dbl;
        const char* failing;  // the file named, or null
        bool same;            // the same glyphs as the built catalogue
    } cases[] = {
        {"with end lines", single, dbl, nullptr, true},
        {"without end lines", withoutEnd(single), withoutEnd(dbl), nullptr, true},
        {"without a final line break", withoutLastBreak(single), withoutLastBreak(dbl), nullptr,
         true},
        {"a subset", everyOtherLine(single), everyOtherLine(dbl), nullptr, false},
        {"the first kilobyte at a line end", lineEnd, withoutEnd(dbl), nullptr, false},
        {"cut in a line", inALine, dbl, kSingleByteCatalogName, false},
        {"cut in a code", single, inACode, kDoubleByteCatalogName, false},
        {"end line miscounted", single, withoutEnd(dbl) + "end, 1\n", kDoubleByteCatalogName,
         false},
    };
    for (const auto& c : cases) {
        WriteFile(dir_ / kSingleByteCatalogName, c.single);
        WriteFile(dir_ / kDoubleByteCatalogName, c.dbl);
        const auto catalog = LoadGlyphCatalog(dir_.string());
        if (!c.failing) {
            ASSERT_TRUE(catalog) << c.name << ": " << catalog.error().Message();
            EXPECT_FALSE(catalog->empty()) << c.name;
            if (c.same) {
                ASSERT_EQ(catalog->size(), whole.size()) << c.name;
                for (std::size_t i = 0; i < whole.size(); ++i) {
                    EXPECT_EQ((*catalog)[i].text, whole[i].text) << c.name;
                    EXPECT_EQ((*catalog)[i].pixels.size(), whole[i].pixels.size()) << c.name;
                }
            } else {
                EXPECT_LT(catalog->size(), whole.size()) << c.name;
            }
            continue;
        }
        ASSERT_FALSE(catalog) << c.name;
        EXPECT_EQ(catalog.error().path, (dir_ / c.failing).string()) << c.name;
    }
}

TEST_F(LoadGlyphCatalogTest, MissingFilesAreNamed) {
    auto catalog = LoadGlyphCatalog(dir_.string());
    ASSERT_FALSE(catalog);
    EXPECT_EQ(catalog.error().path, (dir_ / "0021t00df.dat").string());
    EXPECT_EQ(catalog.error().Reason(), "No such file or directory");

    WriteFile(dir_ / "0021t00df.dat", "65, 0, 5, 1, 0, 0\nend, 1\n");
    catalog = LoadGlyphCatalog(dir_.string());
    ASSERT_FALSE(catalog);
    EXPECT_EQ(catalog.error().path, (dir_ / "8141t84be.dat").string());
}

TEST_F(LoadGlyphCatalogTest, DirectoryInPlaceOfAFileIsAnError) {
    std::filesystem::create_directory(dir_ / "0021t00df.dat");
    const auto catalog = LoadGlyphCatalog(dir_.string());
    ASSERT_FALSE(catalog);
    EXPECT_NE(catalog.error().Reason().find("directory"), std::string::npos);
}

TEST_F(LoadGlyphCatalogTest, UnreadableFileIsNamed) {
    if (::geteuid() == 0) GTEST_SKIP() << "root reads every file";
    WriteFile(dir_ / "0021t00df.dat", "65, 0, 5, 1, 0, 0\n");
    std::filesystem::permissions(dir_ / "0021t00df.dat", std::filesystem::perms::none);
    const auto catalog = LoadGlyphCatalog(dir_.string());
    ASSERT_FALSE(catalog);
    EXPECT_EQ(catalog.error().path, (dir_ / "0021t00df.dat").string());
    EXPECT_EQ(catalog.error().Reason(), "Permission denied");
}

// A catalogue file that is a named pipe or a device would keep the loader
// waiting or reading without end: it is refused by its kind, at once.
TEST_F(LoadGlyphCatalogTest, WhatIsNotARegularFileIsRefusedByItsKind) {
    WriteFile(dir_ / "8141t84be.dat", "33088, 0, 16, 1, 0, 0\n");
    ASSERT_EQ(::mkfifo((dir_ / "0021t00df.dat").c_str(), 0600), 0);
    const auto catalog = LoadGlyphCatalog(dir_.string());
    ASSERT_FALSE(catalog);
    EXPECT_EQ(catalog.error().path, (dir_ / "0021t00df.dat").string());
    EXPECT_EQ(catalog.error().Reason(), "a named pipe, not a regular file");
}

TEST(HostileCatalogueLines, AreReadWithoutTrustingThem) {
    // A megabyte-long line of pairs, declared honestly: read in full.
    std::string longLine = "65, 0, 8, 200000";
    for (int i = 0; i < 200000; ++i)
        longLine += ", " + std::to_string(i % 3) + ", " + std::to_string(i % 16);
    GlyphCatalog catalog = ReadCatalogText(longLine + "\n");
    ASSERT_EQ(catalog.size(), 1u);
    EXPECT_EQ(catalog[0].pixels.size(), 200000u);
    EXPECT_EQ(catalog[0].fullPenalty, 268435456 / 200000);

    // The same line declaring more than it holds: skipped, nothing reserved.
    catalog = ReadCatalogText("65, 0, 8, 2000000" + longLine.substr(16) + "\n66, 0, 5, 1, 0, 0\n");
    EXPECT_EQ(Texts(catalog), std::vector<std::string>{"B"});

    // Negative counts give glyphs without pixels, which trimming removes.
    catalog = ReadCatalogText("65, 0, 8, -5, 1, 1\n66, 0, 8, -2147483648\n");
    TrimGlyphPatterns(catalog);
    EXPECT_TRUE(catalog.empty());

    // NUL bytes end a number as any other non-digit does.
    catalog = ReadCatalogText(std::string("65\0, 0, 5\0\0, 1, 0, 0\n", 22));
    ASSERT_EQ(catalog.size(), 1u);
    EXPECT_EQ(catalog[0].width, 5);
}

TEST(HostileCatalogueLines, CarriageReturnOnlyFileIsOneLine) {
    const GlyphCatalog catalog = ReadCatalogText("65, 0, 5, 1, 0, 0\r66, 0, 5, 1, 0, 0\r");
    // One line: its fourth field is "1", its pair (0, "0\r66") and the rest ignored.
    ASSERT_EQ(catalog.size(), 1u);
    EXPECT_EQ(catalog[0].text, "A");
}

TEST(HostileCatalogueLines, BinaryGarbageNeverCrashes) {
    std::mt19937 rng(99);
    std::uniform_int_distribution<int> byte(0, 255);
    for (int file = 0; file < 200; ++file) {
        std::string text;
        const int length = std::uniform_int_distribution<int>(0, 4000)(rng);
        for (int i = 0; i < length; ++i) {
            // Mostly digits and separators, so that lines get far enough to matter.
            const int b = byte(rng);
            text += b < 120   ? static_cast<char>('0' + b % 10)
                    : b < 180 ? ','
                    : b < 230 ? ' '
                    : b < 240 ? '\n'
                              : static_cast<char>(b);
        }
        GlyphCatalog catalog =
            ReadCatalogText(text, file % 2 ? CatalogKind::DoubleByte : CatalogKind::SingleByte);
        TrimGlyphPatterns(catalog);
        for (const Glyph& g : catalog) {
            EXPECT_GT(g.width, 0);
            EXPECT_FALSE(g.pixels.empty());
            EXPECT_LE(g.pixels.size(), text.size() / 4);
        }
    }
}

TEST(BuiltCatalogue, HasBothRangesAndNoExcludedCharacters) {
    const GlyphCatalog catalog = testing::LoadBuiltCatalog();
    ASSERT_GT(catalog.size(), 400u);
    bool sawKana = false;
    for (const Glyph& g : catalog) {
        EXPECT_GT(g.width, 0);
        EXPECT_FALSE(g.pixels.empty());
        EXPECT_NE(g.text, ".");
        EXPECT_NE(g.text, "\x83\x7D");              // マ
        sawKana = sawKana || g.text == "\x82\xA0";  // あ
    }
    EXPECT_TRUE(sawKana);
}

}  // namespace
}  // namespace fudeline
