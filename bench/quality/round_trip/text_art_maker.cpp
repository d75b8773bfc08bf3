#include "bench/quality/round_trip/text_art_maker.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <random>

#include "pixels/geometry.h"

namespace fudeline::bench {
namespace {

using Rng = std::mt19937;
constexpr int kLines = kRowCount;
constexpr int kRowPitch = kInkRowHeight;
constexpr char32_t kFullSpace = U'\u3000';

int Uniform(Rng& rng, int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); }
double Real(Rng& rng, double lo, double hi) {
    return std::uniform_real_distribution<double>(lo, hi)(rng);
}
bool Chance(Rng& rng, double p) { return Real(rng, 0, 1) < p; }
template <class T>
const T& Pick(Rng& rng, const std::vector<T>& from) {
    return from[static_cast<std::size_t>(Uniform(rng, 0, static_cast<int>(from.size()) - 1))];
}

struct Point2 {
    double x, y;
};

// The character families strokes are written with. Each family lists the
// usual choice first; a piece keeps to one style index where it can, as a
// hand does.
const std::vector<std::u32string> kUpright = {U"｜", U"|", U"l", U"i", U"｜", U"|"};
const std::vector<std::u32string> kRising = {U"／", U"/", U"ノ", U"ﾉ", U"／", U"′"};
const std::vector<std::u32string> kFalling = {U"＼", U"ヽ", U"\\", U"ヾ", U"＼", U"｀"};
const std::vector<std::u32string> kLeftBend = {U"（", U"(", U"く", U"〈", U"{", U"（"};
const std::vector<std::u32string> kRightBend = {U"）", U")", U"〉", U"}", U"）", U"ﾉ"};
const std::vector<std::u32string> kTop = {U"￣", U"¨", U"~", U"￣", U"\"", U"´"};
const std::vector<std::u32string> kUpper = {U"'", U"´", U"`", U"''", U"″", U"｀"};
const std::vector<std::u32string> kMiddle = {U"─", U"ー", U"‐", U"-", U"ｰ", U"─"};
const std::vector<std::u32string> kLower = {U"､", U"、", U",", U".", U"､", U"…"};
const std::vector<std::u32string> kBottom = {U"＿", U"_", U"＿", U"_", U"＿", U"_"};

const std::vector<std::u32string> kEyes = {U"（●）", U"（ ●）", U"●", U"・", U"´", U"｀", U"ﾟ",
                                           U"○", U"◎", U"＞", U"＜", U"⌒", U"ｰ", U"（○）",
                                           U"ヽ", U"ノ", U"≧", U"≦", U"＾", U"￣"};
const std::vector<std::u32string> kMouths = {U"∀", U"ω", U"▽", U"Д", U"ー", U"‐", U"ε",
                                             U"△", U"ρ", U"o", U"д", U"∇", U"〜", U"ｰ"};
const std::vector<std::u32string> kShading = {U"::::", U":.:.", U";;;;", U"::;:",
                                              U"'´`'", U"////", U"､､､", U"...."};
const std::vector<std::u32string> kCaptions = {
    U"ｷﾀ━━━━(ﾟ∀ﾟ)━━━━!!", U"ｶﾞﾀｯ", U"ｻﾞﾜ…", U"うわぁ…", U"ﾎﾟｶｰﾝ", U"ほう…",
    U"なんだと…？",      U"ｼﾞｰｯ", U"ｺﾞｺﾞｺﾞ", U"ﾄﾞﾝ！", U"チラッ", U"……",
    U"ｲｲ!!",             U"だが断る", U"!?", U"ﾌﾟｯ", U"うｐ", U"ｵﾏｴﾓﾅｰ"};
// Small figures in the common style, composed here; each line a list.
const std::vector<std::vector<std::u32string>> kFigures = {
    {U" ∧＿∧", U"（　・ω・）", U"（　つ　 O", U"と＿）＿）"},
    {U"　 ∩＿∩", U"　（　´ー｀）", U"　/　 　 ｜", U"　し―-Ｊ"},
    {U"　,､,､", U"（ ﾟДﾟ）", U"（ つ　つ", U"～ し ﾉ"},
    {U"　 ＿＿", U"　/　　 ＼", U"｜　 ●　 ●|", U"　＼＿ ▽ ＿／"},
    {U"　 ∧∧", U"　(*ﾟーﾟ)", U"　ﾉ つつ", U"～(＿＿ﾉ"},
};

struct Placed {
    int x;
    int width;
    std::u32string text;
};

class Sheet {
  public:
    explicit Sheet(const MonaFont& font) : font_(font), rows_(kLines) {}

