#pragma once

#include <QLocale>

#include <string>

// Qt's own texts (the buttons and labels of its file and colour dialogs, the edit fields'
// menus) and its locale (file types, dates) in the program's language: Qt's Chinese
// translation, from the installed Qt translations, while the language is Chinese. Without
// them Qt speaks English.
namespace QtTranslation {

// Makes Qt speak `language` ("zh-CN" or "en-US"); false when Chinese was asked for and Qt's
// translation could not be loaded.
bool follow(const std::string &language);
// Whether Qt's Chinese translation is in use.
bool chinese();

// Qt speaks `language` while the scope lives, as before afterwards: for Qt's windows opened
// where nothing else set the language (tests, a dialog used on its own).
class Scope {
public:
    explicit Scope(const std::string &language);
    ~Scope();
    Scope(const Scope &) = delete;
    Scope &operator=(const Scope &) = delete;

private:
    bool m_chinese;
    QLocale m_locale;
};

} // namespace QtTranslation
