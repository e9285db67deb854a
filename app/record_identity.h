#pragma once

#include <QString>

namespace stambrix::app {

/// The maker record's key below HKEY_CURRENT_USER; its values are read with an empty sub-key.
inline constexpr char kMakerKey[] = "Software\\Wendmoor\\";
/// The base key of the program record, the program's version included.
inline constexpr char kProgramBaseKey[] = "Software\\Wendmoor\\Stambrix\\" STAMBRIX_VERSION "\\";
/// The sub-key of the program record below `kProgramBaseKey`.
inline constexpr char kProgramSubKey[] = "Programma\\";

/// Writes the maker record ("Logo", "Naam", "Adres", "Postcode", "Plaats", "Telefoon", "GiroNummer",
/// "Email", "HomePage", "Versie") and the program record ("Naam", "Versie", "Datum", "Exe", "Help",
/// "Email", "Path") in that order, after deleting the stale key Software\Wendmoor\Programma with
/// everything below it between the two. Done at every start, so values edited or removed by hand come
/// back. "Path" is `programDirectory` (the executable's folder, as from
/// QCoreApplication::applicationDirPath) in native separators with one trailing separator. Every
/// failure is silent.
void RecordIdentity(const QString& programDirectory);

} // namespace stambrix::app
