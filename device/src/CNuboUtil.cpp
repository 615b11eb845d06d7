#include <quillodev/CNuboUtil.h>

#include <cstring>

bool CNuboUtil::readVersion(wchar_t *text)
{
    unsigned char report[65] = {};
    report[2] = 0xF9;
    if (!writeReport(report, sizeof report))
        return false;

    unsigned char payload[64] = {};
    unsigned int length = sizeof payload;
    if (!readReport(payload, length, 100000))
        return false;

    // Bytes 2..63 of the answer, one character each; the text ends at the first zero byte.
    for (int i = 0; i < 62; ++i)
        text[i] = wchar_t(payload[2 + i]);
    return true;
}
