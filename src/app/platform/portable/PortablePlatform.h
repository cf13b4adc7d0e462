#pragma once
// The platform away from Windows. The registry is a directory of registry export files,
// HKEY_CURRENT_USER.reg and HKEY_LOCAL_MACHINE.reg; the single-instance guard is a file lock in
// that directory, which the system drops when the holding process ends, even by a crash.
#include "app/platform/Platform.h"
#include "app/platform/portable/RegistryFile.h"
#include "data/FileWriter.h"

#include <QByteArray>
#include <QString>
#include <functional>
#include <map>

namespace velmora::app {

class PortablePlatform final : public Platform {
public:
    // The registry files are saved through writer.
    explicit PortablePlatform(QString registryDir, data::FileWriter& writer = data::diskWriter());
    ~PortablePlatform() override;
    PortablePlatform(const PortablePlatform&) = delete;
    PortablePlatform& operator=(const PortablePlatform&) = delete;

    // VELMORA_REGISTRY_DIR when set, otherwise "velmora-cindral" in the user's configuration
    // folder.
    static QString defaultRegistryDir();
    QString registryFilePath(RegistryHive hive) const;

    std::wstring readRegistryString(RegistryHive hive, const std::wstring& key,
                                    const std::wstring& name) override;
    void writeRegistryStrings(RegistryHive hive, const std::wstring& key,
                              const std::vector<RegistryValue>& values) override;
    void deleteRegistryKey(RegistryHive hive, const std::wstring& key) override;
    bool holdSingleInstance(const std::wstring& name) override;
    std::wstring folderIdentity(const std::wstring& path) override;
    std::wstring userName() override;
    std::wstring versionString() override;
    wchar_t pathSeparator() const override { return L'/'; }

private:
    void ensureDirectory() const;
    // The hive's file as it is on the disk now. The file is parsed again only when its bytes
    // differ from those of the last load or save, so the reads and the write of one start parse
    // it once. Raises DataError when it can not be read.
    RegistryFile& hive(RegistryHive hive);
    // Applies change to the hive and saves it, unless change returns false (nothing to do).
    void changeHive(RegistryHive hive, const std::function<bool(RegistryFile&)>& change);

    struct LoadedHive {
        QByteArray bytes;
        RegistryFile file;
        bool loaded = false;
    };
    LoadedHive loaded_[2];

    QString registryDir_;
    data::FileWriter& writer_;
    std::map<std::wstring, int> locks_; // guard name -> descriptor of its locked file
};

} // namespace velmora::app
