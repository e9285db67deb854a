#include "app/registry_store.h"

#include <memory>

#include <QSettings>
#include <QStandardPaths>
#include <QStringList>

namespace stambrix::app {

namespace {

/// The store below `root`, or null when there is none on this machine.
std::unique_ptr<QSettings> OpenStore(RootKey root)
{
    // Only the per-user root exists.
    static_cast<void>(root);
    const QString location = RegistryLocation();
    if (location.isEmpty())
        return nullptr;
#ifdef Q_OS_WIN
    return std::make_unique<QSettings>(location, QSettings::NativeFormat);
#else
    return std::make_unique<QSettings>(location, QSettings::IniFormat);
#endif
}

/// `group` and `name` joined with the store's separator.
QString Joined(const QString& group, const QString& name)
{
    return group.isEmpty() ? name : group + QLatin1Char('/') + name;
}

/// The sub-keys (`wantGroups`) or the value names directly in the key `group`.
QStringList ChildrenOf(QSettings& store, const QString& group, bool wantGroups)
{
    if (!group.isEmpty())
        store.beginGroup(group);
    QStringList children = wantGroups ? store.childGroups() : store.childKeys();
    if (!group.isEmpty())
        store.endGroup();
    return children;
}

/// The entry of `names` equal to `name` without regard to case, or "" when there is none.
QString MatchOf(const QStringList& names, const QString& name)
{
    for (const QString& candidate : names) {
        if (candidate.compare(name, Qt::CaseInsensitive) == 0)
            return candidate;
    }
    return {};
}

/// A key path as the store names it.
struct ResolvedKey
{
    QString group;       ///< "" for the root
    bool exists = false; ///< every part was found
};

/// The "\"-separated parts of `keyPath` joined by "/", each in the spelling of the key already in the
/// store where there is one; nothing is created.
ResolvedKey ResolveKey(QSettings& store, const QString& keyPath)
{
    ResolvedKey key;
    key.exists = true;
    for (const QString& part : keyPath.split(QLatin1Char('\\'), Qt::SkipEmptyParts)) {
        QString name = part;
        if (key.exists) {
            const QString match = MatchOf(ChildrenOf(store, key.group, true), part);
            if (match.isEmpty())
                key.exists = false;
            else
                name = match;
        }
        key.group = Joined(key.group, name);
    }
    return key;
}

/// A value name the store can hold as one value of one key.
bool IsUsableValueName(const QString& valueName)
{
    return !valueName.isEmpty() && !valueName.contains(QLatin1Char('\\')) && !valueName.contains(QLatin1Char('/'));
}

/// Whether changes to the store can be saved. Asked before changing anything, because QSettings keeps
/// changes it failed to save in memory and would show them to the next reader in this process. A store
/// file with lines that are not INI is saved again with what could be read from it.
bool IsSavable(QSettings& store)
{
    return store.status() != QSettings::AccessError && store.isWritable();
}

} // namespace

QString RegistryLocation()
{
#ifdef Q_OS_WIN
    return QStringLiteral("HKEY_CURRENT_USER");
#else
    QString overridden = qEnvironmentVariable("STAMBRIX_REGISTRY_FILE");
    if (!overridden.isEmpty())
        return overridden;
    const QString configFolder = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    if (configFolder.isEmpty())
        return {};
    return configFolder + QStringLiteral("/Wendmoor/registry.ini");
#endif
}

void TRegWrite::WriteValue(RootKey root, const QString& baseKey, const QString& subKey, const QString& valueName,
                           const QString& value) const
{
    const auto store = OpenStore(root);
    if (!store || !IsUsableValueName(valueName) || !IsSavable(*store))
        return;
    const ResolvedKey key = ResolveKey(*store, baseKey + subKey);
    QString name = key.exists ? MatchOf(ChildrenOf(*store, key.group, false), valueName) : QString();
    if (name.isEmpty())
        name = valueName;
    store->setValue(Joined(key.group, name), value);
    store->sync();
}

QString TRegRead::ReadValue(RootKey root, const QString& baseKey, const QString& subKey, const QString& valueName) const
{
    const auto store = OpenStore(root);
    if (!store || !IsUsableValueName(valueName))
        return {};
    const ResolvedKey key = ResolveKey(*store, baseKey + subKey);
    if (!key.exists)
        return {};
    const QString name = MatchOf(ChildrenOf(*store, key.group, false), valueName);
    if (name.isEmpty())
        return {};
    const QVariant value = store->value(Joined(key.group, name));
    // An INI value edited by hand to hold unquoted commas comes back as a list.
    if (value.typeId() == QMetaType::QStringList)
        return value.toStringList().join(QStringLiteral(", "));
    return value.toString();
}

bool TRegDeleteBool::RemoveKey(RootKey root, const QString& baseKey, const QString& subKey) const
{
    {
        const auto store = OpenStore(root);
        if (!store)
            return false;
        const ResolvedKey key = ResolveKey(*store, baseKey + subKey);
        if (!key.exists || key.group.isEmpty() || !IsSavable(*store))
            return false;
        store->remove(key.group);
        store->sync();
        if (store->status() == QSettings::AccessError)
            return false;
    }
    // The store is opened afresh to see whether the key is really gone.
    const auto store = OpenStore(root);
    return store && !ResolveKey(*store, baseKey + subKey).exists;
}

} // namespace stambrix::app
