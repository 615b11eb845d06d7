#include "skin/QtTranslation.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QPointer>
#include <QTranslator>

namespace {

// Loaded once per application object, which owns it.
QPointer<QTranslator> &translator()
{
    static QPointer<QTranslator> loaded;
    return loaded;
}

bool installed = false;

bool installChinese()
{
    QCoreApplication *application = QCoreApplication::instance();
    if (!application)
        return false;
    QPointer<QTranslator> &loaded = translator();
    if (!loaded) {
        auto *candidate = new QTranslator(application);
        if (!candidate->load(QStringLiteral("qtbase_zh_CN"),
                             QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
            delete candidate;
            return false;
        }
        loaded = candidate;
    }
    return QCoreApplication::installTranslator(loaded);
}

} // namespace

namespace QtTranslation {

bool follow(const std::string &language)
{
    const bool wanted = language == "zh-CN";
    // The locale names file types and formats dates in the file dialogs.
    QLocale::setDefault(
        wanted ? QLocale(QLocale::Chinese, QLocale::SimplifiedHanScript, QLocale::China)
               : QLocale(QLocale::English, QLocale::UnitedStates));
    if (wanted == chinese())
        return true;
    if (!wanted) {
        if (translator())
            QCoreApplication::removeTranslator(translator());
        installed = false;
        return true;
    }
    installed = installChinese();
    return installed;
}

bool chinese()
{
    // A translator goes with the application object that owned it.
    return installed && translator();
}

Scope::Scope(const std::string &language)
    : m_chinese(chinese())
    , m_locale(QLocale())
{
    follow(language);
}

Scope::~Scope()
{
    follow(m_chinese ? "zh-CN" : "en-US");
    QLocale::setDefault(m_locale);
}

} // namespace QtTranslation
