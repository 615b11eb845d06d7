#include "device/src/CKeyDefine.h"

void CKeyDefine::writeRecordHeader(unsigned char *block) const
{
    block[0] = 0x00;
    block[1] = 0xF0;
    block[2] = static_cast<unsigned char>(layer);
    block[3] = static_cast<unsigned char>(key);
    block[4] = static_cast<unsigned char>(type);
}
