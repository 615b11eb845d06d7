#pragma once

#include <QObject>

class FontTable;
class KeySettingsModel;
class QLineEdit;
class QPlainTextEdit;
class QWidget;

// The key settings dialog's text fields, orange on dark in the face: the times / interval
// field (1001), the auto delay field (1002), the in-place editor moved over a list row (1003)
// and the read-only keys of the combination (1005). Placed and sized in base pixels times the
// dialog's scale, with scaled fonts.
class KeySettingsFields : public QObject {
    Q_OBJECT
public:
    KeySettingsFields(QWidget *dialog, const FontTable &fonts, float scale, bool chinese);

    QLineEdit *times() const { return m_times; }
    QLineEdit *autoDelay() const { return m_autoDelay; }
    QLineEdit *inPlace() const { return m_inPlace; }
    QPlainTextEdit *comboKeys() const { return m_comboKeys; }
    // The field of a control id, or null.
    QWidget *field(int id) const;

    // Which fields a page shows; the in-place editor is hidden by every switch.
    void showPage(int page);
    // Texts refreshed at paint from what a page shows: the combination's keys, the macro's
    // times and fixed delay, the emulation's interval.
    void refresh(const KeySettingsModel &model, int page);
    // Texts refreshed at paint; a field being typed in keeps what the user types.
    void setTimes(int value);
    void setAutoDelay(int value, bool enabled);
    void setComboKeys(const QString &text);

signals:
    // The user changed the text of 1001 or 1002.
    void edited(int fieldId);

private:
    QLineEdit *lineField(QWidget *dialog, int id, const FontTable &fonts, float scale,
                         bool chinese);
    static void setValue(QLineEdit *field, int value);

    float m_scale;
    bool m_chinese;
    QLineEdit *m_times;
    QLineEdit *m_autoDelay;
    QLineEdit *m_inPlace;
    QPlainTextEdit *m_comboKeys;
};
