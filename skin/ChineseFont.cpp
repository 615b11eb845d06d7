#include "skin/ChineseFont.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QStringList>

#ifdef QUILLO_FONTCONFIG
#include <fontconfig/fontconfig.h>
#endif

namespace {

// The faces Debian packages for Simplified Chinese, best first; the package depends on one of
// the first two. The last ones are Windows' and macOS's own.
constexpr const char *Preferred[]
    = {"Noto Sans CJK SC",  "WenQuanYi Micro Hei", "Source Han Sans SC",
       "WenQuanYi Zen Hei", "Microsoft YaHei",     "PingFang SC"};

#ifdef QUILLO_FONTCONFIG
// The family fontconfig matches for the preferred names and the Chinese language, provided the
// face it found really covers Simplified Chinese (a match is always some font).
QString askFontconfig()
{
    if (!FcInit())
        return {};
    FcPattern *pattern = FcPatternCreate();
    for (const char *name : Preferred)
        FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8 *>(name));
    FcPatternAddString(pattern, FC_LANG, reinterpret_cast<const FcChar8 *>("zh-cn"));
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern *match = FcFontMatch(nullptr, pattern, &result);
    FcPatternDestroy(pattern);
    if (!match)
        return {};
    QString family;
    FcLangSet *languages = nullptr;
    if (FcPatternGetLangSet(match, FC_LANG, 0, &languages) == FcResultMatch
        && FcLangSetHasLang(languages, reinterpret_cast<const FcChar8 *>("zh-cn")) == FcLangEqual) {
        // A face may carry its name in several languages; Qt knows it by one of them.
        FcChar8 *name = nullptr;
        for (int i = 0;
             family.isEmpty() && FcPatternGetString(match, FC_FAMILY, i, &name) == FcResultMatch;
             ++i) {
            const QString candidate = QString::fromUtf8(reinterpret_cast<const char *>(name));
            if (QFontDatabase::hasFamily(candidate))
                family = candidate;
        }
    }
    FcPatternDestroy(match);
    return family;
}
#endif

QString lookUp()
{
#ifdef QUILLO_FONTCONFIG
    return askFontconfig();
#else
    const QStringList chinese = QFontDatabase::families(QFontDatabase::SimplifiedChinese);
    for (const char *name : Preferred) {
        if (chinese.contains(QLatin1String(name)))
            return QLatin1String(name);
    }
    return chinese.isEmpty() ? QString() : chinese.front();
#endif
}

} // namespace

namespace ChineseFont {

QString family()
{
    // Fonts installed while the program runs are not looked for.
    static const QString found = lookUp();
    return found;
}

QFont withChinese(QFont font)
{
    const QString chinese = family();
    if (chinese.isEmpty())
        return font;
    QStringList families = font.families();
    // A generic name ("Sans Serif") stands for whatever face the configuration picks; the face
    // itself is named, or the Chinese face, listed next, would draw the Latin text too.
    if (families.isEmpty() || !QFontDatabase::hasFamily(families.front()))
        families = QStringList{QFontInfo(font).family()};
    if (!families.contains(chinese))
        families.append(chinese);
    font.setFamilies(families);
    return font;
}

} // namespace ChineseFont
