#include "files/file_bytes.h"

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <iterator>
#include <optional>
#include <string>
#include <utility>
#include <thread>
#include <vector>

#include "files/files_errors.h"
#include "io/io_errors.h"
#include "temp_dir_test.h"

namespace fudeline {
namespace {

// Points a standard stream at another descriptor for the life of the object.
class RedirectedStream {
  public:
    RedirectedStream(int stream, int target) : stream_(stream), saved_(::dup(stream)) {
        ::dup2(target, stream_);
    }
    ~RedirectedStream() {
        ::dup2(saved_, stream_);
        ::close(saved_);
    }

  private:
    int stream_;
    int saved_;
};

class FileBytesTest : public testing::TempDirTest {
  protected:
    FileBytesTest() : TempDirTest("file-bytes") {}
    static void SetUpTestSuite() { std::signal(SIGPIPE, SIG_IGN); }

    // Runs `write` with files limited to 4 KB, as a full disk would stop a
    // write part-way; the write then fails with a reason, not a signal.
    template <typename Write>
    static auto UnderFileSizeLimit(Write write) {
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit saved{};
        ::getrlimit(RLIMIT_FSIZE, &saved);
        rlimit small = saved;
        small.rlim_cur = 4096;
        ::setrlimit(RLIMIT_FSIZE, &small);
        auto result = write();
        ::setrlimit(RLIMIT_FSIZE, &saved);
        return result;
    }
};

TEST_F(FileBytesTest, WrittenBytesReadBackExactlyAndReplaceTheOldContent) {
    std::string bytes(300000, '\0');
    for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<char>(i * 7);
    ASSERT_TRUE(WriteFileBytes(Path("out.bin"), bytes));
    ASSERT_TRUE(WriteFileBytes(Path("out.bin"), "\r\n\x81\x40"));
    const auto read = ReadFileBytes(Path("out.bin"));
    ASSERT_TRUE(read) << read.error().Message();
    EXPECT_EQ(*read, "\r\n\x81\x40");
}

TEST_F(FileBytesTest, ReplacingKeepsTheFilesModeAndWritesThroughLinks) {
    ASSERT_TRUE(WriteFileBytes(Path("kept"), "old"));
    namespace fs = std::filesystem;
    fs::permissions(Path("kept"),
                    fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    fs::create_symlink(Path("kept"), Path("link"));
    ASSERT_TRUE(WriteFileBytes(Path("kept"), "new"));
    ASSERT_TRUE(WriteFileBytes(Path("link"), "through the link"));
    EXPECT_EQ(fs::status(Path("kept")).permissions(),
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    EXPECT_TRUE(fs::is_symlink(Path("link")));
    EXPECT_EQ(ReadFileBytes(Path("kept")).value(), "through the link");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()), 2);
}

// A size limit makes writes fail part-way, as a full disk would.
TEST_F(FileBytesTest, AWriteFailingPartWayKeepsTheOldContentAndLeavesNoNewFile) {
    ASSERT_TRUE(WriteFileBytes(Path("old"), "the old content"));
    const auto [replaced, created] = UnderFileSizeLimit([&] {
        return std::pair{WriteFileBytes(Path("old"), std::string(10000, 'x')),
                         WriteFileBytes(Path("new"), std::string(10000, 'x'))};
    });

    ASSERT_FALSE(replaced);
    EXPECT_EQ(replaced.error().Message(), Path("old") + ": File too large");
    EXPECT_EQ(ReadFileBytes(Path("old")).value(), "the old content");
    ASSERT_FALSE(created);
    EXPECT_EQ(created.error().Message(), Path("new") + ": File too large");
    // Neither the new file nor a temporary one is left behind.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir_),
                            std::filesystem::directory_iterator()),
              1);
}

