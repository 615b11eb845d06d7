#include "jobs/FirmwareFile.h"

#include "jobs/FirmwareRules.h"

#include <fstream>
#include <iterator>

FirmwareFile FirmwareFile::load(const std::filesystem::path &path)
{
    FirmwareFile file;
    std::error_code error;
    const std::uintmax_t size = std::filesystem::file_size(path, error);
    if (!error && size > MaxBytes) {
        file.status = Status::TooLarge;
        return file;
    }
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return file;
    file.text.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    if (in.bad()) {
        file.text.clear();
        return file;
    }
    // A file that grew while it was read (or a special file without a size) is bounded too.
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
        return FirmwareRules::message(FirmwareRules::Message::CannotOpen, 0, chinese);
    case Status::TooLarge:
        return chinese ? "固件文件超过 64 MiB，不是本键盘的固件。没有向键盘发送任何内容。"
                       : "The firmware file is larger than 64 MiB and cannot be a firmware image "
                         "for this keyboard. Nothing was sent to the keyboard.";
    case Status::Refused:
        return FirmwareRules::refusal(check, chinese);
    }
    return {};
}