    int Advance(const std::u32string& text) const {
        int width = 0;
        for (char32_t c : text) {
            if (const FontGlyph* glyph = font_.GlyphFor(c)) width += glyph->advance;
        }
        return width;
    }

    // Writes `text` at pixel `x` of line `line` unless it would overlap what
    // is there already: what is written first stays.
    bool Put(int line, int x, const std::u32string& text) {
        if (line < 0 || line >= kLines || x < 0) return false;
        const int width = Advance(text);
        if (width == 0 || x + width > kCanvasWidth) return false;
        auto& row = rows_[static_cast<std::size_t>(line)];
        for (const Placed& p : row) {
            if (x < p.x + p.width && p.x < x + width) return false;
        }
        row.push_back({x, width, text});
        return true;
    }

    // Each line as text: the pieces in order, the room before each written
    // as full-width spaces with at most one half-width space between them
    // (two half-width spaces in a row collapse on the boards).
    std::vector<std::u32string> Lines(Rng& rng) {
        std::vector<std::u32string> lines;
        for (auto& row : rows_) {
            std::sort(row.begin(), row.end(),
                      [](const Placed& a, const Placed& b) { return a.x < b.x; });
            std::u32string line;
            int pen = 0;
            for (const Placed& p : row) {
                line += Spacing(p.x - pen, pen == 0, rng, pen);
                line += p.text;
                pen += p.width;
            }
            lines.push_back(line);
        }
        while (!lines.empty() && lines.back().empty()) lines.pop_back();
        return lines;
    }

  private:
    // Spacing that fills about `room` pixels and moves `pen` by what it fills.
    std::u32string Spacing(int room, bool atStart, Rng& rng, int& pen) const {
        const int full = Advance(std::u32string(1, kFullSpace));
        const int half = Advance(U" ");
        int fulls = room / full;
        int rest = room - fulls * full;
        int halves = rest >= half ? 1 : 0;
        if (rest >= 2 * half - 1 && fulls > 0) halves = 2;
        std::u32string out;
        // A half-width space never opens a line: editors eat it.
        if (atStart && fulls == 0) halves = 0;
        std::vector<char32_t> pieces(static_cast<std::size_t>(fulls), kFullSpace);
        for (int h = 0; h < halves; ++h) {
            // Interleaved so that no two half-width spaces touch.
            const int slots = static_cast<int>(pieces.size());
            int at = atStart ? std::min(1 + 2 * h, slots) : h == 1 ? 0 : Uniform(rng, 0, slots);
            pieces.insert(pieces.begin() + at, U' ');
        }
        for (char32_t c : pieces) out += c;
        pen += fulls * full + halves * half;
        return out;
    }