TEST_F(FileBytesTest, InputsThatCannotBeReadNameThePathAndTheReason) {
    testing::WriteFile(dir_ / "big", std::string(2 << 20, 'x'));
    testing::WriteFile(dir_ / "file", "x");
    const struct {
        std::string path;
        std::size_t maxBytes;
        const char* reason;
    } cases[] = {
        {Path("missing"), kMaxInputBytes, "No such file or directory"},
        {dir_.string(), kMaxInputBytes, "Is a directory"},
        {Path("file") + "/below", kMaxInputBytes, "Not a directory"},
        {Path("big"), 1 << 20, "larger than 1 MB"},
        {Path("file"), 0, "larger than 0 bytes"},
    };
    for (const auto& c : cases) {
        const auto read = ReadFileBytes(c.path, c.maxBytes);
        ASSERT_FALSE(read) << c.path;
        EXPECT_EQ(read.error().path, c.path);
        EXPECT_EQ(read.error().Reason(), c.reason);
    }
}

TEST_F(FileBytesTest, OutputsThatCannotBeWrittenAreErrorsNeverSuccess) {
    const struct {
        std::string path;
        const char* reason;
    } cases[] = {
        {"/dev/full", "No space left on device"},
        {Path("no-such-folder") + "/out.txt", "No such file or directory"},
        {dir_.string(), "Is a directory"},
    };
    for (const auto& c : cases) {
        const Status written = WriteFileBytes(c.path, "text");
        ASSERT_FALSE(written) << c.path;
        EXPECT_EQ(written.error().path, c.path);
        EXPECT_EQ(written.error().Reason(), c.reason);
    }
}

// Staged files appear only when committed; one never committed leaves no
// file and no temporary, and the old content stays until the rename.
TEST_F(FileBytesTest, StagedFilesAppearOnlyWhenCommitted) {
    ASSERT_TRUE(WriteFileBytes(Path("old"), "old content"));
    ::chmod(Path("old").c_str(), 0640);
    {
        Result<StagedFile> kept = StagedFile::Stage(Path("old"), "new content");
        Result<StagedFile> dropped = StagedFile::Stage(Path("new"), "never seen");
        ASSERT_TRUE(kept && dropped);
        EXPECT_FALSE(kept->inPlace());
        EXPECT_EQ(ReadFileBytes(Path("old")).value(), "old content");
        ASSERT_TRUE(kept->Commit());
        EXPECT_TRUE(kept->Commit()) << "a second commit changes nothing";
    }
    EXPECT_EQ(ReadFileBytes(Path("old")).value(), "new content");
    struct stat info {};
    ASSERT_EQ(::stat(Path("old").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0640u);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir_), {}), 1)
        << "no file or temporary left beside it";
    // Devices and standard output are written where they are, at commit.
    for (const char* path : {"/dev/null", "-"}) {
        Result<StagedFile> device = StagedFile::Stage(path, "");
        ASSERT_TRUE(device);
        EXPECT_TRUE(device->inPlace());
    }
}

// Every failure names the file; a temporary that cannot be made beside an
// existing file is named as the cause, and an empty name is named too.
TEST_F(FileBytesTest, FailuresNameTheFileAndTheTemporary) {
    const struct {
        std::string path;
        std::string errorPath;
        const char* reasonStart;
    } cases[] = {
        {"", "\"\"", "a file name cannot be empty"},
        {"/proc/version", "/proc/version",
         "cannot create the temporary file /proc/.fdlXXXXXX beside it: "},
        {Path("no-such-folder") + "/out.txt", Path("no-such-folder") + "/out.txt", "No such file"},
    };
    for (const auto& c : cases) {
        const Result<StagedFile> staged = StagedFile::Stage(c.path, "text");
        ASSERT_FALSE(staged) << c.path;
        EXPECT_EQ(staged.error().path, c.errorPath);
        EXPECT_TRUE(staged.error().Reason().starts_with(c.reasonStart)) << staged.error().Reason();
        const Status written = WriteFileBytes(c.path, "text");
        ASSERT_FALSE(written) << c.path;
        EXPECT_EQ(written.error().path, c.errorPath);
        EXPECT_TRUE(written.error().Reason().starts_with(c.reasonStart))
            << written.error().Reason();
    }
    const Result<std::string> read = ReadFileBytes("");
    ASSERT_FALSE(read);
    EXPECT_EQ(read.error().Message(), "\"\": a file name cannot be empty");
}

