#pragma once

#include "lighting/ColourChooser.h"
#include "model/LightSettings.h"
#include "skin/SkinImages.h"
#include "skin/SkinnedDialog.h"

struct MultiKeyExchange;

// The modal dialog in which the user picks any number of keys on a keyboard drawing and then
// one colour for all of them. It reads the colours to show from the MultiKeyExchange it is
// given as it opens and reports there: the keys toggled in selectedKeys, the colour confirmed in
// chosenColour. It ends confirmed only through Set Color with a chosen colour.
class CNuboDialogBkLightMultiSelect : public SkinnedDialog {
    Q_OBJECT
public:
    CNuboDialogBkLightMultiSelect(const DialogContext &context, MultiKeyExchange &exchange,
                                  const SkinImages &skin, QWidget *parent = nullptr);

    void setColourChooser(ColourChooser::Choice choose) { m_choose = std::move(choose); }

    // A click on the first entry with this id (a key's is 99 + its number), as a release on
    // it would be; false when the table has no such entry.
    bool clickId(int id);
    // How many keys are selected.
    int selectedCount() const;

protected:
    bool initDialog() override;
    void fillTable(ButtonTable &table) override;
    void buttonClicked(int index, DrawnButton &entry) override;
    void decorateEntry(QPainter &painter, const DrawnButton &entry, const QRect &base) override;
    bool showsHover(const DrawnButton &entry) const override;
    QColor captionColour(const DrawnButton &entry) const override;
    void afterEntries(QPainter &painter) override;
    // Keys are named toggle buttons, checked while chosen, that tell their colour.
    EntryRole entryRole(const DrawnButton &entry) const override;
    QString entryName(const DrawnButton &entry) const override;
    QString entryDescription(const DrawnButton &entry) const override;

private:
    void toggle(DrawnButton &key);
    void setColour();
    QString text(const char *chinese, const char *english) const;

    MultiKeyExchange &m_exchange;
    LightSettings m_colours{}; // what the keys show, taken as the dialog opens
    ColourChooser::Choice m_choose;
};
