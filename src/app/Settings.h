#pragma once
// Registry keys and values, and the fixed texts of the start-up sequence.
#include <QString>
#include <QStringList>

namespace velmora::app {

// HKEY_CURRENT_USER: the program's own settings.
inline const QString kSettingsKey =
    QStringLiteral("\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\VelmoraCindral");
// HKEY_LOCAL_MACHINE: the game's own key and the launcher's entry for it, value InstallDir.
inline const QString kGameKey = QStringLiteral("SOFTWARE\\WOW6432Node\\Orlane\\Velmora");
inline const QString kLauncherKey =
    QStringLiteral("SOFTWARE\\WOW6432Node\\Orlane\\Launcher\\Installs\\4553");
inline const QString kInstallDirValue = QStringLiteral("InstallDir");

// The eight settings values, in the order they are written.
inline const QString kGameLocationValue = QStringLiteral("GameLocation");
inline const QString kModLocationValue = QStringLiteral("ModLocation");
inline const QStringList kSettingsValueOrder = {
    kGameLocationValue,        kModLocationValue,          QStringLiteral("ModLoader"),
    QStringLiteral("PrgPath"), QStringLiteral("Help"),     QStringLiteral("DPVer"),
    QStringLiteral("Company"), QStringLiteral("TimeStamp")};
inline const QString kModLoaderVersion = QStringLiteral("0.8.6");
inline const QString kCompanyText = QStringLiteral("Velmora Cindral Projekt");

inline const QString kSingleInstanceName = QStringLiteral("VelmoraProduction");
// Below the game directory: the file that identifies it, and the mods folder.
inline const QString kGameExecutable = QStringLiteral("Bin/Win64/Velmora.exe");
inline const QString kModsFolder = QStringLiteral("mods");
inline const QString kDataFolder = QStringLiteral("XMLP");
inline const QString kArchiveFileName = QStringLiteral("xmlp.zip");

inline const QString kStartErrorTitle = QStringLiteral("Programmstartfehler");
inline const QString kAbortTitle = QStringLiteral("Programmabbruch");
inline const QString kAlreadyRunningText =
    QStringLiteral("Das Programm <Velmora Cindral> läuft bereits!");
inline const QString kChooseGameText =
    QStringLiteral("Das Spiel Velmora kann nicht gefunden werden\rWählen Sie aus der Liste das "
                   "Hauptverzeichnis des Spiels "
                   "Velmora aus.\r");
inline const QString kNotGameDirText =
    QStringLiteral("Das angegebene Verzeichnis ist nicht das Spieleverzeichnis.\r\rStarten Sie das "
                   "Programm erneut und wählen "
                   "Sie\reinen anderen Pfad aus");

} // namespace velmora::app