TEST_F(FileBytesTest, DashIsStandardInputAndOutput) {
    int toStdin[2];
    ASSERT_EQ(::pipe(toStdin), 0);
    const std::string script = "down 1 2\nup\n";
    ASSERT_EQ(::write(toStdin[1], script.data(), script.size()),
              static_cast<ssize_t>(script.size()));
    ::close(toStdin[1]);
    {
        RedirectedStream in(STDIN_FILENO, toStdin[0]);
        const auto read = ReadFileBytes("-");
        ASSERT_TRUE(read) << read.error().Message();
        EXPECT_EQ(*read, script);
    }
    ::close(toStdin[0]);

    // More than a pipe holds at once: every partial write must be continued.
    int fromStdout[2];
    ASSERT_EQ(::pipe(fromStdout), 0);
    const std::string text(1 << 20, 'a');
    std::string received;
    std::thread reader([&] {
        char buffer[4096];
        ssize_t n;
        while ((n = ::read(fromStdout[0], buffer, sizeof buffer)) > 0) received.append(buffer, n);
    });
    {
        RedirectedStream out(STDOUT_FILENO, fromStdout[1]);
        ::close(fromStdout[1]);
        EXPECT_TRUE(WriteFileBytes("-", text));
    }
    reader.join();
    ::close(fromStdout[0]);
    EXPECT_EQ(received.size(), text.size());
}

TEST_F(FileBytesTest, StandardOutputThatFailsIsNamedWithTheReason) {
    const int full = ::open("/dev/full", O_WRONLY);
    ASSERT_GE(full, 0);
    int closedPipe[2];
    ASSERT_EQ(::pipe(closedPipe), 0);
    ::close(closedPipe[0]);
    const struct {
        int target;
        const char* reason;
    } cases[] = {{full, "No space left on device"}, {closedPipe[1], "Broken pipe"}};
    for (const auto& c : cases) {
        Status written;
        {
            RedirectedStream out(STDOUT_FILENO, c.target);
            written = WriteFileBytes("-", "text");
        }
        ASSERT_FALSE(written) << c.reason;
        EXPECT_EQ(written.error().Message(), std::string("standard output: ") + c.reason);
    }
    ::close(full);
    ::close(closedPipe[1]);
}

// Names in the folder other than the ones a test made: temporaries left behind.
std::vector<std::string> Leftovers(const std::filesystem::path& dir) {
    std::vector<std::string> found;
    for (const auto& entry : std::filesystem::directory_iterator(dir)) {
        const std::string name = entry.path().filename().string();
        if (name.starts_with(".fdl")) found.push_back(name);
    }
    return found;
}

// A write through a link replaces the file the links lead to and leaves each
// link a link, whether the link is relative, absolute, chained, into another
// folder or dangling (then the file it names is created).
TEST_F(FileBytesTest, WritesThroughSymbolicLinksReplaceTheFileTheyLeadTo) {
    namespace fs = std::filesystem;
    fs::create_directory(dir_ / "sub");
    ASSERT_TRUE(WriteFileBytes(Path("file"), "old"));
    ASSERT_TRUE(WriteFileBytes(Path("sub/inner"), "old"));
    fs::create_symlink("file", dir_ / "relative");
    fs::create_symlink(dir_ / "file", dir_ / "absolute");
    fs::create_symlink("relative", dir_ / "chained");
    fs::create_symlink("sub/inner", dir_ / "into-folder");
    fs::create_symlink("sub/created", dir_ / "dangling");
    const struct {
        const char* link;
        const char* target;
    } cases[] = {{"relative", "file"}, {"absolute", "file"}, {"chained", "file"},
                 {"into-folder", "sub/inner"}, {"dangling", "sub/created"}};
    for (const auto& c : cases) {
        const std::string bytes = std::string("through ") + c.link;
        const Status written = WriteFileBytes(Path(c.link), bytes);
        ASSERT_TRUE(written) << written.error().Message();
        EXPECT_TRUE(fs::is_symlink(dir_ / c.link)) << c.link;
        EXPECT_EQ(ReadFileBytes(Path(c.target)).value(), bytes) << c.link;
    }
    EXPECT_TRUE(Leftovers(dir_).empty() && Leftovers(dir_ / "sub").empty());
}

