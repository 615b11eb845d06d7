#include "profile/FileStore.h"

#include "profile/LargeBuffer.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

std::string describe(const char *what, int err)
{
    return std::string(what) + ": " + std::strerror(err);
}

// Closes a descriptor on every path out of a function.
class Descriptor {
public:
    explicit Descriptor(int fd)
        : m_fd(fd)
    {}
    ~Descriptor()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    Descriptor(const Descriptor &) = delete;
    Descriptor &operator=(const Descriptor &) = delete;
    int get() const { return m_fd; }
    int release()
    {
        const int fd = m_fd;
        m_fd = -1;
        return fd;
    }

private:
    int m_fd;
};

bool writeAll(int fd, std::string_view bytes, std::string &error)
{
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            error = describe("cannot write", errno);
            return false;
        }
        done += std::size_t(n);
    }
    return true;
}

// Enough for any sane chain of links; a loop ends here too.
constexpr int MaxLinkHops = 40;

constexpr const char *TooLargeText = "larger than any profile";

// The folder a file of that path lies in.
fs::path folderOf(const fs::path &target)
{
    const fs::path folder = target.parent_path();
    return folder.empty() ? fs::path(".") : folder;
}

// File systems that cannot make a file without a name say so in one of these ways.
bool unnamedRefused(int err)
{
    return err == EOPNOTSUPP || err == EISDIR || err == EINVAL || err == ENOTSUP;
}

// A hidden name of our own beside the target, created; -1 (errno set) when none can be.
int createNamed(const fs::path &folder, const fs::path &target, fs::path &temp)
{
    const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
    for (int attempt = 0; attempt < 100; ++attempt) {
        temp = folder
               / ("." + target.filename().string() + ".tmp-" + std::to_string(::getpid()) + "-"
                  + std::to_string(stamp) + "-" + std::to_string(attempt));
        const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    return -1;
}

// A name for a complete unnamed file, beside the target; false (errno set) when it cannot
// have one, for lack of /proc or of the right to link.
bool nameUnnamed(int fd, const fs::path &folder, const fs::path &target, fs::path &temp)
{
    const std::string self = "/proc/self/fd/" + std::to_string(fd);
    const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
    for (int attempt = 0; attempt < 100; ++attempt) {
        temp = folder
               / ("." + target.filename().string() + ".new-" + std::to_string(::getpid()) + "-"
                  + std::to_string(stamp) + "-" + std::to_string(attempt));
        if (::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, temp.c_str(), AT_SYMLINK_FOLLOW) == 0)
            return true;
        if (errno != EEXIST)
            return false;
    }
    return false;
}

bool isReadOnly(const fs::path &target)
{
    struct stat st {};
    if (::stat(target.c_str(), &st) != 0)
        return false;
    // Root may write anything; a file without write bits is still meant to stay as it is.
    if ((st.st_mode & 0222) == 0)
        return true;
    return ::access(target.c_str(), W_OK) != 0 && (errno == EACCES || errno == EPERM);
}

} // namespace

FileStore::ReadStatus FileStore::readAll(const fs::path &path, std::uintmax_t limit,
                                         std::string &bytes, std::string &error)
{
    bytes.clear();
    // Without O_NONBLOCK, opening a named pipe waits for a writer that may never come; with
    // it, a pipe nobody writes to reads as empty. Reads then wait as usual (a pipe from a
    // shell's process substitution is read to its end).
    Descriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (fd.get() < 0) {
        error = std::strerror(errno);
        return ReadStatus::CannotOpen;
    }
    return readDescriptor(fd.get(), limit, bytes, error);
}

FileStore::ReadStatus FileStore::readDescriptor(int fd, std::uintmax_t limit, std::string &bytes,
                                                std::string &error)
{
    bytes.clear();
    struct stat st {};
    if (::fstat(fd, &st) != 0) {
        error = describe("cannot read", errno);
        return ReadStatus::ReadError;
    }
    if (!S_ISREG(st.st_mode)) {
        const int flags = ::fcntl(fd, F_GETFL);
        if (flags >= 0)
            ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
    }
    if (S_ISDIR(st.st_mode)) {
        error = "it is a folder";
        return ReadStatus::NotAFile;
    }
    if (S_ISREG(st.st_mode) && std::uintmax_t(st.st_size) > limit) {
        error = TooLargeText;
        return ReadStatus::TooLarge;
    }
    // Read straight into the result; the file may still grow or shrink meanwhile.
    std::size_t size = 0;
    LargeBuffer::prepare(bytes, S_ISREG(st.st_mode) ? std::size_t(st.st_size) + 1 : 65536);
    while (true) {
        if (size == bytes.size()) {
            if (bytes.size() > limit) {
                error = TooLargeText;
                bytes.clear();
                return ReadStatus::TooLarge;
            }
            bytes.resize(std::min<std::uintmax_t>(bytes.size() * 2, limit + 1));
        }
        const ssize_t n = ::read(fd, bytes.data() + size, bytes.size() - size);
        if (n == 0)
            break;
        if (n < 0) {
            if (errno == EINTR)
                continue;
            error = describe("cannot read", errno);
            bytes.clear();
            return ReadStatus::ReadError;
        }
        size += std::size_t(n);
    }
    if (size > limit) {
        error = TooLargeText;
        bytes.clear();
        return ReadStatus::TooLarge;
    }
    bytes.resize(size);
    return ReadStatus::Ok;
}