    const MonaFont& font_;
    std::vector<std::vector<Placed>> rows_;
};

// Points every pixel or so along a closed or open path through `knots`
// (Catmull-Rom), in ink pixels.
std::vector<Point2> Smooth(const std::vector<Point2>& knots, bool closed) {
    std::vector<Point2> out;
    const int n = static_cast<int>(knots.size());
    const int segments = closed ? n : n - 1;
    auto at = [&](int i) {
        if (closed) return knots[static_cast<std::size_t>((i % n + n) % n)];
        return knots[static_cast<std::size_t>(std::clamp(i, 0, n - 1))];
    };
    for (int s = 0; s < segments; ++s) {
        const Point2 p0 = at(s - 1), p1 = at(s), p2 = at(s + 1), p3 = at(s + 2);
        const double length = std::hypot(p2.x - p1.x, p2.y - p1.y);
        const int steps = std::max(2, static_cast<int>(length * 2));
        for (int k = 0; k < steps; ++k) {
            const double t = static_cast<double>(k) / steps, t2 = t * t, t3 = t2 * t;
            auto blend = [&](double a, double b, double c, double d) {
                return 0.5 * (2 * b + (-a + c) * t + (2 * a - 5 * b + 4 * c - d) * t2 +
                              (-a + 3 * b - 3 * c + d) * t3);
            };
            out.push_back({blend(p0.x, p1.x, p2.x, p3.x), blend(p0.y, p1.y, p2.y, p3.y)});
        }
    }
    return out;
}

// Writes a path as characters: where it crosses a line steeply, one
// upright, slanted or bending character; where it runs along a line, a run
// of level characters chosen by how high in the line it lies.
void WritePath(Sheet& sheet, const std::vector<Point2>& path, int style, Rng& rng) {
    std::size_t i = 0;
    auto family = [&](const std::vector<std::u32string>& f) -> const std::u32string& {
        return Chance(rng, 0.8) ? f[static_cast<std::size_t>(style) % f.size()] : Pick(rng, f);
    };
    while (i < path.size()) {
        const int line = static_cast<int>(std::floor(path[i].y / kRowPitch));
        std::size_t j = i;
        double minX = path[i].x, maxX = path[i].x;
        while (j + 1 < path.size() && std::floor(path[j + 1].y / kRowPitch) == line) {
            ++j;
            minX = std::min(minX, path[j].x);
            maxX = std::max(maxX, path[j].x);
        }
        const Point2 in = path[i], out = path[j];
        const std::size_t runStart = i;
        i = j + 1;
        if (line < 0 || line >= kLines) continue;
        const double top = line * kRowPitch;
        if (maxX - minX < 12) {
            // Crossing the line: which way it leans, or where it turns.
            const double dy = out.y - in.y, dx = out.x - in.x;
            const double middle = (minX + maxX) / 2;
            std::u32string text;
            if (std::abs(dy) < 6 && maxX - minX > 3) {
                text = family(minX < std::min(in.x, out.x) - 1 ? kLeftBend : kRightBend);
            } else if (minX < std::min(in.x, out.x) - 2) {
                text = family(kLeftBend);
            } else if (maxX > std::max(in.x, out.x) + 2) {
                text = family(kRightBend);
            } else {
                const double lean = dy == 0 ? 0 : dx / std::abs(dy) * (dy > 0 ? 1 : -1);
                text = std::abs(lean) < 0.3 ? family(kUpright)
                       : lean > 0           ? family(kFalling)
                                            : family(kRising);
            }
            sheet.Put(line, static_cast<int>(std::lround(middle)) - sheet.Advance(text) / 2, text);
            continue;
        }
        // Along the line: level characters, each chosen by the height the
        // path has under it.
        int x = static_cast<int>(std::lround(minX));
        const int end = static_cast<int>(std::lround(maxX));
        while (x < end) {
            double heightSum = 0;
            int samples = 0;
            for (std::size_t s = runStart; s <= j; ++s) {
                if (path[s].x >= x && path[s].x < x + 8) {
                    heightSum += path[s].y - top;
                    ++samples;
                }
            }
            const double h = samples ? heightSum / samples : 8;
            const auto& f = h < 3 ? kTop : h < 6 ? kUpper : h < 10 ? kMiddle : h < 13 ? kLower : kBottom;
            const std::u32string& text = family(f);
            if (!sheet.Put(line, x, text)) {
                x += 3;
                continue;
            }
            x += sheet.Advance(text);
        }
    }
}

std::vector<Point2> Blob(Rng& rng, Point2 centre, double rx, double ry) {
    std::vector<Point2> knots;
    const int n = Uniform(rng, 6, 10);
    const double phase = Real(rng, 0, 2 * std::numbers::pi);
    for (int k = 0; k < n; ++k) {
        const double a = phase + 2 * std::numbers::pi * k / n;
        const double wobble = Real(rng, 0.8, 1.15);
        knots.push_back({centre.x + rx * wobble * std::cos(a), centre.y + ry * wobble * std::sin(a)});
    }
    return Smooth(knots, true);
}

std::vector<Point2> Stroke(Rng& rng, Point2 from, int knots, double step) {
    std::vector<Point2> points{from};
    double heading = Real(rng, 0, 2 * std::numbers::pi);
    for (int k = 1; k < knots; ++k) {
        heading += Real(rng, -0.9, 0.9);
        const Point2& p = points.back();
        points.push_back({std::clamp(p.x + step * std::cos(heading), 4.0, kCanvasWidth - 20.0),
                          std::clamp(p.y + step * std::sin(heading), 2.0, kInkHeight - 4.0)});
    }
    return Smooth(points, false);
}

void WriteFace(Sheet& sheet, Rng& rng, Point2 centre, double rx, double ry, int style) {
    const int eyeLine = static_cast<int>((centre.y - ry * 0.2) / kRowPitch);
    const std::u32string& eye = Pick(rng, kEyes);
    const bool mirrored = Chance(rng, 0.6);
    const std::u32string other =
        !mirrored          ? Pick(rng, kEyes)
        : eye == U"´"      ? U"｀"
        : eye == U"＞"     ? U"＜"
        : eye == U"≧"      ? U"≦"
                           : eye;
    const int spread = static_cast<int>(rx * Real(rng, 0.35, 0.6));
    sheet.Put(eyeLine, static_cast<int>(centre.x) - spread - sheet.Advance(eye) / 2, eye);
    sheet.Put(eyeLine, static_cast<int>(centre.x) + spread - sheet.Advance(other) / 2, other);
    const std::u32string& mouth = Pick(rng, kMouths);
    const int mouthLine = eyeLine + std::max(1, static_cast<int>(ry * 0.5 / kRowPitch));
    sheet.Put(mouthLine, static_cast<int>(centre.x) - sheet.Advance(mouth) / 2, mouth);
    WritePath(sheet, Blob(rng, centre, rx, ry), style, rng);
}

}  // namespace

