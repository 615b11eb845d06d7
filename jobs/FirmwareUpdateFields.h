#pragma once

#include <QFont>
#include <QLineEdit>
#include <QString>

class CNuboHWI;
class FontTable;
class SkinnedDialog;

// The firmware window's two read-only fields: the keyboard's version, which stands in for a
// while for what is going on, and the chosen file. Children of the dialog.
class FirmwareUpdateFields {
public:
    FirmwareUpdateFields(SkinnedDialog &dialog, const FontTable &fonts, float scale);

    QLineEdit *version() const { return m_version; }
    QLineEdit *file() const { return m_file; }

    // The keyboard's version into its field; false, the field unchanged, when it did not
    // answer.
    bool readVersion(CNuboHWI &hwi);
    // The version field says what is going on, and shows the version again afterwards.
    void showStatus(const QString &text);
    void restoreVersion();
    // The chosen file, its path shortened in the middle to the field's width (the whole of it
    // in the tooltip); empty clears the field.
    void showFile(const QString &path);
    // `path` as it fits `width` pixels: whole, or with an ellipsis in the folders' middle, in
    // `font` or a little smaller.
    struct ShownPath {
        QString text;
        QFont font;
    };
    static ShownPath shownPath(const QString &path, const QFont &font, int width);

private:
    QLineEdit *m_version;
    QLineEdit *m_file;
    QFont m_fileFont;      // the field's own; a long path may take a smaller one
    QString m_versionText; // the field's text while it shows what is going on
};
