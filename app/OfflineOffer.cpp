#include "app/OfflineOffer.h"

#include "app/OfflineTexts.h"
#include "model/KeyboardModel.h"
#include "skin/SkinMessageBox.h"

#include <QCoreApplication>
#include <QPushButton>

#include <vector>

namespace OfflineOffer {

int choose(const DialogContext &context, QWidget *parent)
{
    SkinMessageBox box(context, QMessageBox::Warning, QCoreApplication::applicationName(),
                       QString::fromStdString(OfflineTexts::offerHeadline()), QMessageBox::NoButton,
                       parent);
    box.setDetail(QString::fromStdString(OfflineTexts::offlineOffer()));
    std::vector<QPushButton *> models;
    for (int variant = 1; variant <= KeyboardModel::Count; ++variant)
        models.push_back(box.addButton(QString::fromLatin1(KeyboardModel::name(variant)),
                                       QMessageBox::AcceptRole));
    QPushButton *exit = box.addButton(QString::fromStdString(OfflineTexts::exitCaption()),
                                      QMessageBox::RejectRole);
    box.setDefaultButton(exit);
    box.setEscapeButton(exit);
    box.exec();
    for (std::size_t i = 0; i < models.size(); ++i) {
        if (box.clickedButton() == models[i])
            return int(i) + 1;
    }
    return 0;
}

} // namespace OfflineOffer
