#include "files/line_reader.h"
#include "errors/common_errors.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace fudeline {
namespace {

constexpr std::size_t kBufferBytes = std::size_t{64} << 10;

}  // namespace

Result<LineReader> LineReader::Open(const std::string& path, std::size_t maxLineBytes,
                                    std::size_t maxBytes) {
    const std::string name = InputName(path);
    const Result<int> fd = OpenInputFile(path);
    if (!fd) return fd.error();
    LineReader reader(name, *fd, path != kStandardStreamName, maxLineBytes, maxBytes);
    // A file known to be too large is refused before its first line is used
    // (a script would otherwise play up to the limit first); a pipe's size
    // is known only as it is read.
    struct stat info {};
    if (::fstat(*fd, &info) == 0 && S_ISREG(info.st_mode) &&
        static_cast<std::uint64_t>(info.st_size) > maxBytes) {
        return TooLargeError(name, maxBytes);
    }
    return reader;
}

LineReader::LineReader(std::string name, int fd, bool owned, std::size_t maxLineBytes,
                       std::size_t maxBytes)
    : name_(std::move(name)),
      fd_(fd),
      owned_(owned),
      maxLineBytes_(maxLineBytes),
      maxBytes_(maxBytes),
      buffer_(kBufferBytes, '\0') {}

LineReader::LineReader(LineReader&& other) noexcept
    : name_(std::move(other.name_)),
      fd_(other.fd_),
      owned_(other.owned_),
      maxLineBytes_(other.maxLineBytes_),
      maxBytes_(other.maxBytes_),
      totalBytes_(other.totalBytes_),
      lineNumber_(other.lineNumber_),
      lineEnded_(other.lineEnded_),
      buffer_(std::move(other.buffer_)),
      pos_(other.pos_),
      end_(other.end_) {
    other.owned_ = false;
}

LineReader::~LineReader() {
    if (owned_) ::close(fd_);
}

Result<bool> LineReader::Fill() {
    for (;;) {
        const ssize_t n = ::read(fd_, buffer_.data(), buffer_.size());
        if (n < 0 && errno == EINTR) continue;
        // A directory opens fine and fails here with "Is a directory".
        if (n < 0) return SystemError(name_, errno);
        totalBytes_ += static_cast<std::size_t>(n);
        if (totalBytes_ > maxBytes_) return TooLargeError(name_, maxBytes_);
        pos_ = 0;
        end_ = static_cast<std::size_t>(n);
        return n > 0;
    }
}

Result<bool> LineReader::Next(std::string& line) {
    line.clear();
    lineEnded_ = false;
    bool any = false;
    for (;;) {
        if (pos_ == end_) {
            const Result<bool> more = Fill();
            if (!more) return more.error();
            if (!*more) break;
        }
        any = true;
        const char* start = buffer_.data() + pos_;
        const auto* newline = static_cast<const char*>(std::memchr(start, '\n', end_ - pos_));
        const std::size_t take = newline ? static_cast<std::size_t>(newline - start) : end_ - pos_;
        // The "\r" of a "\r\n" may still come, so a line may hold one byte more.
        if (line.size() + take > maxLineBytes_ + 1) {
            return Error{name_, kinds::LineTooLong, lineNumber_ + 1, maxLineBytes_};
        }
        line.append(start, take);
        pos_ += take;
        if (newline) {
            ++pos_;
            lineEnded_ = true;
            if (!line.empty() && line.back() == '\r') line.pop_back();
            break;
        }
    }
    if (!any) return false;
    // A CR ending the input ends its last line as the CR of a line break
    // does: every reader of text, art or script, takes "abc\r" as "abc".
    if (!lineEnded_ && !line.empty() && line.back() == '\r') line.pop_back();
    if (line.size() > maxLineBytes_) {
        return Error{name_, kinds::LineTooLong, lineNumber_ + 1, maxLineBytes_};
    }
    ++lineNumber_;
    return true;
}

}  // namespace fudeline
