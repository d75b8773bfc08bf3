#include "pixels/result.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace fudeline {
namespace {

TEST(Error, MessageNamesThePathWhenThereIsOne) {
    const struct {
        Error error;
        const char* message;
    } cases[] = {
        {{"a/b.dat", "No such file or directory"}, "a/b.dat: No such file or directory"},
        {{"", "line 3: up takes no arguments"}, "line 3: up takes no arguments"},
        {SystemError("out.txt", ENOSPC), "out.txt: No space left on device"},
        {SystemError("-", EPIPE), "-: Broken pipe"},
    };
    for (const auto& c : cases) EXPECT_EQ(c.error.Message(), c.message);
}

// Move-only values (the font is handed out this way) and values that are
// themselves strings must not be confused with the error.
TEST(Result, HoldsMoveOnlyValuesAndStringValuesApartFromErrors) {
    Result<std::unique_ptr<int>> owned = std::make_unique<int>(7);
    ASSERT_TRUE(owned.has_value());
    std::unique_ptr<int> taken = std::move(*owned);
    EXPECT_EQ(*taken, 7);

    const Result<std::string> text = std::string("bytes");
    ASSERT_TRUE(text);
    EXPECT_EQ(text->size(), 5u);
    EXPECT_EQ(text.value_or("fallback"), "bytes");

    const Result<std::string> failed = Error{"in.txt", "Is a directory"};
    ASSERT_FALSE(failed);
    EXPECT_EQ(failed.error().path, "in.txt");
    EXPECT_EQ(failed.value_or("fallback"), "fallback");

    Result<std::vector<int>> events = Error{"", "line 1: bad"};
    const Error moved = std::move(events).error();
    EXPECT_EQ(moved.reason, "line 1: bad");
}

TEST(Status, IsSuccessByDefaultAndCarriesTheError) {
    const Status ok;
    EXPECT_TRUE(ok);
    const Status failed = Error{"dir", "Permission denied"};
    ASSERT_FALSE(failed.has_value());
    EXPECT_EQ(failed.error().Message(), "dir: Permission denied");
}

TEST(ResultDeathTest, ReadingTheValueOfAFailureStopsNamingTheError) {
    const Result<int> failed = Error{"x.pbm", "PBM image is truncated"};
    EXPECT_DEATH((void)failed.value(), "x.pbm: PBM image is truncated");
    const Status failedStatus = Error{"y", "gone"};
    EXPECT_DEATH(failedStatus.value(), "y: gone");
}

}  // namespace
}  // namespace fudeline