// A write that fails part-way through a link leaves the file it leads to whole.
TEST_F(FileBytesTest, AWriteFailingPartWayThroughALinkKeepsTheFile) {
    const std::string old(20000, 'o');
    ASSERT_TRUE(WriteFileBytes(Path("book.mlt"), old));
    std::filesystem::create_symlink("book.mlt", dir_ / "link.mlt");
    const Status written =
        UnderFileSizeLimit([&] { return WriteFileBytes(Path("link.mlt"), old + "more"); });
    ASSERT_FALSE(written);
    EXPECT_EQ(written.error().Message(), Path("link.mlt") + ": File too large");
    EXPECT_EQ(ReadFileBytes(Path("book.mlt")).value(), old);
    EXPECT_TRUE(std::filesystem::is_symlink(dir_ / "link.mlt"));
    EXPECT_TRUE(Leftovers(dir_).empty());
}

// What cannot be replaced whole and as the user may is refused, and stays.
TEST_F(FileBytesTest, FilesThatCannotBeReplacedAsTheyAreAreRefused) {
    ASSERT_TRUE(WriteFileBytes(Path("linked"), "old"));
    ASSERT_EQ(::link(Path("linked").c_str(), Path("other name").c_str()), 0);
    ASSERT_TRUE(WriteFileBytes(Path("read-only"), "old"));
    ::chmod(Path("read-only").c_str(), 0444);
    const struct {
        const char* name;
        const char* reason;
        bool rootMayWrite;
    } cases[] = {
        {"linked", "the file has 2 names (hard links); replacing it whole would leave the other "
                   "names with the old content, so it is not written", false},
        {"read-only", "Permission denied", true},
    };
    for (const auto& c : cases) {
        if (c.rootMayWrite && ::geteuid() == 0) continue;
        const Status written = WriteFileBytes(Path(c.name), "new");
        ASSERT_FALSE(written) << c.name;
        EXPECT_EQ(written.error().Message(), Path(c.name) + ": " + c.reason);
        const Result<StagedFile> staged = StagedFile::Stage(Path(c.name), "new");
        ASSERT_FALSE(staged) << c.name;
        EXPECT_EQ(ReadFileBytes(Path(c.name)).value(), "old") << c.name;
        const Result<LockedFile> locked = LockedFile::Lock(Path(c.name));
        EXPECT_FALSE(locked) << c.name;
    }
}

// Root may replace anyone's file; the replacement keeps owner, group and mode.
TEST_F(FileBytesTest, AReplacedFileKeepsItsOwnerGroupAndMode) {
    if (::geteuid() != 0) GTEST_SKIP() << "only root can give a file to another user";
    ASSERT_TRUE(WriteFileBytes(Path("theirs"), "old"));
    ASSERT_EQ(::chown(Path("theirs").c_str(), 65534, 65534), 0);
    ASSERT_EQ(::chmod(Path("theirs").c_str(), 0604), 0);
    ASSERT_TRUE(WriteFileBytes(Path("theirs"), "new"));
    struct stat info {};
    ASSERT_EQ(::stat(Path("theirs").c_str(), &info), 0);
    EXPECT_EQ(info.st_uid, 65534u);
    EXPECT_EQ(info.st_gid, 65534u);
    EXPECT_EQ(info.st_mode & 07777, 0604u);
}

// The temporary's name is short, so names up to the system's limit fit.
TEST_F(FileBytesTest, NamesUpToTheSystemsLimitAreWritten) {
    for (const std::size_t length : {249, 250, 254, 255}) {
        const std::string name = Path(std::string(length, 'n').c_str());
        for (const char* bytes : {"first", "replaced"}) {
            const Status written = WriteFileBytes(name, bytes);
            ASSERT_TRUE(written) << length << ": " << written.error().Message();
            EXPECT_EQ(ReadFileBytes(name).value(), bytes) << length;
        }
    }
    EXPECT_TRUE(Leftovers(dir_).empty());
}

