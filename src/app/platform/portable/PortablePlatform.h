#pragma once
// The platform away from Windows. The registry is a directory of registry export files,
// HKEY_CURRENT_USER.reg and HKEY_LOCAL_MACHINE.reg; the single-instance guard is a file lock in
// that directory, which the system drops when the holding process ends, even by a crash.
#include "app/platform/Platform.h"

#include <QString>

namespace velmora::app {

class PortablePlatform final : public Platform {
public:
    explicit PortablePlatform(QString registryDir);
    ~PortablePlatform() override;
    PortablePlatform(const PortablePlatform&) = delete;
    PortablePlatform& operator=(const PortablePlatform&) = delete;

    // VELMORA_REGISTRY_DIR when set, otherwise "velmora-cindral" in the user's configuration
    // folder.
    static QString defaultRegistryDir();
    QString registryFilePath(RegistryHive hive) const;

    std::wstring readRegistryString(RegistryHive hive, const std::wstring& key,
                                    const std::wstring& name) override;
    void writeRegistryString(RegistryHive hive, const std::wstring& key, const std::wstring& name,
                             const std::wstring& value) override;
    void deleteRegistryKey(RegistryHive hive, const std::wstring& key) override;
    bool holdSingleInstance(const std::wstring& name) override;
    std::wstring userName() override;
    std::wstring versionString() override;
    wchar_t pathSeparator() const override { return L'/'; }

private:
    void ensureDirectory() const;

    QString registryDir_;
    int lockDescriptor_ = -1;
};

} // namespace velmora::app
