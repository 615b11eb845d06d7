#include "jobs/FirmwareFile.h"

#include "jobs/FirmwareRules.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <iterator>

namespace fs = std::filesystem;

namespace {

// Opens a regular file only: a folder reads as empty and a pipe or device may block forever.
bool openRegular(FirmwareFile &file, std::ifstream &in)
{
    using Problem = FirmwareFile::OpenProblem;
    std::error_code error;
    const fs::file_status status = fs::status(file.path, error);
    if (status.type() == fs::file_type::not_found) {
        file.openProblem = Problem::Missing;
        return false;
    }
    if (error) {
        file.openProblem
            = error == std::errc::permission_denied ? Problem::NoAccess : Problem::Other;
        file.systemReason = error.message();
        return false;
    }
    if (fs::is_directory(status)) {
        file.openProblem = Problem::Folder;
        return false;
    }
    if (!fs::is_regular_file(status)) {
        file.openProblem = Problem::NotRegular;
        return false;
    }
    errno = 0;
    in.open(file.path, std::ios::binary);
    if (!in) {
        const int why = errno;
        file.openProblem = why == EACCES || why == EPERM ? Problem::NoAccess : Problem::Other;
        file.systemReason = why != 0 ? std::strerror(why) : "cannot be opened";
        return false;
    }
    return true;
}

} // namespace

FirmwareFile FirmwareFile::probe(const fs::path &path)
{
    FirmwareFile file;
    file.path = path;
    std::ifstream in;
    if (openRegular(file, in))
        file.status = Status::Ok;
    return file;
}

FirmwareFile FirmwareFile::load(const fs::path &path)
{
    FirmwareFile file;
    file.path = path;
    std::error_code error;
    const std::uintmax_t size = fs::file_size(path, error);
    if (!error && size > MaxBytes) {
        file.status = Status::TooLarge;
        return file;
    }
    std::ifstream in;
    if (!openRegular(file, in))
        return file;
    file.text.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    if (in.bad()) {
        file.text.clear();
        file.openProblem = OpenProblem::Other;
        file.systemReason = "read error";
        return file;
    }
    // A file that grew while it was read is bounded too.
    if (file.text.size() > MaxBytes) {
        file.text.clear();
        file.status = Status::TooLarge;
        return file;
    }
    file.text.push_back('\0');
    file.check = quillodev::checkFirmwareText(file.text.data(), file.length());
    file.status = file.check.ok() ? Status::Ok : Status::Refused;
    return file;
}

std::string FirmwareFile::problem(bool chinese) const
{
    switch (status) {
    case Status::Ok:
        return {};
    case Status::CannotOpen:
        return FirmwareRules::cannotOpen(path.string(), openProblem, systemReason, chinese);
    case Status::TooLarge:
        return chinese ? "固件文件超过 64 MiB，不是本键盘的固件。没有向键盘发送任何内容。"
                       : "The firmware file is larger than 64 MiB and cannot be a firmware image "
                         "for this keyboard. Nothing was sent to the keyboard.";
    case Status::Refused:
        return FirmwareRules::refusal(check, chinese);
    }
    return {};
}
