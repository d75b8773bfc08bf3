// The kinds of failure of files read whole and written staged: temporaries,
// links, owners and locks, empty names and NUL bytes in text.
#pragma once

#include "errors/error_kind.h"

namespace fudeline::kinds {

// temporary file, errno: it could not be made beside its target
inline constexpr ErrorKind TemporaryFile{
    "TemporaryFile", "cannot create the temporary file %1 beside it: %2",
    FUDELINE_REASON_TEXT("CoreReason", "隣に一時ファイル %1 を作れません: %2"), true};
// names: a file with more names than the one written
inline constexpr ErrorKind HardLinks{
    "HardLinks",
    "the file has %1 names (hard links); replacing it whole would leave the other names with the "
    "old content, so it is not written",
    FUDELINE_REASON_TEXT("CoreReason",
                         "このファイルには %1 "
                         "個の名前（ハードリンク）があります。丸ごと置き換えると他の名前に古い内容"
                         "が残るので、書き込みません")};
inline constexpr ErrorKind OwnerNotKept{
    "OwnerNotKept",
    "the file belongs to another user or group, which its replacement could not keep, so it is not "
    "written",
    FUDELINE_REASON_TEXT("CoreReason",
                         "このファイルは他のユーザーかグループのもので、置き換えるとその持ち主を保"
                         "てないので、書き込みません")};
inline constexpr ErrorKind KeptBeingReplaced{
    "KeptBeingReplaced", "the file kept being replaced while it was being locked",
    FUDELINE_REASON_TEXT("CoreReason", "ロックしようとする間にファイルが置き換えられ続けました")};
// process ID, seconds: the lock another process has held past the wait
inline constexpr ErrorKind LockHeldByProcess{
    "LockHeldByProcess",
    "process %1 has held the file locked for more than %2 s (it may be stopped, as Ctrl+Z "
    "stops it), so the file is left as it is",
    FUDELINE_REASON_TEXT("CoreReason",
                         "プロセス %1 が %2 秒を超えてファイルをロックしたままです（Ctrl+Z "
                         "などで止まっているのかもしれません）。ファイルはそのままにします")};
// seconds: the same where the system does not tell who holds it
inline constexpr ErrorKind LockHeld{
    "LockHeld",
    "another process has held the file locked for more than %1 s (it may be stopped, as Ctrl+Z "
    "stops it), so the file is left as it is",
    FUDELINE_REASON_TEXT("CoreReason",
                         "ほかのプロセスが %1 秒を超えてファイルをロックしたままです（Ctrl+Z "
                         "などで止まっているのかもしれません）。ファイルはそのままにします")};
inline constexpr ErrorKind EmptyFileName{"EmptyFileName", "a file name cannot be empty",
                                         FUDELINE_REASON_TEXT("CoreReason", "ファイル名が空です")};
// byte offset, line
inline constexpr ErrorKind TextNulAt{
    "TextNulAt", "byte %1 (line %2) is a NUL byte: the file is not Shift-JIS text",
    FUDELINE_REASON_TEXT(
        "CoreReason", "%1 バイト目（%2 行目）が NUL バイトで、Shift-JIS のテキストではありません")};

// Every kind above, for the walk of every kind in both languages.
inline constexpr const ErrorKind* kFilesErrorKinds[] = {
    &TemporaryFile,     &HardLinks, &OwnerNotKept,  &KeptBeingReplaced,
    &LockHeldByProcess, &LockHeld,  &EmptyFileName, &TextNulAt};

}  // namespace fudeline::kinds