TextArtPiece MakeTextArt(const MonaFont& font, std::uint32_t seed, int index) {
    Rng rng(seed * 7919u + static_cast<std::uint32_t>(index));
    Sheet sheet(font);
    const int style = Uniform(rng, 0, 5);
    // What stands in front is written first: captions and figures, faces,
    // then outlines and loose strokes, then the shading behind them.
    if (Chance(rng, 0.4)) {
        const std::u32string& caption = Pick(rng, kCaptions);
        sheet.Put(Uniform(rng, 0, kLines - 1), Uniform(rng, 0, 560), caption);
    }
    if (Chance(rng, 0.4)) {
        const auto& figure = Pick(rng, kFigures);
        const int line = Uniform(rng, 0, kLines - 5), x = Uniform(rng, 0, 600);
        for (std::size_t k = 0; k < figure.size(); ++k) {
            sheet.Put(line + static_cast<int>(k), x, figure[k]);
        }
    }
    const int faces = Uniform(rng, 0, 2);
    for (int f = 0; f < faces; ++f) {
        const double rx = Real(rng, 60, 160), ry = Real(rng, 50, 130);
        WriteFace(sheet, rng, {Real(rng, rx + 5, kCanvasWidth - rx - 20), Real(rng, ry + 4, kInkHeight - ry - 4)},
                  rx, ry, style);
    }
    const int blobs = Uniform(rng, faces == 0 ? 1 : 0, 3);
    for (int b = 0; b < blobs; ++b) {
        const double rx = Real(rng, 30, 220), ry = Real(rng, 20, 150);
        WritePath(sheet,
                  Blob(rng, {Real(rng, rx + 5, kCanvasWidth - rx - 20), Real(rng, ry + 4, kInkHeight - ry - 4)},
                       rx, ry),
                  style, rng);
    }
    const int strokes = Uniform(rng, 1, 6);
    for (int s = 0; s < strokes; ++s) {
        WritePath(sheet,
                  Stroke(rng, {Real(rng, 20, 700), Real(rng, 10, 440)}, Uniform(rng, 3, 7),
                         Real(rng, 30, 90)),
                  style, rng);
    }
    if (Chance(rng, 0.6)) {
        const std::u32string& dots = Pick(rng, kShading);
        const int top = Uniform(rng, 0, kLines - 4), lines = Uniform(rng, 2, 8);
        const int left = Uniform(rng, 0, 600), right = left + Uniform(rng, 40, 200);
        for (int line = top; line < top + lines; ++line) {
            const int shift = (line % 2) * 3;
            for (int x = left + shift; x < right; x += sheet.Advance(dots)) sheet.Put(line, x, dots);
        }
    }
    return {sheet.Lines(rng)};
}

Image DrawTextArt(const MonaFont& font, const std::vector<std::u32string>& lines) {
    Image ink(kCanvasWidth, kInkHeight, kWhite);
    for (std::size_t line = 0; line < lines.size() && line < static_cast<std::size_t>(kLines);
         ++line) {
        int pen = 0;
        const int top = static_cast<int>(line) * kRowPitch;
        for (char32_t c : lines[line]) {
            const FontGlyph* glyph = font.GlyphFor(c);
            if (!glyph) continue;
            for (int y = 0; y < kFontLineHeight; ++y) {
                for (int x = 0; x < glyph->advance; ++x) {
                    if (glyph->IsDark(x, y) && pen + x < kCanvasWidth) {
                        ink.SetPixel(pen + x, top + y, kBlack);
                    }
                }
            }
            pen += glyph->advance;
        }
    }
    return ink;
}

}  // namespace fudeline::bench
