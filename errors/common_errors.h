// The kinds of failure every library may meet: the system's reasons, a file
// or a line over its size limit, a file to read that is no regular file.
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

// A file to read that is not a regular file, by its kind.
inline constexpr ErrorKind NamedPipe{
    "NamedPipe", "a named pipe, not a regular file",
    FUDELINE_REASON_TEXT("CoreReason", "名前付きパイプで、通常のファイルではありません")};
inline constexpr ErrorKind CharacterDevice{
    "CharacterDevice", "a character device, not a regular file",
    FUDELINE_REASON_TEXT("CoreReason", "デバイスで、通常のファイルではありません")};
inline constexpr ErrorKind BlockDevice{
    "BlockDevice", "a block device, not a regular file",
    FUDELINE_REASON_TEXT("CoreReason", "ブロックデバイスで、通常のファイルではありません")};
inline constexpr ErrorKind Socket{
    "Socket", "a socket, not a regular file",
    FUDELINE_REASON_TEXT("CoreReason", "ソケットで、通常のファイルではありません")};
inline constexpr ErrorKind SpecialFile{
    "SpecialFile", "a special file, not a regular file",
    FUDELINE_REASON_TEXT("CoreReason", "特殊なファイルで、通常のファイルではありません")};
inline constexpr const ErrorKind* kCommonErrorKinds[] = {
    &System,    &LargerThanMegabytes, &LargerThanBytes, &LineTooLong, &NamedPipe,
    &CharacterDevice, &BlockDevice, &Socket, &SpecialFile};

}  // namespace fudeline::kinds
