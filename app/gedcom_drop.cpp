#include "app/gedcom_drop.h"

#include "app/gedcom_file_names.h"

#include <QDropEvent>
#include <QEvent>
#include <QFileInfo>
#include <QMimeData>
#include <QUrl>
#include <QWidget>

#include <utility>

namespace stambrix::app {

QString DroppedGedcomFile(const QMimeData& data)
{
    const QList<QUrl> urls = data.urls();
    if (urls.size() != 1 || !urls.front().isLocalFile())
        return {};
    const QFileInfo file(urls.front().toLocalFile());
    if (!file.isFile() || !IsGedcomFileName(file.fileName()))
        return {};
    return file.absoluteFilePath();
}

GedcomDrop::GedcomDrop(const QList<QWidget*>& targets, std::function<void(const QString& path)> take, QObject* parent)
    : QObject(parent), take_(std::move(take))
{
    for (QWidget* target : targets) {
        target->setAcceptDrops(true);
        target->installEventFilter(this);
    }
}

bool GedcomDrop::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if (type != QEvent::DragEnter && type != QEvent::DragMove && type != QEvent::Drop)
        return QObject::eventFilter(watched, event);
    // Taken here for every target, so a control's own handling (the path field's, of text) never sees it.
    auto* drop = static_cast<QDropEvent*>(event);
    const QString path = DroppedGedcomFile(*drop->mimeData());
    if (path.isEmpty() || !drop->possibleActions().testFlag(Qt::CopyAction)) {
        drop->ignore();
        return true;
    }
    drop->setDropAction(Qt::CopyAction);
    drop->accept();
    if (type == QEvent::Drop)
        take_(path);
    return true;
}

} // namespace stambrix::app
