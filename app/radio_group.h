#pragma once

#include <QButtonGroup>
#include <QGroupBox>
#include <QStringList>

namespace stambrix::app {

/// A captioned group of radio buttons, one per item, top to bottom; exactly one is chosen.
class RadioGroup : public QGroupBox
{
    Q_OBJECT

public:
    RadioGroup(const QString& objectName, const QString& caption, const QStringList& items, QWidget* parent);

    /// The chosen item, from 0.
    int ItemIndex() const { return buttons_.checkedId(); }
    /// Chooses `index`; choosing the item already chosen changes nothing and signals nothing.
    void SetItemIndex(int index);

signals:
    /// The chosen item changed, by the user or by SetItemIndex.
    void itemIndexChanged(int index);

private:
    QButtonGroup buttons_;
};

} // namespace stambrix::app