// Pipes and devices named as inputs are refused at once, never waited on.
TEST_F(FileBytesTest, InputsThatAreNotRegularFilesAreRefused) {
    ASSERT_EQ(::mkfifo(Path("pipe").c_str(), 0600), 0);
    const struct {
        std::string path;
        const char* reason;
    } cases[] = {{Path("pipe"), "a named pipe, not a regular file"},
                 {"/dev/null", "a character device, not a regular file"},
                 {dir_.string(), "Is a directory"}};
    for (const auto& c : cases) {
        const Result<std::string> read = ReadFileBytes(c.path);
        ASSERT_FALSE(read) << c.path;
        EXPECT_EQ(read.error().Message(), c.path + ": " + c.reason);
        EXPECT_FALSE(OpenInputFile(c.path)) << c.path;
    }
}

// A process ended while a file is staged leaves no temporary behind, and the
// lock on a new file makes no file.
TEST_F(FileBytesTest, AnEndedProcessLeavesNoTemporary) {
    for (const int signal : {SIGTERM, SIGINT, SIGHUP}) {
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            const Result<StagedFile> staged = StagedFile::Stage(Path("out.txt"), "never seen");
            if (!staged || Leftovers(dir_).size() != 1) ::_exit(3);
            const Result<LockedFile> locked = LockedFile::Lock(Path("new.mlt"));
            if (!locked || std::filesystem::exists(dir_ / "new.mlt")) ::_exit(5);
            ::raise(signal);
            ::_exit(4);
        }
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFSIGNALED(status)) << "status " << status;
        EXPECT_EQ(WTERMSIG(status), signal);
        EXPECT_TRUE(Leftovers(dir_).empty()) << strsignal(signal);
        EXPECT_FALSE(std::filesystem::exists(dir_ / "out.txt"));
        EXPECT_FALSE(std::filesystem::exists(dir_ / "new.mlt"));
    }
}

TEST_F(FileBytesTest, SameFileSeesThroughLinks) {
    ASSERT_TRUE(WriteFileBytes(Path("a"), "a"));
    ASSERT_TRUE(WriteFileBytes(Path("b"), "b"));
    std::filesystem::create_symlink("a", dir_ / "link");
    ASSERT_EQ(::link(Path("a").c_str(), Path("hard").c_str()), 0);
    const struct {
        std::string first, second;
        bool same;
    } cases[] = {{Path("a"), Path("a"), true},     {Path("a"), Path("link"), true},
                 {Path("hard"), Path("link"), true}, {Path("a"), Path("b"), false},
                 {Path("a"), Path("missing"), false}, {Path("missing"), Path("missing"), false}};
    for (const auto& c : cases) {
        EXPECT_EQ(SameFile(c.first, c.second), c.same) << c.first << " " << c.second;
    }
}

