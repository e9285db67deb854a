#pragma once

#include <functional>
#include <memory>
#include <utility>
#include <vector>

#include <QByteArray>
#include <QMap>
#include <QObject>
#include <QSettings>
#include <QString>
#include <QTemporaryDir>

namespace stambrix::app::test {

using TestFactory = std::function<std::unique_ptr<QObject>()>;

/// Every Qt Test class of this executable, run one after the other by its `main`.
inline std::vector<TestFactory>& AppTests()
{
    static std::vector<TestFactory> tests;
    return tests;
}

/// Adds a test class to `AppTests` from a namespace-scope constant in the test's file.
template <typename T> struct AppTestRegistration
{
    AppTestRegistration()
    {
        AppTests().push_back([] { return std::make_unique<T>(); });
    }
};

/// Points the settings store at "registry.ini" in a fresh temporary folder for the object's lifetime,
/// so no test touches the user's own store; the previous setting comes back at the end.
class ScopedRegistryFile
{
public:
    ScopedRegistryFile() : previous_(qgetenv("STAMBRIX_REGISTRY_FILE"))
    {
        qputenv("STAMBRIX_REGISTRY_FILE", Path().toLocal8Bit());
    }
    ~ScopedRegistryFile() { qputenv("STAMBRIX_REGISTRY_FILE", previous_); }
    ScopedRegistryFile(const ScopedRegistryFile&) = delete;
    ScopedRegistryFile& operator=(const ScopedRegistryFile&) = delete;

    QString Folder() const { return folder_.path(); }
    QString Path() const { return folder_.filePath(QStringLiteral("registry.ini")); }

private:
    QTemporaryDir folder_;
    QByteArray previous_;
};

/// Every value in the INI store at `path`, by its full "group/name" key as stored.
inline QMap<QString, QString> StoreContents(const QString& path)
{
    QSettings store(path, QSettings::IniFormat);
    QMap<QString, QString> contents;
    for (const QString& key : store.allKeys())
        contents.insert(key, store.value(key).toString());
    return contents;
}

} // namespace stambrix::app::test
