#include "web/js_values.h"

#include <utility>

namespace fudeline::web {

emscripten::val BytesOf(const std::string& bytes) {
    // A copy: the view dies with the string.
    const auto view = emscripten::val(emscripten::typed_memory_view(
        bytes.size(), reinterpret_cast<const std::uint8_t*>(bytes.data())));
    return emscripten::val::global("Uint8Array").new_(view);
}

emscripten::val ViewOf(const std::vector<std::uint8_t>& bytes) {
    return emscripten::val(emscripten::typed_memory_view(bytes.size(), bytes.data()));
}

void ToRgba(const Image& image, std::vector<std::uint8_t>& rgba) {
    rgba.resize(static_cast<std::size_t>(image.width()) * image.height() * 4);
    std::uint8_t* out = rgba.data();
    for (int y = 0; y < image.height(); ++y) {
        const std::uint32_t* row = image.Row(y);
        for (int x = 0; x < image.width(); ++x, out += 4) {
            out[0] = static_cast<std::uint8_t>(row[x] >> 16);
            out[1] = static_cast<std::uint8_t>(row[x] >> 8);
            out[2] = static_cast<std::uint8_t>(row[x]);
            out[3] = 255;
        }
    }
}

Image FromRgba(int width, int height, const std::string& rgba) {
    if (width <= 0 || height <= 0 || rgba.size() < static_cast<std::size_t>(width) * height * 4) {
        return Image();
    }
    Image image(width, height);
    const auto* p = reinterpret_cast<const std::uint8_t*>(rgba.data());
    for (int y = 0; y < height; ++y) {
        std::uint32_t* row = image.Row(y);
        for (int x = 0; x < width; ++x, p += 4) {
            row[x] = std::uint32_t{p[0]} << 16 | std::uint32_t{p[1]} << 8 | p[2];
        }
    }
    return image;
}

emscripten::val& SetFailure(emscripten::val& out, const Error& error) {
    emscripten::val args = emscripten::val::array();
    for (const std::string& arg : error.args) args.call<void>("push", arg);
    out.set("error", error.Reason());
    out.set("path", error.path);
    out.set("kind", std::string(error.kind ? error.kind->name : ""));
    out.set("args", args);
    return out;
}

emscripten::val Answer() {
    emscripten::val out = emscripten::val::object();
    out.set("error", std::string());
    return out;
}

namespace {

bool IsObject(const emscripten::val& value) {
    return !value.isNull() && value.typeOf().as<std::string>() == "object";
}

}  // namespace

DecodedPixels PixelsOf(const emscripten::val& pixels) {
    if (!IsObject(pixels) || !pixels["width"].isNumber() || !pixels["height"].isNumber()) return {};
    const double width = pixels["width"].as<double>();
    const double height = pixels["height"].as<double>();
    if (!(width >= 1 && height >= 1 && width <= 0xFFFFFFFFu && height <= 0xFFFFFFFFu)) return {};
    const emscripten::val data = pixels["data"];
    const double size = width * height * 4;
    if (!IsObject(data) || !data["length"].isNumber() || data["length"].as<double>() != size) {
        return {};
    }
    // Straight from the page's array into the module's memory: a camera
    // picture's pixels are tens of megabytes.
    std::vector<std::uint8_t> rgba(static_cast<std::size_t>(size));
    emscripten::val(emscripten::typed_memory_view(rgba.size(), rgba.data()))
        .call<void>("set", data);
    return DecodedPixels(static_cast<std::uint32_t>(width), static_cast<std::uint32_t>(height),
                         std::move(rgba));
}

emscripten::val RequestOf(const Result<PixelRequest>& request) {
    emscripten::val out = Answer();
    if (!request) return SetFailure(out, request.error());
    out.set("decode", request->fromSource);
    out.set("width", request->width);
    out.set("height", request->height);
    out.set("reduction", request->reduction);
    return out;
}

}  // namespace fudeline::web
