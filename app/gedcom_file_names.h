#pragma once

#include <QDir>
#include <QString>
#include <QStringList>

namespace stambrix::app {

/// The names a GEDCOM file goes by: "*.ged" and "*.gedcom".
inline QStringList GedcomNamePatterns()
{
    return {QStringLiteral("*.ged"), QStringLiteral("*.gedcom")};
}

/// Whether `fileName` ends as a GEDCOM file's does, in any case: «fam.ged», «FAM.GED», «fam.Gedcom».
inline bool IsGedcomFileName(const QString& fileName)
{
    return QDir::match(GedcomNamePatterns(), fileName);
}

/// The file dialog's filter: «GEDCOM-bestanden (*.ged *.gedcom)».
inline QString GedcomFileFilter()
{
    return QStringLiteral("GEDCOM-bestanden (%1)").arg(GedcomNamePatterns().join(QLatin1Char(' ')));
}

} // namespace stambrix::app
