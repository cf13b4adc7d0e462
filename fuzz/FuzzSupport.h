#pragma once
// What every fuzz target needs: a scratch folder of its own (in memory where the system has
// one) and a way to put the fuzzer's bytes into a file there.
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <unistd.h>

namespace velmora::fuzz {

// A folder created once per process, removed when the process ends normally.
inline const QString& scratchDir() {
    // The path outlives every static object: the removal runs after their destructors.
    static char path[64];
    static const QString dir = [] {
        std::snprintf(path, sizeof path, "%s/velmora-fuzz-XXXXXX",
                      access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp");
        if (!mkdtemp(path))
            std::abort();
        std::atexit([] { std::filesystem::remove_all(path); });
        return QString::fromLocal8Bit(path) + QLatin1Char('/');
    }();
    return dir;
}

// Writes the bytes to scratchDir() + name and returns the path.
inline QString writeScratchFile(const QString& name, const uint8_t* data, size_t size) {
    const QString path = scratchDir() + name;
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size)) !=
            static_cast<qint64>(size))
        std::abort();
    return path;
}

#ifdef VELMORA_SHIPPED_DATA
// A copy of the shipped data directory in scratchDir(), made once per process; its path.
inline const QString& copyShippedData() {
    static const QString dir = [] {
        const QString target = scratchDir() + QStringLiteral("XMLP");
        QDir().mkpath(target);
        const QDir source(QStringLiteral(VELMORA_SHIPPED_DATA));
        for (const QString& name : source.entryList(QDir::Files))
            if (!QFile::copy(source.filePath(name), target + QLatin1Char('/') + name))
                std::abort();
        return target;
    }();
    return dir;
}
#endif

} // namespace velmora::fuzz
