// Page files on any bytes: what parses writes back to the same bytes, and a
// page added to it reads back as one more page with the text and name given.
#include <string>

#include "fuzz_input.h"
#include "io/page_format.h"

using namespace fudeline;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::Input input(data, size);
    const char* const names[] = {"a.mlt", "a.ast", "a.txt"};
    const char* name = names[input.Byte() % 3];
    const std::string pageName(input.Piece());
    const std::string pageText(input.Piece());
    const std::string bytes(input.Rest());

    Result<PageFile> file = ParsePageFile(bytes, name);
    if (!file) return 0;
    fuzz::Check(FormatPageFile(*file) == bytes);
    for (const Page& page : file->pages) (void)PageLabel(page);

    const std::size_t before = file->pages.size();
    if (!AddPage(*file, pageText, pageName)) return 0;
    const std::string written = FormatPageFile(*file);
    const Result<PageFile> again = ParsePageFile(written, file->format == PageFormat::Mlt ? "b.mlt" : "b.ast");
    // Added text need not be Shift-JIS; when it is, the page reads back.
    if (!again) return 0;
    fuzz::Check(FormatPageFile(*again) == written);
    fuzz::Check(again->pages.size() == before + 1);
    fuzz::Check(again->pages.back().text == pageText);
    fuzz::Check(again->pages.back().name == (file->format == PageFormat::Ast ? pageName : ""));
    return 0;
}
