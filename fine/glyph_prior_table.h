// What text artists write, counted on human-made text art by
// tools/make_glyph_prior.py (the counts are in glyph_prior_table.cpp, made by
// that tool): how often each character is written, and how much likelier a
// character is after another (or after spacing) than overall. Log values in
// hundredths of a nat.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace fudeline {

// Characters with a class of their own in kPriorFollowing; the others share
// class kPriorClasses, and kPriorClasses + 1 stands for spacing or a line's
// start before a character.
inline constexpr int kPriorClasses = 62;
inline constexpr int kPriorOtherClass = kPriorClasses;
inline constexpr int kPriorAfterSpacing = kPriorClasses + 1;

struct PriorCharacter {
    char32_t code;
    std::int16_t logFrequency;  // among the characters written, spaces left out
    std::uint8_t followClass;
};

// Sorted by code point.
extern const std::size_t kPriorCharacterCount;
extern const PriorCharacter kPriorCharacters[];
// What a character never seen would have been given.
extern const std::int32_t kPriorUnseenLogFrequency;
// [previous class][class]: log of how much likelier the class is after the previous one.
extern const std::array<std::array<std::int16_t, kPriorClasses + 1>, kPriorClasses + 2>
    kPriorFollowing;

}  // namespace fudeline
