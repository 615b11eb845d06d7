#include <quillodev/CNuboUtil.h>

#include <algorithm>

#if defined(_WIN32)
#include <windows.h>
#endif

namespace {

constexpr int VersionLength = 62;

// The keyboard sends its version in the system's ANSI code page on Windows. Elsewhere the text
// is taken byte for byte as Latin-1: exact for the ASCII that keyboards send, and never lossy.
void versionToWide(const unsigned char *bytes, wchar_t *text)
{
    std::fill(text, text + VersionLength, L'\0');
    const int length = int(std::find(bytes, bytes + VersionLength, 0) - bytes);
#if defined(_WIN32)
    if (length > 0)
        MultiByteToWideChar(CP_ACP, 0, reinterpret_cast<const char *>(bytes), length, text,
                            VersionLength);
#else
    std::copy(bytes, bytes + length, text);
#endif
}

} // namespace

bool CNuboUtil::readVersion(wchar_t *text)
{
    if (!text)
        return false;
    unsigned char report[65] = {};
    report[2] = 0xF9;
    if (!writeReport(report, sizeof report))
        return false;

    unsigned char payload[64] = {};
    unsigned int length = sizeof payload;
    if (!readReport(payload, length, ReadTimeoutMs))
        return false;
    versionToWide(payload + 2, text);
    return true;
}
