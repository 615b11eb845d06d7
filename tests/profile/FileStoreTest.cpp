#include "profile/FileStore.h"

#include "TempFolder.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace fs = std::filesystem;

namespace {

int entriesIn(const fs::path &folder)
{
    int n = 0;
    for ([[maybe_unused]] const auto &entry : fs::directory_iterator(folder))
        ++n;
    return n;
}

} // namespace

TEST(FileStore, ReplacingKeepsModeAndLinksAndLeavesNoTemporaryFile)
{
    TempFolder folder;
    const fs::path file = folder / "a.pro";
    std::string error;
    ASSERT_TRUE(FileStore::replaceAtomically(file, "first", error)) << error;
    ::chmod(file.c_str(), 0640);
    ASSERT_TRUE(FileStore::replaceAtomically(file, "second", error)) << error;
    EXPECT_EQ(readBytes(file), "second");
    struct stat st {};
    ASSERT_EQ(::stat(file.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);

    // Saving through a link replaces the file it points to and keeps the link.
    const fs::path link = folder / "link.pro";
    fs::create_symlink(file, link);
    ASSERT_TRUE(FileStore::replaceAtomically(link, "third", error)) << error;
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(readBytes(file), "third");
    EXPECT_EQ(entriesIn(folder.path()), 2);
}

TEST(FileStore, FailuresAreReportedAndLeaveNothingBehind)
{
    TempFolder folder;
    std::string error;
    EXPECT_FALSE(FileStore::replaceAtomically(folder / "no-folder/a.pro", "x", error));
    EXPECT_FALSE(error.empty());

    writeBytes(folder / "plain", "old");
    error.clear();
    EXPECT_FALSE(FileStore::replaceAtomically(folder / "plain/a.pro", "x", error));
    EXPECT_FALSE(error.empty());
    fs::create_directory(folder / "dir");
    EXPECT_FALSE(FileStore::replaceAtomically(folder / "dir", "x", error));
    EXPECT_EQ(readBytes(folder / "plain"), "old");
    EXPECT_EQ(entriesIn(folder.path()), 2);

    std::string bytes;
    EXPECT_EQ(FileStore::readAll(folder / "missing", 100, bytes, error),
              FileStore::ReadStatus::CannotOpen);
    writeBytes(folder / "big", std::string(101, 'x'));
    EXPECT_EQ(FileStore::readAll(folder / "big", 100, bytes, error),
              FileStore::ReadStatus::TooLarge);
    EXPECT_TRUE(bytes.empty());
    EXPECT_EQ(FileStore::readAll(folder / "big", 101, bytes, error), FileStore::ReadStatus::Ok);
    EXPECT_EQ(bytes.size(), 101u);
}
