// Text read a line at a time from a file or standard input ("-"), holding one
// line: a long script or text costs memory for its longest line, not its
// size, and a line too long is refused as soon as it passes the limit,
// before the rest is read.
#pragma once

#include <cstddef>
#include <string>

#include "errors/result.h"
#include "files/file_bytes.h"

namespace fudeline {

// The longest line the text inputs take: room for any line a picture or a
// script could use (the widest picture line is 16,384 pixels, at most four
// bytes a pixel).
inline constexpr std::size_t kMaxLineBytes = std::size_t{64} << 10;

class LineReader {
  public:
    // Opens `path` ("-": standard input). Errors name the input.
    static Result<LineReader> Open(const std::string& path,
                                   std::size_t maxLineBytes = kMaxLineBytes,
                                   std::size_t maxBytes = kMaxInputBytes);

    LineReader(LineReader&& other) noexcept;
    LineReader& operator=(LineReader&&) = delete;
    LineReader(const LineReader&) = delete;
    ~LineReader();

    // The next line into `line`, without its "\n" or a "\r" before it, nor a
    // "\r" that ends the input; false at the end. A final line break adds no
    // empty line. Errors name the
    // input and, for a line too long, its number.
    Result<bool> Next(std::string& line);

    // The 1-based number of the line Next gave last.
    std::size_t lineNumber() const { return lineNumber_; }

    // Whether that line ended with a line break (false: it ended the input).
    bool lineEnded() const { return lineEnded_; }

  private:
    LineReader(std::string name, int fd, bool owned, std::size_t maxLineBytes,
               std::size_t maxBytes);
    // Refills the buffer; false at the end of the input.
    Result<bool> Fill();

    std::string name_;
    int fd_;
    bool owned_;
    std::size_t maxLineBytes_;
    std::size_t maxBytes_;
    std::size_t totalBytes_ = 0;
    std::size_t lineNumber_ = 0;
    bool lineEnded_ = false;
    std::string buffer_;
    std::size_t pos_ = 0;
    std::size_t end_ = 0;
};

}  // namespace fudeline
