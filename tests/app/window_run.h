#pragma once

#include "app/main_window.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QMap>
#include <QSignalSpy>
#include <QToolButton>

// What the tests of the main window's runs share.
namespace stambrix::app::test {

/// Clicks " Uitvoeren " and waits until the run has ended and its messages have been shown; false when
/// no run ended within a minute.
inline bool RunToTheEnd(TfrmStambrix& window)
{
    QSignalSpy ended(&window, &TfrmStambrix::runEnded);
    window.findChild<QToolButton*>("tbtnUitvoeren")->click();
    return !ended.isEmpty() || ended.wait(60000);
}

/// Writes `bytes` as the file `path`; a test that cannot, stops.
inline QString WriteFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
    return path;
}

/// Every entry of `folder`, hidden ones (temporary files) included, with the bytes of the files.
inline QMap<QString, QByteArray> FilesIn(const QString& folder)
{
    QMap<QString, QByteArray> files;
    for (const QFileInfo& entry : QDir(folder).entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot)) {
        QFile file(entry.filePath());
        files.insert(entry.fileName(), file.open(QIODevice::ReadOnly) ? file.readAll() : "");
    }
    return files;
}

} // namespace stambrix::app::test
