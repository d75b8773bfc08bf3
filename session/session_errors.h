// The kinds of failure of replay scripts read.
#pragma once

#include "errors/error_kind.h"

namespace fudeline::kinds {

// line, the event
inline constexpr ErrorKind ReplayNeedsPoint{
    "ReplayNeedsPoint", "line %1: %2 needs X and Y",
    FUDELINE_REASON_TEXT("CoreReason", "%1 行目: %2 には X と Y が要ります")};
// line
inline constexpr ErrorKind ReplayCoordinate{
    "ReplayCoordinate", "line %1: coordinates must be integers from -32768 to 32767",
    FUDELINE_REASON_TEXT("CoreReason", "%1 行目: 座標は -32768 から 32767 までの整数です")};
// line, the event
inline constexpr ErrorKind ReplayTakesNothing{
    "ReplayTakesNothing", "line %1: %2 takes no arguments",
    FUDELINE_REASON_TEXT("CoreReason", "%1 行目: %2 には引数を付けられません")};
// line
inline constexpr ErrorKind ReplayClearArgument{
    "ReplayClearArgument", "line %1: clear takes nothing or \"no\"",
    FUDELINE_REASON_TEXT("CoreReason", "%1 行目: clear の後には何もないか「no」だけです")};
// line, the word
inline constexpr ErrorKind ReplayUnknownEvent{
    "ReplayUnknownEvent", "line %1: unknown event \"%2\"",
    FUDELINE_REASON_TEXT("CoreReason", "%1 行目: 「%2」という出来事はありません")};

// line, the event
inline constexpr ErrorKind ReplayPointExtra{
    "ReplayPointExtra", "line %1: %2 takes X, Y and nothing or \"shift\"",
    FUDELINE_REASON_TEXT("CoreReason",
                         "%1 行目: %2 の後は X と Y、その後は何もないか「shift」だけです")};
// line
inline constexpr ErrorKind ReplayStabilizer{
    "ReplayStabilizer", "line %1: stabilizer takes off, weak or strong",
    FUDELINE_REASON_TEXT("CoreReason",
                         "%1 行目: stabilizer の後は off・weak・strong のどれかです")};
// line
inline constexpr ErrorKind ReplayEraser{
    "ReplayEraser", "line %1: eraser takes small, medium or large",
    FUDELINE_REASON_TEXT("CoreReason",
                         "%1 行目: eraser の後は small・medium・large のどれかです")};
// line
inline constexpr ErrorKind ReplayTypePoint{
    "ReplayTypePoint", "line %1: type needs X and Y, integers from -32768 to 32767, then the text",
    FUDELINE_REASON_TEXT("CoreReason",
                         "%1 行目: type の後には -32768 から 32767 までの整数の X と Y、その後に文字が要ります")};
// line
inline constexpr ErrorKind ReplayTypeNotUtf8{
    "ReplayTypeNotUtf8", "line %1: the text to type is not UTF-8",
    FUDELINE_REASON_TEXT("CoreReason", "%1 行目: 打つ文字が UTF-8 ではありません")};
// line
inline constexpr ErrorKind ReplayHistory{
    "ReplayHistory", "line %1: history takes single or steps",
    FUDELINE_REASON_TEXT("CoreReason", "%1 行目: history の後は single か steps です")};

// Every kind above, for the walk of every kind in both languages.
inline constexpr const ErrorKind* kSessionErrorKinds[] = {
    &ReplayNeedsPoint,   &ReplayCoordinate, &ReplayTakesNothing, &ReplayClearArgument,
    &ReplayUnknownEvent, &ReplayPointExtra, &ReplayStabilizer,   &ReplayTypePoint,
    &ReplayTypeNotUtf8,  &ReplayHistory,    &ReplayEraser};

}  // namespace fudeline::kinds
