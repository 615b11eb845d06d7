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
        error = describe("cannot open", errno);
        return ReadStatus::CannotOpen;
    }
    struct stat st {};
    if (::fstat(fd.get(), &st) != 0) {
        error = describe("cannot read", errno);
        return ReadStatus::ReadError;
    }
    if (!S_ISREG(st.st_mode)) {
        const int flags = ::fcntl(fd.get(), F_GETFL);
        if (flags >= 0)
            ::fcntl(fd.get(), F_SETFL, flags & ~O_NONBLOCK);
    }
    if (S_ISDIR(st.st_mode)) {
        error = "cannot open: is a folder";
        return ReadStatus::CannotOpen;
    }
    if (S_ISREG(st.st_mode) && std::uintmax_t(st.st_size) > limit) {
        error = "file too large";
        return ReadStatus::TooLarge;
    }
    // Read straight into the result; the file may still grow or shrink meanwhile.
    std::size_t size = 0;
    LargeBuffer::prepare(bytes, S_ISREG(st.st_mode) ? std::size_t(st.st_size) + 1 : 65536);
    while (true) {
        if (size == bytes.size()) {
            if (bytes.size() > limit) {
                error = "file too large";
                bytes.clear();
                return ReadStatus::TooLarge;
            }
            bytes.resize(std::min<std::uintmax_t>(bytes.size() * 2, limit + 1));
        }
        const ssize_t n = ::read(fd.get(), bytes.data() + size, bytes.size() - size);
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
        error = "file too large";
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
            failure.reason = path.string() + ": cannot follow the link"
                             + (ec ? ": " + ec.message() : ": too many links");
            return false;
        }
        target = next.is_absolute() ? next : target.parent_path() / next;
    }
    failure.target = target;
    if (!target.has_filename()) {
        failure.reason = target.string() + ": no file name";
        return false;
    }
    // Renaming over a device or a pipe would put a plain file in its place: never.
    const FileKind kind = kindOf(target);
    if (kind != FileKind::Missing && kind != FileKind::Regular) {
        failure.refused = kind;
        failure.reason = target.string() + ": not a regular file";
        return false;
    }
    return true;
}

bool FileStore::replaceAtomically(const fs::path &path, std::string_view bytes,
                                  WriteFailure &failure)
{
    fs::path target;
    if (!replaceableTarget(path, target, failure))
        return false;
    std::string &error = failure.reason;
    fs::path folder = target.parent_path();
    if (folder.empty())
        folder = ".";

    struct stat old {};
    const bool replacing = ::stat(target.c_str(), &old) == 0;

    // A name of our own beside the target, so that the final rename stays on one file system.
    const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
    fs::path temp;
    int raw = -1;
    for (int attempt = 0; attempt < 100 && raw < 0; ++attempt) {
        temp = folder
               / ("." + target.filename().string() + ".tmp-" + std::to_string(::getpid()) + "-"
                  + std::to_string(stamp) + "-" + std::to_string(attempt));
        raw = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (raw < 0 && errno != EEXIST)
            break;
    }
    if (raw < 0) {
        error = describe("cannot create a file in the folder", errno);
        return false;
    }
    Descriptor fd(raw);
    const auto fail = [&](const std::string &why) {
        error = why;
        ::unlink(temp.c_str());
        return false;
    };
    if (replacing)
        ::fchmod(fd.get(), old.st_mode & 07777); // keep the old file's permissions
    if (!writeAll(fd.get(), bytes, error))
        return fail(error);
    if (::fsync(fd.get()) != 0)
        return fail(describe("cannot flush", errno));
    if (::close(fd.release()) != 0)
        return fail(describe("cannot close", errno));
    // The data is on the disk before the name points at it, so after a crash the name holds
    // either the old or the new profile, whole.
    if (::rename(temp.c_str(), target.c_str()) != 0)
        return fail(describe("cannot replace the file", errno));
    return true;
}
