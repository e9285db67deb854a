#include "app/radio_group.h"

#include <QRadioButton>
#include <QVBoxLayout>

namespace stambrix::app {

RadioGroup::RadioGroup(const QString& objectName, const QString& caption, const QStringList& items, QWidget* parent)
    : QGroupBox(caption, parent)
{
    setObjectName(objectName);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 4, 0, 4);
    layout->setSpacing(2);
    for (int i = 0; i < items.size(); ++i) {
        auto* button = new QRadioButton(items[i], this);
        button->setObjectName(objectName + QString::number(i));
        buttons_.addButton(button, i);
        layout->addWidget(button);
    }
    layout->addStretch();
    buttons_.button(0)->setChecked(true);
    connect(&buttons_, &QButtonGroup::idToggled, this, [this](int id, bool checked) {
        if (checked)
            emit itemIndexChanged(id);
    });
}

void RadioGroup::SetItemIndex(int index)
{
    if (index != ItemIndex())
        buttons_.button(index)->setChecked(true);
}

} // namespace stambrix::app
