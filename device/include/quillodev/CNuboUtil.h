#pragma once

#include "CKeyboardUtil.h"

// The keyboard's transport: report I/O plus the version query, which is built once on top of
// writeReport and readReport so that any subclass providing those two is complete.
class QUILLODEV_EXPORT CNuboUtil : public CKeyboardUtil {
public:
    CNuboUtil() = default;
    ~CNuboUtil() override = default;

    // Fills `text` (at least 62 characters) with the keyboard's version text.
    virtual bool readVersion(wchar_t *text);
};