// A lock is held by one at a time, on a new file too, which only the
// rename makes: a kill before it leaves no empty file.
TEST_F(FileBytesTest, LockedFilesAreHeldOneAtATime) {
    std::optional<LockedFile> first;
    {
        Result<LockedFile> locked = LockedFile::Lock(Path("new.mlt"));
        ASSERT_TRUE(locked) << locked.error().Message();
        EXPECT_TRUE(locked->created());
        first.emplace(std::move(*locked));
    }
    EXPECT_FALSE(std::filesystem::exists(dir_ / "new.mlt")) << "a file was made to hold the lock";
    std::atomic<bool> taken{false};
    std::thread second([&] {
        Result<LockedFile> locked = LockedFile::Lock(Path("new.mlt"));
        taken = locked.has_value();
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    EXPECT_FALSE(taken) << "the lock was taken twice";
    first.reset();
    second.join();
    EXPECT_TRUE(taken);
    EXPECT_FALSE(std::filesystem::exists(dir_ / "new.mlt"));
}

// Tells the parent through `pipe` that the child got this far, then stops
// (as Ctrl+Z stops it) until it is killed.
[[noreturn]] void ReportAndStop(int pipe) {
    const char ready = 'r';
    if (::write(pipe, &ready, 1) != 1) ::_exit(9);
    ::raise(SIGSTOP);
    ::_exit(0);
}

class StoppedChild {
  public:
    // Runs `work` in a child, which then stops; false when it failed.
    template <typename Work>
    bool Start(Work work) {
        int ends[2];
        if (::pipe(ends) != 0) return false;
        pid_ = ::fork();
        if (pid_ == 0) {
            ::close(ends[0]);
            if (!work()) ::_exit(3);
            ReportAndStop(ends[1]);
        }
        ::close(ends[1]);
        char ready = 0;
        const bool reported = pid_ > 0 && ::read(ends[0], &ready, 1) == 1;
        ::close(ends[0]);
        return reported;
    }
    ~StoppedChild() {
        if (pid_ <= 0) return;
        ::kill(pid_, SIGKILL);
        ::waitpid(pid_, nullptr, 0);
    }
    pid_t pid() const { return pid_; }

  private:
    pid_t pid_ = -1;
};

// A lock held by a stopped process is waited on for a bounded time, and the
// failure names the file and the holder; once the holder is gone the lock
// is taken.
TEST_F(FileBytesTest, ALockHeldPastTheWaitNamesTheHolder) {
    ASSERT_TRUE(WriteFileBytes(Path("book.mlt"), "page"));
    for (const char* name : {"book.mlt", "new.mlt"}) {
        const std::string path = Path(name);
        std::optional<StoppedChild> holder(std::in_place);
        ASSERT_TRUE(holder->Start([&] {
            static std::optional<LockedFile> kept;
            Result<LockedFile> locked = LockedFile::Lock(path);
            if (!locked) return false;
            kept.emplace(std::move(*locked));
            return true;
        })) << name;
        const auto before = std::chrono::steady_clock::now();
        const Result<LockedFile> waited = LockedFile::Lock(path, std::chrono::milliseconds{300});
        const auto waitedFor = std::chrono::steady_clock::now() - before;
        ASSERT_FALSE(waited) << name << ": the lock was taken twice";
        EXPECT_TRUE(waited.error().Is(kinds::LockHeldByProcess)) << waited.error().Message();
        EXPECT_EQ(waited.error().path, path);
        EXPECT_NE(waited.error().Message().find("process " + std::to_string(holder->pid()) +
                                                " has held the file locked for more than 0.3 s"),
                  std::string::npos)
            << waited.error().Message();
        EXPECT_GE(waitedFor, std::chrono::milliseconds{300}) << name;
        EXPECT_LT(waitedFor, std::chrono::seconds{5}) << name;
        holder.reset();
        const Result<LockedFile> after = LockedFile::Lock(path, std::chrono::milliseconds{300});
        EXPECT_TRUE(after) << name << ": " << after.error().Message();
    }
    EXPECT_EQ(ReadFileBytes(Path("book.mlt")).value(), "page");
    EXPECT_FALSE(std::filesystem::exists(dir_ / "new.mlt"));
}

// FUDELINE_LOCK_WAIT gives the wait in seconds; anything else keeps 10 s.
TEST_F(FileBytesTest, TheLockWaitIsTenSecondsUnlessGiven) {
    const struct {
        const char* given;
        long long milliseconds;
    } cases[] = {{nullptr, 10'000}, {"0.25", 250},  {"3", 3'000},   {"0", 0},
                 {"", 10'000},      {"-1", 10'000}, {"2s", 10'000}, {"nan", 10'000}};
    for (const auto& c : cases) {
        if (c.given) {
            ::setenv("FUDELINE_LOCK_WAIT", c.given, 1);
        } else {
            ::unsetenv("FUDELINE_LOCK_WAIT");
        }
        EXPECT_EQ(LockWait().count(), c.milliseconds) << (c.given ? c.given : "(unset)");
    }
    ::unsetenv("FUDELINE_LOCK_WAIT");
}

// Temporaries whose writer was killed outright (SIGKILL) are removed by the
// next write in their folder; one whose writer lives (stopped, even) stays,
// and so do names that only look like a temporary's.
TEST_F(FileBytesTest, StaleTemporariesAreRemovedBeforeTheNextWrite) {
    const pid_t killed = ::fork();
    ASSERT_GE(killed, 0);
    if (killed == 0) {
        const Result<StagedFile> staged = StagedFile::Stage(Path("out.txt"), "killed");
        ::raise(SIGKILL);
        ::_exit(staged ? 4 : 3);
    }
    ASSERT_EQ(::waitpid(killed, nullptr, 0), killed);
    const std::vector<std::string> stale = Leftovers(dir_);
    ASSERT_EQ(stale.size(), 1u);
    // One as an older program, or a kill between the making and the lock, leaves it.
    ASSERT_TRUE(WriteFileBytes(Path("unlocked"), "x"));
    std::filesystem::rename(dir_ / "unlocked", dir_ / ".fdlZz9aB0");
    const std::vector<std::string> lookalikes = {".fdlab12", ".fdlabc12345", ".fdlab-123",
                                                 "x.fdlabc123", ".FDLabc123"};
    for (const std::string& name : lookalikes) ASSERT_TRUE(WriteFileBytes(Path(name.c_str()), "y"));
    StoppedChild writer;
    ASSERT_TRUE(writer.Start([&] {
        static std::optional<StagedFile> kept;
        Result<StagedFile> staged = StagedFile::Stage(Path("live.txt"), "live");
        if (!staged) return false;
        kept.emplace(std::move(*staged));
        return true;
    }));
    std::vector<std::string> live = Leftovers(dir_);
    std::erase_if(live, [&](const std::string& name) {
        return name == stale.front() || name == ".fdlZz9aB0" ||
               std::find(lookalikes.begin(), lookalikes.end(), name) != lookalikes.end();
    });
    ASSERT_EQ(live.size(), 1u);

    ASSERT_TRUE(WriteFileBytes(Path("next.txt"), "next"));
    EXPECT_FALSE(std::filesystem::exists(dir_ / stale.front())) << "the killed writer's";
    EXPECT_FALSE(std::filesystem::exists(dir_ / ".fdlZz9aB0")) << "an unlocked one";
    EXPECT_TRUE(std::filesystem::exists(dir_ / live.front())) << "the live writer's";
    for (const std::string& name : lookalikes) {
        EXPECT_TRUE(std::filesystem::exists(dir_ / name)) << name;
    }
}

// A signal that comes while outputs are committed waits until they are
// all done: then it ends the process as it would have (the outputs landed),
// or, where the process answers it by finishing, the process ends with its
// own status, even when another comes after the commit. Sent to the
// committing thread or to another one alike.
TEST_F(FileBytesTest, SignalsDuringACommitWaitUntilItIsDone) {
    for (const bool answerByFinishing : {false, true}) {
        for (const bool elsewhere : {false, true}) {
            for (const int signal : {SIGINT, SIGTERM, SIGHUP, SIGQUIT}) {
                const std::string what = std::string(answerByFinishing ? "answered " : "") +
                                         (elsewhere ? "from another thread, " : "") +
                                         strsignal(signal);
                std::filesystem::remove(dir_ / "out.txt");
                const pid_t child = ::fork();
                ASSERT_GE(child, 0);
                if (child == 0) {
                    // No core file for SIGQUIT.
                    const rlimit noCore{0, 0};
                    ::setrlimit(RLIMIT_CORE, &noCore);
                    if (answerByFinishing) CommitSignalsHeld::AnswerSignalsByFinishing();
                    Result<StagedFile> first = StagedFile::Stage(Path("out.txt"), "first");
                    Result<StagedFile> second = StagedFile::Stage(Path("out2.txt"), "second");
                    if (!first || !second) ::_exit(3);
                    {
                        const CommitSignalsHeld held;
                        if (!first->Commit()) ::_exit(5);
                        if (elsewhere) {
                            std::thread([signal] { ::kill(::getpid(), signal); }).join();
                        } else {
                            ::raise(signal);
                        }
                        if (!second->Commit()) ::_exit(6);
                    }
                    if (answerByFinishing) ::raise(signal);
                    ::_exit(0);
                }
                int status = 0;
                ASSERT_EQ(::waitpid(child, &status, 0), child);
                if (answerByFinishing) {
                    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0)
                        << what << ": status " << status;
                } else {
                    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == signal)
                        << what << ": status " << status;
                }
                EXPECT_EQ(ReadFileBytes(Path("out.txt")).value_or(""), "first") << what;
                EXPECT_EQ(ReadFileBytes(Path("out2.txt")).value_or(""), "second") << what;
                EXPECT_TRUE(Leftovers(dir_).empty()) << what;
            }
        }
    }
}

}  // namespace
}  // namespace fudeline
