// Listing a big page file: 10,000 pages of text art in one MLT and one AST
// file, read from disk, split, and every page's label decoded, as `pages`
// does. The target is 0.5 s per file.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <random>
#include <stdexcept>
#include <string>

#include "files/file_bytes.h"
#include "glyphs/cp932.h"
#include "io/page_files.h"

namespace fudeline {
namespace {

constexpr int kPages = 10000;

// A page like a real piece: about 20 lines of 30 characters, mostly two-byte.
std::string MakePage(std::mt19937& random) {
    static const char* const kPieces[] = {"\x81\x40", "\x81\x5E", "\x81\x5F", "\x81\x50",
                                          "\x81\x51", " ",        ".",        "|",
                                          "\x83\x6D", "\x81\x69", "\x81\x6A", "\x81\x4C"};
    std::string page;
    const int lines = 10 + static_cast<int>(random() % 20);
    for (int l = 0; l < lines; ++l) {
        if (l != 0) page += "\r\n";
        const int length = 5 + static_cast<int>(random() % 50);
        for (int c = 0; c < length; ++c) page += kPieces[random() % std::size(kPieces)];
    }
    return page;
}

std::string MakeFile(PageFormat format) {
    const auto path = std::filesystem::temp_directory_path() /
                      (format == PageFormat::Mlt ? "fudeline-bench-pages.mlt"
                                                 : "fudeline-bench-pages.ast");
    std::mt19937 random(7);
    PageFile file{format, {}};
    for (int i = 0; i < kPages; ++i) {
        const std::string name = format == PageFormat::Ast ? "page " + std::to_string(i) : "";
        if (!AddPage(file, MakePage(random), name)) throw std::runtime_error("page refused");
    }
    if (!WriteFileBytes(path.string(), FormatPageFile(file))) throw std::runtime_error("write");
    return path.string();
}

void BM_ListPages(benchmark::State& state) {
    const auto format = state.range(0) == 0 ? PageFormat::Mlt : PageFormat::Ast;
    const std::string path = MakeFile(format);
    std::size_t bytes = 0;
    for (auto _ : state) {
        const Result<PageFile> file = ReadPageFile(path);
        if (!file) throw std::runtime_error(file.error().Message());
        std::string listing;
        for (std::size_t i = 0; i < file->pages.size(); ++i) {
            listing += std::to_string(i + 1) + '\t' + Cp932ToUtf8(PageLabel(file->pages[i])).value() + '\n';
        }
        bytes = static_cast<std::size_t>(std::filesystem::file_size(path));
        benchmark::DoNotOptimize(listing);
    }
    state.counters["file_MB"] = static_cast<double>(bytes) / 1e6;
    std::filesystem::remove(path);
}
BENCHMARK(BM_ListPages)->Arg(0)->Arg(1)->ArgName("ast")->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace fudeline
