#pragma once

// Identity of a keyboard model, the base of its protocol.
class CKeyboardDefine {
public:
    virtual ~CKeyboardDefine() = default;
    virtual const wchar_t *productId() const = 0;
    virtual const wchar_t *vendorId() const = 0;

protected:
    CKeyboardDefine() = default;
};
