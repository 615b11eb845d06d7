#include "profile/FileStore.h"

#include "TempFolder.h"

#include <gtest/gtest.h>

#include <csignal>
#include <set>
#include <utility>
#include <vector>

#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

int entriesIn(const fs::path &folder)
{
    int n = 0;
    for ([[maybe_unused]] const auto &entry : fs::directory_iterator(folder))
        ++n;
    return n;
}

std::set<std::string> namesIn(const fs::path &folder)
{
    std::set<std::string> names;
    for (const auto &entry : fs::directory_iterator(folder))
        names.insert(entry.path().filename().string());
    return names;
}

} // namespace

TEST(FileStore, ReplacingKeepsModeAndLinksAndLeavesNoTemporaryFile)
{
    TempFolder folder;
    const fs::path file = folder / "a.pro";
    FileStore::WriteFailure error;
    ASSERT_TRUE(FileStore::replaceAtomically(file, "first", error)) << error.reason;
    ::chmod(file.c_str(), 0640);
    ASSERT_TRUE(FileStore::replaceAtomically(file, "second", error)) << error.reason;
    EXPECT_EQ(readBytes(file), "second");
    struct stat st {};
    ASSERT_EQ(::stat(file.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);

    // Saving through a link replaces the file it points to and keeps the link.
    const fs::path link = folder / "link.pro";
    fs::create_symlink(file, link);
    ASSERT_TRUE(FileStore::replaceAtomically(link, "third", error)) << error.reason;
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(readBytes(file), "third");
    EXPECT_EQ(entriesIn(folder.path()), 2);
}

TEST(FileStore, FailuresAreReportedAndLeaveNothingBehind)
{
    TempFolder folder;
    FileStore::WriteFailure failure;
    EXPECT_FALSE(FileStore::replaceAtomically(folder / "no-folder/a.pro", "x", failure));
    EXPECT_FALSE(failure.reason.empty());
    EXPECT_FALSE(failure.refused);

    writeBytes(folder / "plain", "old");
    failure = {};
    EXPECT_FALSE(FileStore::replaceAtomically(folder / "plain/a.pro", "x", failure));
    EXPECT_FALSE(failure.reason.empty());
    fs::create_directory(folder / "dir");
    EXPECT_FALSE(FileStore::replaceAtomically(folder / "dir", "x", failure));
    EXPECT_EQ(readBytes(folder / "plain"), "old");
    EXPECT_EQ(entriesIn(folder.path()), 2);

    std::string bytes;
    std::string error;
    EXPECT_EQ(FileStore::readAll(folder / "missing", 100, bytes, error),
              FileStore::ReadStatus::CannotOpen);
    writeBytes(folder / "big", std::string(101, 'x'));
    EXPECT_EQ(FileStore::readAll(folder / "big", 100, bytes, error),
              FileStore::ReadStatus::TooLarge);
    EXPECT_TRUE(bytes.empty());
    EXPECT_EQ(FileStore::readAll(folder / "big", 101, bytes, error), FileStore::ReadStatus::Ok);
    EXPECT_EQ(bytes.size(), 101u);

    // A named pipe nobody writes to reads as empty instead of waiting for ever.
    ASSERT_EQ(::mkfifo((folder / "pipe.pro").c_str(), 0600), 0);
    EXPECT_EQ(FileStore::readAll(folder / "pipe.pro", 100, bytes, error),
              FileStore::ReadStatus::Ok);
    EXPECT_TRUE(bytes.empty());
}

// Renaming over a device or a pipe would put a plain file in its place: only regular files
// are replaced, and a link is followed to the file it names (or would name).
TEST(FileStore, OnlyRegularFilesAreReplacedAndLinksAreFollowed)
{
    TempFolder folder;
    ASSERT_EQ(::mkfifo((folder / "fifo").c_str(), 0600), 0);
    fs::create_directory(folder / "dir");
    // A character device of our own (the null device's numbers), never a real one in /dev.
    const bool device = ::mknod((folder / "null").c_str(), S_IFCHR | 0600, makedev(1, 3)) == 0;
    fs::create_symlink("fifo", folder / "to-fifo");
    using Kind = FileStore::FileKind;
    std::vector<std::pair<std::string, Kind>> refused
        = {{"fifo", Kind::Fifo}, {"dir", Kind::Folder}, {"to-fifo", Kind::Fifo}};
    if (device)
        refused.emplace_back("null", Kind::CharacterDevice);
    for (const auto &[name, kind] : refused) {
        SCOPED_TRACE(name);
        FileStore::WriteFailure failure;
        EXPECT_FALSE(FileStore::replaceAtomically(folder / name, "x", failure));
        ASSERT_TRUE(failure.refused);
        EXPECT_EQ(*failure.refused, kind);
        EXPECT_EQ(failure.target, folder / (name == "to-fifo" ? "fifo" : name));
        EXPECT_EQ(failure.reason, "not a regular file");
    }
    EXPECT_EQ(FileStore::kindOf(folder / "fifo"), Kind::Fifo);
    EXPECT_TRUE(fs::is_symlink(folder / "to-fifo"));
    EXPECT_EQ(FileStore::kindOf(folder / "null"), device ? Kind::CharacterDevice : Kind::Missing);

    // A link to a name not yet taken creates the file there and stays a link.
    fs::create_symlink("sub/new.pro", folder / "dangling");
    fs::create_directory(folder / "sub");
    FileStore::WriteFailure failure;
    ASSERT_TRUE(FileStore::replaceAtomically(folder / "dangling", "new", failure))
        << failure.reason;
    EXPECT_TRUE(fs::is_symlink(folder / "dangling"));
    EXPECT_EQ(readBytes(folder / "sub/new.pro"), "new");

    // A loop of links ends in a refusal, not a hang.
    fs::create_symlink("loop-b", folder / "loop-a");
    fs::create_symlink("loop-a", folder / "loop-b");
    EXPECT_FALSE(FileStore::replaceAtomically(folder / "loop-a", "x", failure));
    EXPECT_TRUE(fs::is_symlink(folder / "loop-a"));
    EXPECT_EQ(entriesIn(folder.path()), 7 + int(device));
}

// A file the user keeps read-only is not replaced behind their back, and a path that names no
// file says so without repeating itself; checking a path creates nothing.
TEST(FileStore, ReadOnlyFilesAndFolderPathsAreRefused)
{
    TempFolder folder;
    writeBytes(folder / "kept.pro", "old");
    ::chmod((folder / "kept.pro").c_str(), 0444);
    FileStore::WriteFailure failure;
    EXPECT_FALSE(FileStore::replaceAtomically(folder / "kept.pro", "new", failure));
    EXPECT_TRUE(failure.readOnly);
    EXPECT_EQ(failure.reason, "it is read-only");
    EXPECT_FALSE(FileStore::checkReplaceable(folder / "kept.pro", failure));
    EXPECT_EQ(readBytes(folder / "kept.pro"), "old");

    fs::create_directory(folder / "adir");
    failure = {};
    EXPECT_FALSE(FileStore::replaceAtomically(folder.path().string() + "/adir/", "x", failure));
    EXPECT_EQ(failure.reason, "the path ends in a folder, not in a file name");

    failure = {};
    EXPECT_FALSE(FileStore::checkReplaceable(folder / "none/x.pro", failure));
    EXPECT_EQ(failure.reason, "cannot create a file in the folder: No such file or directory");
    EXPECT_TRUE(FileStore::checkReplaceable(folder / "adir/new.pro", failure)) << failure.reason;
    EXPECT_TRUE(namesIn(folder / "adir").empty());
    EXPECT_EQ(namesIn(folder.path()), (std::set<std::string>{"adir", "kept.pro"}));

    std::string bytes;
    std::string error;
    EXPECT_EQ(FileStore::readAll(folder / "adir", 100, bytes, error),
              FileStore::ReadStatus::NotAFile);
}

// The new content has no name until it is complete: a write killed at that moment leaves the
// old file and nothing else. Where unnamed files are not to be had, a hidden file takes its
// place and the replacement is as whole.
TEST(FileStore, ANewFileIsNamedOnlyWhenComplete)
{
    TempFolder folder;
    const fs::path file = folder / "a.pro";
    writeBytes(file, "old");
    const std::string big(1 << 20, 'x');
    for (const bool unnamed : {true, false}) {
        SCOPED_TRACE(unnamed);
        std::set<std::string> whileWriting;
        FileStore::WriteOptions options;
        options.unnamed = unnamed;
        options.written = [&] {
            whileWriting = namesIn(folder.path());
        };
        FileStore::WriteFailure failure;
        ASSERT_TRUE(FileStore::replaceAtomically(file, big, failure, options)) << failure.reason;
        EXPECT_EQ(whileWriting.size(), unnamed ? 1u : 2u);
        EXPECT_TRUE(whileWriting.contains("a.pro"));
        EXPECT_EQ(readBytes(file), big);
        EXPECT_EQ(namesIn(folder.path()), std::set<std::string>{"a.pro"});
        writeBytes(file, "old");
    }

    // kill -9 at the worst moment: everything written, nothing named yet.
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        FileStore::WriteOptions options;
        options.written = [] {
            ::raise(SIGKILL);
        };
        FileStore::WriteFailure failure;
        FileStore::replaceAtomically(file, big, failure, options);
        ::_exit(0);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFSIGNALED(status));
    EXPECT_EQ(readBytes(file), "old");
    EXPECT_EQ(namesIn(folder.path()), std::set<std::string>{"a.pro"});
}
