// SPDX-License-Identifier: GPL-3.0-or-later
#include "commands/DeviceUserInterface.h"

#include "commands/DeviceTexts.h"
#include "commands/UserInterface.h"

void TDeviceUserInterface::status(const TDeviceStatus& status) {
    m_ui.setStatus(DeviceStatusText(status, m_catalogue));
}

void TDeviceUserInterface::notice(const TDeviceNotice& notice) {
    const QString text = DeviceNoticeText(notice, m_catalogue);
    if (text.isEmpty())
        return;
    // A failure's box replaces the progress text while it is up; a terminal then prints box and
    // verdict in order.
    if (notice.Kind == TDeviceNoticeKind::DriverFailure)
        m_ui.setStatus(QString());
    m_ui.showMessage(DeviceNoticeCaption(notice, m_catalogue), text);
}

bool TDeviceUserInterface::confirm(const TDeviceQuestion& question) {
    const QString caption = DeviceQuestionCaption(question, m_catalogue);
    const QString text = DeviceQuestionText(question, m_catalogue);
    // Writing names the instrument would show changed is a loss: a stray Return must not agree to it.
    const IUserInterface::Answer answer = question.Kind == TDeviceQuestionKind::NamesNotHeld
                                              ? m_ui.askDefaultNo(caption, text)
                                              : m_ui.ask(caption, text);
    return answer == IUserInterface::Answer::Yes;
}

void TDeviceUserInterface::processPendingEvents() {
    m_ui.processPendingEvents();
}
