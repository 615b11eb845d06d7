#pragma once

#include <cstdint>

// What a drawn entry is to keyboard navigation and assistive technology. Controls are focus
// stops; static text is only read.
enum class EntryRole : std::uint8_t {
    None, // neither read nor focused (an empty slot, a frame without an action)
    StaticText,
    PushButton,
    ToggleButton, // stays pressed (checked) until pressed again
    RadioButton,
    CheckBox,
    PageTab,
    ListItem,
    Key, // a key of a keyboard drawing: a push button named after the key
};

constexpr bool isControl(EntryRole role)
{
    return role != EntryRole::None && role != EntryRole::StaticText;
}

// Roles whose `checked` state is announced as checked (or, for list items and tabs, selected).
constexpr bool isCheckable(EntryRole role)
{
    return role == EntryRole::ToggleButton || role == EntryRole::RadioButton
           || role == EntryRole::CheckBox || role == EntryRole::PageTab
           || role == EntryRole::ListItem;
}
