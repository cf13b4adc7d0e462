#include "app/platform/portable/PortablePlatform.h"

#include "app/platform/portable/RegistryFile.h"
#include "data/DataError.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>

#include <cerrno>
#include <fcntl.h>
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

QString systemErrorText() {
    return QString::fromLocal8Bit(strerror(errno));
}

} // namespace

PortablePlatform::PortablePlatform(QString registryDir) : registryDir_(std::move(registryDir)) {}

PortablePlatform::~PortablePlatform() {
    if (lockDescriptor_ >= 0)
        ::close(lockDescriptor_);
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
        throw PlatformError(
            QStringLiteral("Das Verzeichnis \u201E%1\u201C kann nicht angelegt werden.")
                .arg(QDir::toNativeSeparators(registryDir_))
                .toStdWString());
}

std::wstring PortablePlatform::readRegistryString(RegistryHive hive, const std::wstring& key,
                                                  const std::wstring& name) {
    try {
        return RegistryFile::load(registryFilePath(hive))
            .stringValue(fullKey(hive, key), QString::fromStdWString(name))
            .toStdWString();
    } catch (const data::DataError&) {
        return {}; // an unreadable registry reads like a missing value
    }
}

void PortablePlatform::writeRegistryString(RegistryHive hive, const std::wstring& key,
                                           const std::wstring& name, const std::wstring& value) {
    const QString text = QString::fromStdWString(value);
    if (text.contains(QLatin1Char('\r')) || text.contains(QLatin1Char('\n')))
        throw PlatformError(
            L"Ein Registrierungswert mit Zeilenumbruch kann nicht gespeichert werden: " +
            fullKey(hive, key).toStdWString() + L"\\" + name);
    ensureDirectory();
    try {
        RegistryFile file = RegistryFile::load(registryFilePath(hive));
        file.setStringValue(fullKey(hive, key), QString::fromStdWString(name), text);
        file.save(registryFilePath(hive));
    } catch (const data::DataError& e) {
        throw PlatformError(e.message().toStdWString());
    }
}

void PortablePlatform::deleteRegistryKey(RegistryHive hive, const std::wstring& key) {
    const QString path = registryFilePath(hive);
    try {
        RegistryFile file = RegistryFile::load(path);
        if (!file.hasKey(fullKey(hive, key)))
            return;
        file.deleteKey(fullKey(hive, key));
        file.save(path);
    } catch (const data::DataError& e) {
        throw PlatformError(e.message().toStdWString());
    }
}

bool PortablePlatform::holdSingleInstance(const std::wstring& name) {
    if (lockDescriptor_ >= 0)
        return true;
    ensureDirectory();
    const QString lockPath =
        QDir(registryDir_).filePath(QString::fromStdWString(name) + QStringLiteral(".lock"));
    const int fd =
        ::open(QFile::encodeName(lockPath).constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0)
        throw PlatformError(
            QStringLiteral("Die Programmsperre \u201E%1\u201C kann nicht angelegt werden: %2")
                .arg(lockPath, systemErrorText())
                .toStdWString());
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const bool heldElsewhere = errno == EWOULDBLOCK;
        const QString reason = systemErrorText();
        ::close(fd);
        if (heldElsewhere)
            return false;
        throw PlatformError(
            QStringLiteral("Die Programmsperre \u201E%1\u201C kann nicht gesetzt werden: %2")
                .arg(lockPath, reason)
                .toStdWString());
    }
    lockDescriptor_ = fd; // kept open until the process ends; the kernel then drops the lock
    return true;
}

std::wstring PortablePlatform::userName() {
    std::vector<char> buffer(16384);
    passwd entry{};
    passwd* found = nullptr;
    if (getpwuid_r(getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 && found &&
        found->pw_name && *found->pw_name)
        return QFile::decodeName(found->pw_name).toStdWString();
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