FileStore::FileKind FileStore::kindOf(const fs::path &path)
{
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0)
        return FileKind::Missing;
    if (S_ISREG(st.st_mode))
        return FileKind::Regular;
    if (S_ISDIR(st.st_mode))
        return FileKind::Folder;
    if (S_ISCHR(st.st_mode))
        return FileKind::CharacterDevice;
    if (S_ISBLK(st.st_mode))
        return FileKind::BlockDevice;
    if (S_ISFIFO(st.st_mode))
        return FileKind::Fifo;
    if (S_ISSOCK(st.st_mode))
        return FileKind::Socket;
    return FileKind::Other;
}

bool FileStore::replaceableTarget(const fs::path &path, fs::path &target, WriteFailure &failure)
{
    target = path;
    failure = {};
    for (int hops = 0;; ++hops) {
        std::error_code ec;
        if (!fs::is_symlink(fs::symlink_status(target, ec)))
            break;
        const fs::path next = fs::read_symlink(target, ec);
        if (ec || hops == MaxLinkHops) {
            failure.target = path;
            failure.reason = std::string("cannot follow the link")
                             + (ec ? ": " + ec.message() : ": too many links");
            return false;
        }
        target = next.is_absolute() ? next : target.parent_path() / next;
    }
    failure.target = target;
    if (!target.has_filename()) {
        failure.reason = "the path ends in a folder, not in a file name";
        return false;
    }
    // Renaming over a device or a pipe would put a plain file in its place: never.
    const FileKind kind = kindOf(target);
    if (kind != FileKind::Missing && kind != FileKind::Regular) {
        failure.refused = kind;
        failure.reason = "not a regular file";
        return false;
    }
    if (kind == FileKind::Regular && isReadOnly(target)) {
        failure.readOnly = true;
        failure.reason = "it is read-only";
        return false;
    }
    return true;
}

bool FileStore::checkReplaceable(const fs::path &path, WriteFailure &failure)
{
    fs::path target;
    if (!replaceableTarget(path, target, failure))
        return false;
    const fs::path folder = folderOf(target);
    int fd = ::open(folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600);
    fs::path probe;
    if (fd < 0 && unnamedRefused(errno))
        fd = createNamed(folder, target, probe);
    if (fd < 0) {
        failure.reason = describe("cannot create a file in the folder", errno);
        return false;
    }
    ::close(fd);
    if (!probe.empty())
        ::unlink(probe.c_str());
    return true;
}

bool FileStore::replaceAtomically(const fs::path &path, std::string_view bytes,
                                  WriteFailure &failure, const WriteOptions &options)
{
    fs::path target;
    if (!replaceableTarget(path, target, failure))
        return false;
    std::string &error = failure.reason;
    const fs::path folder = folderOf(target);

    struct stat old {};
    const bool replacing = ::stat(target.c_str(), &old) == 0;

    // In the target's folder, so that the final rename stays on one file system.
    fs::path temp;
    int raw = options.unnamed ? ::open(folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666) : -1;
    const bool unnamed = raw >= 0;
    if (!unnamed && (!options.unnamed || unnamedRefused(errno)))
        raw = createNamed(folder, target, temp);
    if (raw < 0) {
        error = describe("cannot create a file in the folder", errno);
        return false;
    }
    Descriptor fd(raw);
    const auto fail = [&](const std::string &why) {
        error = why;
        if (!temp.empty())
            ::unlink(temp.c_str());
        return false;
    };
    if (replacing)
        ::fchmod(fd.get(), old.st_mode & 07777); // keep the old file's permissions
    if (!writeAll(fd.get(), bytes, error))
        return fail(error);
    if (::fsync(fd.get()) != 0)
        return fail(describe("cannot flush", errno));
    if (options.written)
        options.written();
    if (unnamed && !nameUnnamed(fd.get(), folder, target, temp)) {
        // Without /proc the file cannot be named: written again under a hidden name.
        temp.clear();
        WriteOptions named = options;
        named.unnamed = false;
        named.written = nullptr;
        return replaceAtomically(path, bytes, failure, named);
    }
    if (::close(fd.release()) != 0)
        return fail(describe("cannot close", errno));
    // The data is on the disk before the name points at it, so after a crash the name holds
    // either the old or the new profile, whole.
    if (::rename(temp.c_str(), target.c_str()) != 0)
        return fail(describe("cannot replace the file", errno));
    return true;
}
