// The kinds of failure every library may meet: the system's reasons, a file
// or a line over its size limit.
#pragma once

#include "errors/error_kind.h"

namespace fudeline::kinds {

// errno: the system's reason (strerror; in Japanese from the table of
// reasons.cpp, strerror's English where it has none).
inline constexpr ErrorKind System{"System", "%1", "%1", true};
// MB: a file over its size limit.
inline constexpr ErrorKind LargerThanMegabytes{
    "LargerThanMegabytes", "larger than %1 MB",
    FUDELINE_REASON_TEXT("CoreReason", "%1 MB より大きいファイルです")};
// bytes: the same, for limits under 1 MB.
inline constexpr ErrorKind LargerThanBytes{
    "LargerThanBytes", "larger than %1 bytes",
    FUDELINE_REASON_TEXT("CoreReason", "%1 バイトより大きいファイルです")};
// line, bytes: a line over its length limit.
inline constexpr ErrorKind LineTooLong{
    "LineTooLong", "line %1 is longer than %2 bytes",
    FUDELINE_REASON_TEXT("CoreReason", "%1 行目が %2 バイトより長くなっています")};

inline constexpr const ErrorKind* kCommonErrorKinds[] = {&System, &LargerThanMegabytes,
                                                         &LargerThanBytes, &LineTooLong};

}  // namespace fudeline::kinds
