// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "document/ProjectDocument.h"
#include "files/FileHistory.h"
#include "files/ProcessPaths.h"
#include "files/Settings.h"
#include "link/DriverLibrary.h"
#include "link/DeviceConfig.h"
#include "link/LinkScope.h"
#include "localisation/MessageCatalogue.h"
#include "model/ProjectRecords.h"
#include "model/Units.h"
#include "model/ValveCatalogue.h"
#include "model/RecordModel.h"

#include <QDir>
#include <QFileInfo>

#include <memory>

// The single instances of the program, owned by one object and passed by reference to the windows
// and operations; a test builds its own.
struct TApplicationState {
    // programFilePath: the executable; the settings file, the language folder and the driver library
    // lie beside it. cacheDirectory: where the valve cache files are.
    TApplicationState(const QString& programFilePath, const QString& cacheDirectory, const QLocale& locale)
        : TApplicationState(programFilePath, cacheDirectory, SettingsPathForProgram(programFilePath),
                            DefaultDriverPath(QFileInfo(programFilePath).absolutePath()),
                            QFileInfo(programFilePath).absolutePath() + QStringLiteral("/language"), locale) {}

    // The program as started: every place from the resolver, the driver as the settings choose it.
    TApplicationState(const TApplicationPaths& paths, const QString& programFilePath, const QLocale& locale)
        : TApplicationState(programFilePath, qtPath(paths.DataDir), qtPath(paths.SettingsFile),
                            ChosenDriverFile(paths),
                            qtPath(paths.LanguageDir), locale) {}

    TApplicationState(const QString& programFilePath, const QString& cacheDirectory, const QString& settingsPath,
                      const QString& driverPath, const QString& languageDirectory, const QLocale& locale)
        : ProgramFilePath(programFilePath), ProgramDir(QFileInfo(programFilePath).absolutePath()),
          CacheDir(cacheDirectory), SettingsPath(settingsPath), DriverPath(driverPath),
          Messages(languageDirectory + QLatin1Char('/'), locale) {
        Units.Locale = locale;
    }

    QString ProgramFilePath;
    QString ProgramDir;
    QString CacheDir;
    QString SettingsPath;
    QString DriverPath;

    // The open project with its file name and flags; Document.project() is its read-only view, and
    // every change is one of the document's operations, so that the windows follow it.
    TProjectDocument Document;
    // Large fixed tables live on the heap.
    std::unique_ptr<TValveCatalogue> Catalogue = std::make_unique<TValveCatalogue>();
    TValveSelection Valve;
    // The instrument's configuration copy; its InstrumentCodePage converts every instrument text.
    TDeviceConfig DeviceConfig{};
    TRecordStore Records;
    TSettings Settings;
    TUnits Units;
    TMessageCatalogue Messages;
    TFileHistory History;
    TLinkGuard LinkGuard;

    // Kept in the settings file at once, so that a second window or a crash loses none of it.
    void saveHistory() const { SaveFileHistory(SettingsPath, History, nullptr); }
    void remember(TRecentFiles& list, const QString& path) {
        list.add(path);
        saveHistory();
    }

    int codePage() const { return DeviceConfig.InstrumentCodePage; }
};
