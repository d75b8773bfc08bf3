// Splitting one fuzzer input into the pieces a target needs.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace fudeline::fuzz {

class Input {
  public:
    Input(const std::uint8_t* data, std::size_t size)
        : rest_(reinterpret_cast<const char*>(data), size) {}

    std::uint8_t Byte() {
        if (rest_.empty()) return 0;
        const auto b = static_cast<std::uint8_t>(rest_.front());
        rest_.remove_prefix(1);
        return b;
    }
    std::int32_t Int32() {
        std::uint32_t v = 0;
        for (int i = 0; i < 4; ++i) v = (v << 8) | Byte();
        return static_cast<std::int32_t>(v);
    }
    // A piece whose length is given by the next byte.
    std::string_view Piece() {
        const std::size_t wanted = Byte();  // read before measuring what is left
        const std::size_t n = std::min(wanted, rest_.size());
        const std::string_view piece = rest_.substr(0, n);
        rest_.remove_prefix(n);
        return piece;
    }
    std::string_view Rest() const { return rest_; }
    bool Empty() const { return rest_.empty(); }

  private:
    std::string_view rest_;
};

// Stops the run loudly: the fuzzer keeps the input that got here.
[[noreturn]] inline void Fail() {
    __builtin_trap();
}
inline void Check(bool condition) {
    if (!condition) Fail();
}

}  // namespace fudeline::fuzz
