// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "link/DriverFailure.h"

#include <QString>
#include <QStringList>

#include <utility>

// What a device operation has to tell the status line, in the order it happens. The numbers are
// what the text needs; the commands word it (DeviceStatusText).
enum class TDeviceStatusKind {
    Clear, // the status line goes empty
    AnotherOperationRunning,
    NotResponding, // an instrument was counted, but the exchange failed
    NotConnected,  // no instrument was counted
    Sending,
    Connected,
    ReadingConfig,
    WritingConfig,
    ReadingProject,
    ReadingProjectBlocks, // Number: percent done
    WritingProject,
    WritingProjectBlocks, // Number: percent done
    VerifyingProject,
    ProjectRead,
    ProjectWritten,
    ProjectWrittenNotVerified, // the check was stopped after a complete write
    HeaderDiffers,
    BranchDiffers, // Number: the branch's number from 1, Name: its name
    ReadingRecords,
    RecordRead,
    ReadingManufacturers,
    ManufacturerCount, // Number: manufacturers in the instrument
    ReadingManufacturerNames,
    ManufacturersRead,
    ReadingValves,
    ValveProgress, // Number of Total valves read
    ValveCatalogueTooLarge,
};

struct TDeviceStatus {
    TDeviceStatus(TDeviceStatusKind kind, int number = 0, int total = 0, QString name = {})
        : Kind(kind), Number(number), Total(total), Name(std::move(name)) {}

    TDeviceStatusKind Kind;
    int Number = 0;
    int Total = 0;
    QString Name;
};

// What a device operation has to tell in a message box.
enum class TDeviceNoticeKind {
    DriverFailure, // Failure: why the link failed; no box when the status line says enough
    NoProjects,
    NoRecords,
    HeaderDiffers,
    BranchDiffers, // Number: the branch's number from 1, Name: its name
};

struct TDeviceNotice {
    TDeviceNotice(TDeviceNoticeKind kind, TDriverFailure failure = {}, int number = 0, QString name = {})
        : Kind(kind), Failure(std::move(failure)), Number(number), Name(std::move(name)) {}

    TDeviceNoticeKind Kind;
    TDriverFailure Failure;
    int Number = 0;
    QString Name;
};

// What a device operation has to ask before it changes the instrument.
enum class TDeviceQuestionKind {
    NamesNotHeld,     // Names: those the instrument's character table cannot hold; No is the default
    OverwriteProject, // Yes and No
};

struct TDeviceQuestion {
    TDeviceQuestion(TDeviceQuestionKind kind, QStringList names = {}) : Kind(kind), Names(std::move(names)) {}

    TDeviceQuestionKind Kind;
    QStringList Names;
};

// Where a device operation sends what happens: the window and the companion word it through the
// commands (TDeviceUserInterface), a test may record the outcomes as they are.
class IDeviceEvents {
public:
    virtual ~IDeviceEvents() = default;
    virtual void status(const TDeviceStatus& status) = 0;
    virtual void notice(const TDeviceNotice& notice) = 0;
    // True for Yes; No and a dismissed question are false.
    virtual bool confirm(const TDeviceQuestion& question) = 0;
    // Lets the window repaint between the blocks of a long transfer.
    virtual void processPendingEvents() = 0;
};
