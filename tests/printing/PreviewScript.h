// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "printing/PrintPreview.h"

#include <QPushButton>
#include <QTimer>

#include <functional>

// Answers the modal preview the way a user would: once it is on screen, notes what it shows and
// runs `answer` on it (a click, a key). Does nothing while the preview stays hidden.
class TPreviewScript {
public:
    TPreviewScript(TTiskF& preview, std::function<void(TTiskF&)> answer)
        : m_preview(preview), m_answer(std::move(answer)) {
        m_timer.setInterval(5);
        QObject::connect(&m_timer, &QTimer::timeout, [this] { poll(); });
        m_timer.start();
    }

    static std::function<void(TTiskF&)> click(const char* button) {
        return [button](TTiskF& preview) { preview.findChild<QPushButton*>(QLatin1String(button))->click(); };
    }

    int Shown = 0;
    QStringList Lines;
    QString Caption;

private:
    void poll() {
        if (!m_preview.isVisible())
            return;
        ++Shown;
        Lines = m_preview.reportLines();
        Caption = m_preview.windowTitle();
        m_answer(m_preview);
    }

    TTiskF& m_preview;
    std::function<void(TTiskF&)> m_answer;
    QTimer m_timer;
};
