// The core's one way to fail: a value, or an error naming what could not be
// used and why. Shaped like std::expected so callers can move to it later;
// a type of our own because the fuzz build's clang cannot see <expected>.
#pragma once

#include <cerrno>
#include <concepts>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <type_traits>
#include <utility>
#include <variant>
#include <vector>

#include "errors/common_errors.h"
#include "errors/error_kind.h"

namespace fudeline {

// A value as an error argument: text as it is, numbers in decimal.
inline std::string ErrorArgument(std::string text) {
    return text;
}
template <std::integral Number>
std::string ErrorArgument(Number number) {
    return std::to_string(number);
}

// What failed: the path concerned and the reason as a kind with its
// arguments (error_kind.h), worded in English by `Reason()` and in Japanese
// by JapaneseReason (reasons.h).
struct Error {
    std::string path;                 // the file, directory or input concerned; may be empty
    const ErrorKind* kind = nullptr;  // none only in a Status that holds no failure
    std::vector<std::string> args;

    Error() = default;
    // A reason of `kind`; `values` (text or integers) are its arguments in order.
    template <typename... Values>
    Error(std::string path, const ErrorKind& kind, Values&&... values)
        : path(std::move(path)),
          kind(&kind),
          args{ErrorArgument(std::forward<Values>(values))...} {}

    bool Is(const ErrorKind& other) const { return kind == &other; }

    // The same reason about another path (a parser's error once the caller
    // knows which file it read).
    Error WithPath(std::string otherPath) const& {
        Error error = *this;
        error.path = std::move(otherPath);
        return error;
    }

    // The reason in English, as the command line prints it.
    std::string Reason() const;
    // "path: reason", or the reason alone when no path is known.
    std::string Message() const { return path.empty() ? Reason() : path + ": " + Reason(); }
};

// An error carrying the system's reason for `errorNumber`; pass errno as read
// right after the failing call, before anything else can change it.
inline Error SystemError(std::string path, int errorNumber) {
    return Error{std::move(path), kinds::System, errorNumber};
}

// A file over `maxBytes`: the limit in MB when it is at least 1 MB.
inline Error TooLargeError(std::string path, std::size_t maxBytes) {
    constexpr std::size_t kMegabyte = std::size_t{1} << 20;
    return maxBytes >= kMegabyte
               ? Error{std::move(path), kinds::LargerThanMegabytes, maxBytes / kMegabyte}
               : Error{std::move(path), kinds::LargerThanBytes, maxBytes};
}

namespace detail {
// Reading the value of a failed result is a programming fault, not an input
// problem: stop loudly rather than throw out of the core.
[[noreturn]] inline void NoValue(const Error& error) {
    std::fprintf(stderr, "fudeline: value of a failed result read: %s\n", error.Message().c_str());
    std::abort();
}
}  // namespace detail

template <typename T>
class [[nodiscard]] Result {
    static_assert(!std::is_same_v<T, Error>, "a result of an error is ambiguous");

  public:
    using value_type = T;

    Result(T value) : state_(std::in_place_index<0>, std::move(value)) {}
    Result(Error error) : state_(std::in_place_index<1>, std::move(error)) {}

    bool has_value() const noexcept { return state_.index() == 0; }
    explicit operator bool() const noexcept { return has_value(); }

    T& value() & {
        if (!has_value()) detail::NoValue(error());
        return std::get<0>(state_);
    }
    const T& value() const& {
        if (!has_value()) detail::NoValue(error());
        return std::get<0>(state_);
    }
    T&& value() && { return std::move(value()); }

    T& operator*() & { return value(); }
    const T& operator*() const& { return value(); }
    T&& operator*() && { return std::move(value()); }
    T* operator->() { return &value(); }
    const T* operator->() const { return &value(); }

    template <typename U>
    T value_or(U&& fallback) const& {
        return has_value() ? std::get<0>(state_) : static_cast<T>(std::forward<U>(fallback));
    }

    // Only meaningful when there is no value.
    const Error& error() const& { return std::get<1>(state_); }
    Error&& error() && { return std::get<1>(std::move(state_)); }

  private:
    std::variant<T, Error> state_;
};

// Success with nothing to return, or an error.
template <>
class [[nodiscard]] Result<void> {
  public:
    Result() = default;
    Result(Error error) : error_(std::move(error)), failed_(true) {}

    bool has_value() const noexcept { return !failed_; }
    explicit operator bool() const noexcept { return has_value(); }
    void value() const {
        if (failed_) detail::NoValue(error_);
    }

    const Error& error() const& { return error_; }
    Error&& error() && { return std::move(error_); }

  private:
    Error error_;
    bool failed_ = false;
};

using Status = Result<void>;

}  // namespace fudeline
