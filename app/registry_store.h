#pragma once

#include <QString>

// The registry module (unit wmReg): the three registry classes and where their store lives.
namespace stambrix::app {

/// Root of a registry path. The program only ever uses the per-user root, HKEY_CURRENT_USER.
enum class RootKey
{
    CurrentUser, ///< HKEY_CURRENT_USER
};

/// Where the per-user store lives. On Windows this is the registry itself and the text is
/// "HKEY_CURRENT_USER". Elsewhere it is one INI file, "Wendmoor/registry.ini" in the user's
/// configuration folder (usually ~/.config/Wendmoor/registry.ini), each key path a group;
/// a non-empty STAMBRIX_REGISTRY_FILE names another file instead. Empty when no configuration
/// folder is known, and then every operation below does nothing.
QString RegistryLocation();

// A key path is the base key followed directly by the sub-key, parts separated by "\"; empty parts
// are skipped, so "A\B\" and "A\B" name the same key. Key and value names are matched without regard
// to case, the spelling already in the store winning. A value name that is empty or holds "\" or "/"
// names nothing. Each operation opens the store afresh and releases it before returning; no failure is
// reported or thrown.

/// Writes one string value.
class TRegWrite
{
public:
    /// Opens the key, creating it and any missing keys above it, and writes `value` under `valueName`,
    /// replacing a value of that name in any case. A store that cannot be written is left as it was.
    void WriteValue(RootKey root, const QString& baseKey, const QString& subKey, const QString& valueName,
                    const QString& value) const;
};

/// Reads one string value.
class TRegRead
{
public:
    /// The value named `valueName` in the key, or "" when the key or the value is missing or the store
    /// cannot be read. Never creates a key or the store.
    [[nodiscard]] QString ReadValue(RootKey root, const QString& baseKey, const QString& subKey,
                                    const QString& valueName) const;
};

/// Deletes a key with everything below it.
class TRegDeleteBool
{
public:
    /// True when the key existed and is gone together with its sub-keys and values; false when it did not
    /// exist, the path is empty, or the store could not be written (the store is then left as it was).
    [[nodiscard]] bool RemoveKey(RootKey root, const QString& baseKey, const QString& subKey) const;
};

} // namespace stambrix::app
