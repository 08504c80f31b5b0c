// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

struct TDeviceNotice;
struct TDeviceQuestion;
struct TDeviceStatus;
struct TProject;
class TMessageCatalogue;

// The words of what a device operation reports, in the current language.

// The status line; empty for Clear.
QString DeviceStatusText(const TDeviceStatus& status, const TMessageCatalogue& catalogue);

// A message box's caption and text. The text is empty for a driver failure the status line already
// explains: no box is shown then.
QString DeviceNoticeCaption(const TDeviceNotice& notice, const TMessageCatalogue& catalogue);
QString DeviceNoticeText(const TDeviceNotice& notice, const TMessageCatalogue& catalogue);

// A question's caption and text.
QString DeviceQuestionCaption(const TDeviceQuestion& question, const TMessageCatalogue& catalogue);
QString DeviceQuestionText(const TDeviceQuestion& question, const TMessageCatalogue& catalogue);

// "ZRV 10: " and the project name, the title of a project that came from or went to the instrument.
QString DeviceProjectTitle(const TProject& project);
