#pragma once

#include <QTranslator>

namespace stambrix::app {

/// The Dutch of the types that Qt's own file dialog shows in its column "Type" for what is not a file:
/// «Map» for a folder, and the like. Qt asks for them under the context "QAbstractFileIconProvider",
/// which qtbase_nl lacks (it has them under the file dialog's context of older Qt versions); every other
/// text is left to the translators installed before this one.
class FileTypeTranslator final : public QTranslator
{
    Q_OBJECT

public:
    using QTranslator::QTranslator;

    QString translate(const char* context, const char* sourceText, const char* disambiguation = nullptr,
                      int n = -1) const override;
    bool isEmpty() const override { return false; }
};

} // namespace stambrix::app
