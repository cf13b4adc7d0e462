#include "app/platform/portable/PortablePlatform.h"

#include "app/platform/portable/RegistryFile.h"
#include "data/DataError.h"
#include "data/FileAccess.h"

#include <QDir>
#include <QStandardPaths>

#include <cerrno>
#include <fcntl.h>
#include <filesystem>
#include <functional>
#include <pwd.h>
#include <sys/file.h>
#include <unistd.h>
#include <vector>

namespace velmora::app {

namespace {

QString hiveName(RegistryHive hive) {
    return hive == RegistryHive::CurrentUser ? QStringLiteral("HKEY_CURRENT_USER")
                                             : QStringLiteral("HKEY_LOCAL_MACHINE");
}

// "HKEY_CURRENT_USER\SOFTWARE\..." from a key path with or without a leading backslash.
QString fullKey(RegistryHive hive, const std::wstring& key) {
    QString subKey = QString::fromStdWString(key);
    while (subKey.startsWith(QLatin1Char('\\')))
        subKey.remove(0, 1);
    return hiveName(hive) + QLatin1Char('\\') + subKey;
}

} // namespace

PortablePlatform::PortablePlatform(QString registryDir, data::FileWriter& writer)
    : registryDir_(std::move(registryDir)), writer_(writer) {}

PortablePlatform::~PortablePlatform() {
    for (const auto& [name, descriptor] : locks_)
        ::close(descriptor);
}

QString PortablePlatform::defaultRegistryDir() {
    const QString fromEnvironment = qEnvironmentVariable("VELMORA_REGISTRY_DIR");
    if (!fromEnvironment.isEmpty())
        return fromEnvironment;
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/velmora-cindral");
}

QString PortablePlatform::registryFilePath(RegistryHive hive) const {
    return QDir(registryDir_).filePath(hiveName(hive) + QStringLiteral(".reg"));
}

void PortablePlatform::ensureDirectory() const {
    if (!QDir().mkpath(registryDir_))
        throw PlatformError(QStringLiteral("Das Verzeichnis %1 kann nicht angelegt werden.")
                                .arg(data::quotedPath(registryDir_))
                                .toStdWString());
}

RegistryFile& PortablePlatform::hive(RegistryHive hive) {
    const QString path = registryFilePath(hive);
    LoadedHive& loaded = loaded_[hive == RegistryHive::CurrentUser ? 0 : 1];
    const QByteArray bytes =
        data::readRegularFileIfPresent(path, kRegistryFileSizeLimit).value_or(QByteArray());
    if (!loaded.loaded || bytes != loaded.bytes) {
        loaded.loaded = false;
        loaded.file = RegistryFile::fromBytes(bytes, path);
        loaded.bytes = bytes;
        loaded.loaded = true;
    }
    return loaded.file;
}

void PortablePlatform::changeHive(RegistryHive hive,
                                  const std::function<bool(RegistryFile&)>& change) {
    RegistryFile& file = this->hive(hive);
    LoadedHive& loaded = loaded_[hive == RegistryHive::CurrentUser ? 0 : 1];
    // Changed in place: until the save succeeded, the next use loads the file again.
    loaded.loaded = false;
    if (!change(file)) {
        loaded.loaded = true;
        return;
    }
    const QByteArray bytes = file.encode();
    data::writeFileAtomically(registryFilePath(hive), bytes, writer_);
    loaded.bytes = bytes;
    loaded.loaded = true;
}

std::wstring PortablePlatform::readRegistryString(RegistryHive hive, const std::wstring& key,
                                                  const std::wstring& name) {
    try {
        return this->hive(hive)
            .stringValue(fullKey(hive, key), QString::fromStdWString(name))
            .toStdWString();
    } catch (const data::DataError&) {
        return {}; // an unreadable registry reads like a missing value
    }
}

void PortablePlatform::writeRegistryStrings(RegistryHive hive, const std::wstring& key,
                                            const std::vector<RegistryValue>& values) {
    for (const RegistryValue& v : values) {
        if (v.value.find_first_of(L"\r\n") != std::wstring::npos)
            throw PlatformError(
                L"Ein Registrierungswert mit Zeilenumbruch kann nicht gespeichert werden: " +
                fullKey(hive, key).toStdWString() + L"\\" + v.name);
    }
    ensureDirectory();
    try {
        changeHive(hive, [&](RegistryFile& file) {
            for (const RegistryValue& v : values)
                file.setStringValue(fullKey(hive, key), QString::fromStdWString(v.name),
                                    QString::fromStdWString(v.value));
            return true;
        });
    } catch (const data::DataError& e) {
        throw PlatformError(e.message().toStdWString());
    }
}

void PortablePlatform::deleteRegistryKey(RegistryHive hive, const std::wstring& key) {
    try {
        changeHive(hive, [&](RegistryFile& file) {
            if (!file.hasKey(fullKey(hive, key)))
                return false;
            file.deleteKey(fullKey(hive, key));
            return true;
        });
    } catch (const data::DataError& e) {
        throw PlatformError(e.message().toStdWString());
    }
}

std::wstring PortablePlatform::folderIdentity(const std::wstring& path) {
    // The links on the way are resolved as far as the path exists; the rest is kept as written.
    std::error_code error;
    const std::filesystem::path resolved = std::filesystem::weakly_canonical(
        std::filesystem::path(QString::fromStdWString(path).toStdU16String()), error);
    if (error)
        throw PlatformError(
            QStringLiteral("Der Ordner %1 kann nicht erkannt werden: %2")
                .arg(data::quotedPath(QString::fromStdWString(path)), data::fileErrorReason(error))
                .toStdWString());
    return QString::fromStdU16String(resolved.u16string()).toStdWString();
}

bool PortablePlatform::holdSingleInstance(const std::wstring& name) {
    if (locks_.count(name))
        return true;
    ensureDirectory();
    const QString lockPath =
        QDir(registryDir_).filePath(QString::fromStdWString(name) + QStringLiteral(".lock"));
    // The system takes file names as UTF-8 bytes, like every C library this program calls.
    const int fd = ::open(lockPath.toUtf8().constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0) {
        const QString reason = data::fileErrorReason(errno);
        throw PlatformError(QStringLiteral("Die Programmsperre %1 kann nicht angelegt werden: %2")
                                .arg(data::quotedPath(lockPath), reason)
                                .toStdWString());
    }
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const bool heldElsewhere = errno == EWOULDBLOCK;
        const QString reason = data::fileErrorReason(errno);
        ::close(fd);
        if (heldElsewhere)
            return false;
        throw PlatformError(QStringLiteral("Die Programmsperre %1 kann nicht gesetzt werden: %2")
                                .arg(data::quotedPath(lockPath), reason)
                                .toStdWString());
    }
    locks_[name] = fd; // kept open until the process ends; the kernel then drops the lock
    return true;
}

std::wstring PortablePlatform::userName() {
    std::vector<char> buffer(16384);
    passwd entry{};
    passwd* found = nullptr;
    if (getpwuid_r(getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 && found &&
        found->pw_name && *found->pw_name)
        return QString::fromUtf8(found->pw_name).toStdWString();
    const QString fromEnvironment = qEnvironmentVariable("USER");
    if (!fromEnvironment.isEmpty())
        return fromEnvironment.toStdWString();
    throw PlatformError(L"Der Benutzername kann nicht ermittelt werden.");
}

std::wstring PortablePlatform::versionString() {
    return QStringLiteral("%1.%2.%3.%4")
        .arg(VELMORA_VERSION_MAJOR)
        .arg(VELMORA_VERSION_MINOR)
        .arg(VELMORA_VERSION_PATCH)
        .arg(VELMORA_VERSION_TWEAK)
        .toStdWString();
}

Platform& defaultPlatform() {
    static PortablePlatform platform(PortablePlatform::defaultRegistryDir());
    return platform;
}

} // namespace velmora::app
