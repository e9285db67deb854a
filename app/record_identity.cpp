#include "app/record_identity.h"

#include "app/registry_store.h"

#include <QDir>

namespace stambrix::app {

namespace {

struct RegistryValue
{
    const char* name;
    const char* value;
};

// The contact details are fictional; the addresses are on domains reserved for examples.
constexpr RegistryValue kMakerValues[] = {
    {"Logo", "Wendmoor"},
    {"Naam", "A.M. Brinkhorst"},
    {"Adres", "Lindelaan 14"},
    {"Postcode", "7411 ZX"},
    {"Plaats", "Deventer"},
    {"Telefoon", "0570 - 012345"},
    {"GiroNummer", "1234567"},
    {"Email", "wendmoor@example.org"},
    {"HomePage", "https://www.example.com/wendmoor/"},
    {"Versie", "4"},
};

constexpr RegistryValue kProgramValues[] = {
    {"Naam", "Stambrix"},    {"Versie", STAMBRIX_VERSION}, {"Datum", "10 september 2006"},
    {"Exe", "Stambrix.exe"}, {"Help", "Stambrix.hlp"},     {"Email", "stambrix@example.org"},
};

/// `directory` in native separators, ending in exactly one separator.
QString WithTrailingSeparator(const QString& directory)
{
    QString path = QDir::toNativeSeparators(directory);
    if (!path.endsWith(QDir::separator()))
        path += QDir::separator();
    return path;
}

} // namespace

void RecordIdentity(const QString& programDirectory)
{
    const TRegWrite writer;
    for (const RegistryValue& entry : kMakerValues)
        writer.WriteValue(RootKey::CurrentUser, kMakerKey, QString(), entry.name, entry.value);
    // A key of this name directly below the maker's key is left over from elsewhere; whether it was there
    // does not matter.
    static_cast<void>(TRegDeleteBool().RemoveKey(RootKey::CurrentUser, kMakerKey, QStringLiteral("Programma")));
    for (const RegistryValue& entry : kProgramValues)
        writer.WriteValue(RootKey::CurrentUser, kProgramBaseKey, kProgramSubKey, entry.name, entry.value);
    writer.WriteValue(RootKey::CurrentUser, kProgramBaseKey, kProgramSubKey, QStringLiteral("Path"),
                      WithTrailingSeparator(programDirectory));
}

} // namespace stambrix::app
