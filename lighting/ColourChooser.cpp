#include "lighting/ColourChooser.h"

#include "skin/DarkPalette.h"

#include <QColorDialog>
#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

#include <memory>

namespace {

// Qt's own texts of the chooser in Chinese, while it is open, where Qt's translations are
// installed; without them it speaks English.
class ChineseTexts {
public:
    explicit ChineseTexts(bool chinese)
    {
        if (!chinese)
            return;
        auto translator = std::make_unique<QTranslator>();
        if (translator->load(QStringLiteral("qtbase_zh_CN"),
                             QLibraryInfo::path(QLibraryInfo::TranslationsPath))
            && QCoreApplication::installTranslator(translator.get()))
            m_translator = std::move(translator);
    }
    ~ChineseTexts()
    {
        if (m_translator)
            QCoreApplication::removeTranslator(m_translator.get());
    }
    ChineseTexts(const ChineseTexts &) = delete;
    ChineseTexts &operator=(const ChineseTexts &) = delete;

private:
    std::unique_ptr<QTranslator> m_translator;
};

} // namespace

std::optional<LightColour> ColourChooser::choose(const ColourRequest &request)
{
    const ChineseTexts texts(request.chinese);
    QColorDialog dialog(request.parent);
    // Qt's own dialog: a desktop's native one would not take the program's look.
    dialog.setOption(QColorDialog::DontUseNativeDialog);
    DarkPalette::apply(&dialog);
    dialog.setCurrentColor(toQColor(request.initial));
    if (!request.title.isEmpty())
        dialog.setWindowTitle(request.title);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return fromQColor(dialog.selectedColor());
}

QColor ColourChooser::toQColor(const LightColour &colour)
{
    return QColor(colour.red & 0xFF, colour.green & 0xFF, colour.blue & 0xFF);
}

LightColour ColourChooser::fromQColor(const QColor &colour)
{
    const QColor rgb = colour.toRgb();
    return {rgb.red(), rgb.green(), rgb.blue()};
}
