#include "engine/open_text_art.h"

#include "engine/engine_errors.h"
#include "glyphs/cp932.h"
#include "pixels/geometry.h"
#include "render/text_art_picture.h"
#include "text/text_art_lines.h"

namespace fudeline {
namespace {

// What an empty text file may still hold: line breaks and a UTF-8 byte order mark.
constexpr std::string_view kLineBreaksAndByteOrderMark = "\r\n\xEF\xBB\xBF";

}  // namespace

TextEncoding GuessTextEncoding(std::string_view text) {
    return DecodeTextArt(text, TextEncoding::Utf8) ? TextEncoding::Utf8 : TextEncoding::ShiftJis;
}

std::vector<std::string> PageChoiceLabels(const PageFile& file) {
    std::vector<std::string> labels;
    labels.reserve(file.pages.size());
    for (const Page& page : file.pages) {
        labels.push_back(Cp932ToUtf8(PageLabel(page)).value_or(std::string()));
    }
    return labels;
}

Result<std::optional<TextArtDrawing>> OpenTextArt(std::string_view bytes, const std::string& name,
                                                  const TextArtPageChoice& choose,
                                                  const MonaFont& face) {
    std::string text;
    TextEncoding encoding = TextEncoding::ShiftJis;
    if (PageFormatForName(name) || bytes.starts_with("[AA][")) {
        Result<PageFile> file = ParsePageFile(bytes, name);
        if (!file) return file.error();
        if (file->pages.empty()) return Error{name, kinds::NoPages};
        std::size_t index = 0;
        if (file->pages.size() > 1) {
            const std::optional<std::size_t> chosen = choose(*file);
            if (!chosen) return std::optional<TextArtDrawing>();
            index = *chosen;
        }
        if (index >= file->pages.size()) {
            return Error{name, kinds::NoSuchPage, index + 1, file->pages.size()};
        }
        text = std::move(file->pages[index].text);
    } else {
        text = bytes;
        encoding = GuessTextEncoding(text);
    }
    // Nothing but line breaks would open as a blank canvas that looks like a
    // failure; the drawing stays and the file is named.
    if (text.find_first_not_of(kLineBreaksAndByteOrderMark) == std::string::npos) {
        return Error{name, kinds::NoText};
    }
    Result<TextArtDrawing> drawing = ReadTextArtDrawing(text, encoding, face);
    if (!drawing) return drawing.error();
    return std::optional<TextArtDrawing>(std::move(*drawing));
}

Image PagePicture(std::string_view sjisText, const MonaFont& face) {
    std::vector<std::string> lines = SplitTextLines(sjisText);
    if (lines.size() > static_cast<std::size_t>(kRowCount)) lines.resize(kRowCount);
    return RenderTextArt(lines, face);
}

}  // namespace fudeline
