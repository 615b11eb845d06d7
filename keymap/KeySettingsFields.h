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
    // Texts refreshed from what a page shows: the combination's keys, the macro's times and
    // fixed delay, the emulation's interval. A field always shows the current entry's value:
    // one being typed in keeps the user's text only while that still stands for the value
    // of the same entry on the same page (emptied to type anew, or a leading zero).
    void refresh(const KeySettingsModel &model, int page);
    void setComboKeys(const QString &text);

signals:
    // The user changed the text of 1001 or 1002.
    void edited(int fieldId);

private:
    QLineEdit *lineField(QWidget *dialog, int id, const FontTable &fonts, float scale,
                         bool chinese);
    // The entry a field's text was last set for: the page and the current entry's serial.
    struct ShownFor {
        int page = 0;
        unsigned serial = 0;
        bool operator==(const ShownFor &) const = default;
    };
    static void setValue(QLineEdit *field, int value, ShownFor &shownFor, ShownFor now);

    float m_scale;
    bool m_chinese;
    QLineEdit *m_times;
    QLineEdit *m_autoDelay;
    QLineEdit *m_inPlace;
    QPlainTextEdit *m_comboKeys;
    ShownFor m_timesFor;
    ShownFor m_autoDelayFor;
};
