#pragma once

#include <QList>
#include <QObject>
#include <QString>

#include <functional>

class QMimeData;
class QWidget;

namespace stambrix::app {

/// The GEDCOM file that a drag of `data` carries: the local path when it holds exactly one URL, of a file on
/// this machine (not a folder) whose name is a GEDCOM file's (IsGedcomFileName); "" for anything else, such as
/// several files, a web address or a piece of text.
QString DroppedGedcomFile(const QMimeData& data);

/// Takes a GEDCOM file dropped on any of its targets: a drag that carries one shows as accepted, and its
/// drop hands the path to `take`; any other drag shows as refused. Only the path is taken, so the drop is
/// a copy: a file manager that offered to move the file leaves it where it is.
class GedcomDrop final : public QObject
{
    Q_OBJECT

public:
    /// Filters the drags and drops of `targets`, which accept drops from now on; owned by `parent`.
    GedcomDrop(const QList<QWidget*>& targets, std::function<void(const QString& path)> take, QObject* parent);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::function<void(const QString& path)> take_;
};

} // namespace stambrix::app
