// SPDX-License-Identifier: GPL-3.0-or-later
#include "commands/DeviceTexts.h"

#include "commands/DriverFailureText.h"
#include "link/DeviceEvents.h"
#include "localisation/MessageCatalogue.h"
#include "model/NameQuestions.h"
#include "model/ProjectNames.h"
#include "model/ProjectRecords.h"

namespace {

// "3 (Riser 1)": a branch as the verification names it.
QString branchText(int number, const QString& name) {
    return QString::number(number) + QStringLiteral(" (") + name + u')';
}

QString percentText(const TMessageCatalogue& t, const QString& english, int percent) {
    return t.TranslateEllipsis(english) + QString::number(percent) + QStringLiteral(" %");
}

} // namespace

QString DeviceStatusText(const TDeviceStatus& s, const TMessageCatalogue& t) {
    using K = TDeviceStatusKind;
    switch (s.Kind) {
    case K::Clear:
        return {};
    case K::AnotherOperationRunning:
        return t.TranslateExclaim(QStringLiteral("Another device operation is running"));
    case K::NotResponding:
        return t.TranslateExclaim(QStringLiteral("Device is not responding"));
    case K::NotConnected:
        return t.TranslateExclaim(QStringLiteral("Device is not connected"));
    case K::Sending:
        return t.TranslateEllipsis(QStringLiteral("Sending"));
    case K::Connected:
        return t.Translate(QStringLiteral("Device is connected to USB interface"));
    case K::ReadingConfig:
        return t.TranslateEllipsis(QStringLiteral("Reading config"));
    case K::WritingConfig:
        return t.TranslateEllipsis(QStringLiteral("Writing config"));
    case K::ReadingProject:
        return t.TranslateEllipsis(QStringLiteral("Reading project"));
    case K::ReadingProjectBlocks:
        return percentText(t, QStringLiteral("Reading project"), s.Number);
    case K::WritingProject:
        return t.TranslateEllipsis(QStringLiteral("Writing project"));
    case K::WritingProjectBlocks:
        return percentText(t, QStringLiteral("Writing project"), s.Number);
    case K::VerifyingProject:
        return t.TranslateEllipsis(QStringLiteral("Verifying project"));
    case K::ProjectRead:
        return t.Translate(QStringLiteral("The project was successfully read"));
    case K::ProjectWritten:
        return t.Translate(QStringLiteral("The project was successfully written"));
    case K::ProjectWrittenNotVerified:
        return t.TranslateExclaim(QStringLiteral("The project was written but not verified"));
    case K::HeaderDiffers:
        return t.TranslateExclaim(QStringLiteral("Writing failed: the project header differs in the device"));
    case K::BranchDiffers:
        return t.TranslateFmt(QStringLiteral("Writing failed: branch %s differs in the device!"),
                              branchText(s.Number, s.Name));
    case K::ReadingRecords:
        return t.TranslateEllipsis(QStringLiteral("Reading records"));
    case K::RecordRead:
        return t.Translate(QStringLiteral("The record was successfully read"));
    case K::ReadingManufacturers:
        return t.TranslateEllipsis(QStringLiteral("Reading manufacturers"));
    case K::ManufacturerCount:
        return t.TranslateColon(QStringLiteral("Number of manufacturers")) + QString::number(s.Number);
    case K::ReadingManufacturerNames:
        return t.TranslateEllipsis(QStringLiteral("Reading manufacturer names"));
    case K::ManufacturersRead:
        return t.Translate(QStringLiteral("Manufacturers were read"));
    case K::ReadingValves:
        return t.TranslateEllipsis(QStringLiteral("Reading valves"));
    case K::ValveProgress:
        return t.TranslateSpaced(QStringLiteral("Reading Valves from device")) + QString::number(s.Number) +
               u'/' + QString::number(s.Total);
    case K::ValveCatalogueTooLarge:
        return t.TranslateExclaim(QStringLiteral("The valve catalogue in the device is too large"));
    }
    return {};
}

QString DeviceNoticeCaption(const TDeviceNotice& n, const TMessageCatalogue& t) {
    switch (n.Kind) {
    case TDeviceNoticeKind::NoProjects:
        return t.Translate(QStringLiteral("Projects"));
    case TDeviceNoticeKind::NoRecords:
        return t.Translate(QStringLiteral("Records"));
    case TDeviceNoticeKind::DriverFailure:
    case TDeviceNoticeKind::HeaderDiffers:
    case TDeviceNoticeKind::BranchDiffers:
        break;
    }
    return t.Translate(QStringLiteral("Error"));
}

QString DeviceNoticeText(const TDeviceNotice& n, const TMessageCatalogue& t) {
    switch (n.Kind) {
    case TDeviceNoticeKind::DriverFailure:
        return DriverFailureMessage(n.Failure, t);
    case TDeviceNoticeKind::NoProjects:
        return t.Translate(QStringLiteral("There are no projects in device"));
    case TDeviceNoticeKind::NoRecords:
        return t.Translate(QStringLiteral("There are no records in device"));
    case TDeviceNoticeKind::HeaderDiffers:
        return t.Translate(QStringLiteral("The project header in the device differs from the one "
                                          "written. Write the project again."));
    case TDeviceNoticeKind::BranchDiffers:
        return t.TranslateFmt(QStringLiteral("Branch %s in the device differs from the one written. "
                                             "Write the project again."),
                              branchText(n.Number, n.Name));
    }
    return {};
}

QString DeviceQuestionCaption(const TDeviceQuestion&, const TMessageCatalogue& t) {
    // Both questions come before a write.
    return t.Translate(QStringLiteral("Saving project"));
}

QString DeviceQuestionText(const TDeviceQuestion& q, const TMessageCatalogue& t) {
    switch (q.Kind) {
    case TDeviceQuestionKind::NamesNotHeld:
        return NamesQuestion(t, TNamesAt::Device, q.Names);
    case TDeviceQuestionKind::OverwriteProject:
        return t.TranslateFmt(QStringLiteral("Do you want to overwrite the project %s?"),
                              QStringLiteral(" ZRV 10"));
    }
    return {};
}

QString DeviceProjectTitle(const TProject& project) {
    return QStringLiteral("ZRV 10: ") + NameText(project, project.Header.Name);
}
