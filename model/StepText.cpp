#include "model/StepText.h"

#include "model/KeyCatalogue.h"

#include <algorithm>
#include <climits>
#include <string_view>

namespace StepText {

namespace {

constexpr int KeyMask = 0x1FF;
constexpr int ReleaseBit = 0x200;
constexpr std::string_view DelayMark = "ms>";
constexpr std::string_view DelayTail = " ms>";

// Reads an optional sign and the digits that follow, as the C library would; anything else
// ends the number. Saturates instead of overflowing.
int readInteger(std::string_view text)
{
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t'))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+'))
        negative = text[i++] == '-';
    long long value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = std::min<long long>(value * 10 + (text[i] - '0'), 1LL + INT_MAX);
    }
    if (negative)
        value = -value;
    return int(std::clamp<long long>(value, INT_MIN, INT_MAX));
}

bool endsWith(std::string_view text, std::string_view tail)
{
    return text.size() >= tail.size() && text.substr(text.size() - tail.size()) == tail;
}

} // namespace

std::string stepText(const KeyCatalogue &catalogue, int hookKey, bool withSuffix)
{
    const std::string *name = catalogue.nameOfKey(hookKey & KeyMask);
    if (!name)
        return KeyCatalogue::NoName;
    if (!withSuffix)
        return *name;
    return *name + (hookKey < ReleaseBit ? DownSuffix : UpSuffix);
}

std::string delayStep(int ms)
{
    return "<" + std::to_string(ms) + std::string(DelayTail);
}

bool isDelayStep(const std::string &text)
{
    return text.size() > DelayTail.size() && text.front() == '<' && endsWith(text, DelayTail);
}

std::string delayDigits(const std::string &text)
{
    if (!isDelayStep(text))
        return {};
    return text.substr(1, text.size() - 1 - DelayTail.size());
}

int leadingInteger(const std::string &text)
{
    return readInteger(text);
}

int stepValue(const KeyCatalogue &catalogue, const std::string &text)
{
    const std::string_view view(text);
    if (view.find(DelayMark) != std::string_view::npos) {
        // The number sits between the first character and the closing " ms>".
        if (view.size() <= 1 + DelayTail.size())
            return 0;
        return readInteger(view.substr(1, view.size() - 1 - DelayTail.size()));
    }

    // Of all names the text can stand for, the lowest key's wins, as when the name table is
    // searched in key order.
    int key = catalogue.keyOfName(text);
    for (std::string_view suffix : {std::string_view(UpSuffix), std::string_view(DownSuffix)}) {
        if (!endsWith(view, suffix))
            continue;
        const int other
            = catalogue.keyOfName(std::string(view.substr(0, view.size() - suffix.size())));
        if (other >= 0 && (key < 0 || other < key))
            key = other;
    }
    return key < 0 ? 0 : catalogue.codeOfKey(key);
}

} // namespace StepText
