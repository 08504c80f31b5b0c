// SPDX-License-Identifier: GPL-3.0-or-later
#include "commands/DriverFailureText.h"

#include "link/DriverFailure.h"
#include "localisation/MessageCatalogue.h"

#include <QDir>

QString DriverFailureMessage(const TDriverFailure& failure, const TMessageCatalogue& t) {
    const QString library = QDir::toNativeSeparators(failure.Library);
    switch (failure.Kind) {
    case TDriverFailureKind::LibraryMissing:
        return t.TranslateFmt(QStringLiteral("The driver library %s is missing. Reinstall the program."),
                              library);
    case TDriverFailureKind::LibraryUnloadable:
        return t.TranslateFmt(
                   QStringLiteral("The driver library %s could not be loaded. Reinstall the program."),
                   library) +
               QStringLiteral("\n\n") + failure.Detail;
    case TDriverFailureKind::LibraryIncomplete:
        return t.TranslateFmt(QStringLiteral("The file %s is not a driver library of the instrument."),
                              library) +
               QStringLiteral(" (") + failure.Detail + u')';
    case TDriverFailureKind::NotFound:
        return t.Translate(
            QStringLiteral("No instrument was found. Connect the instrument with its USB cable "
                           "and switch it on."));
    case TDriverFailureKind::NoPermission:
        return t.Translate(
            QStringLiteral("The instrument was found, but you have no permission to use it. "
                           "Install the udev rule of the program as the README describes under "
                           "Connecting the instrument, then replug the instrument."));
    case TDriverFailureKind::Busy:
        return t.Translate(
            QStringLiteral("The instrument is in use by another program. Close that program and try again."));
    case TDriverFailureKind::Disconnected:
        return t.Translate(QStringLiteral("The connection to the instrument was lost. Check the cable, "
                                          "reconnect the instrument and try again."));
    case TDriverFailureKind::None:
    case TDriverFailureKind::TimedOut:
    case TDriverFailureKind::Stalled:
    case TDriverFailureKind::TransferFailed:
    case TDriverFailureKind::BadArgument:
        break;
    }
    return {};
}
