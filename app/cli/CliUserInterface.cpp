// SPDX-License-Identifier: GPL-3.0-or-later
#include "CliUserInterface.h"

#include "Platform.h"

#include <cstdio>
#include <iostream>
#include <string>

TCliUserInterface::TCliUserInterface(QTextStream& out, QTextStream& err, bool assumeYes)
    : m_out(out), m_err(err), m_assumeYes(assumeYes) {}

void TCliUserInterface::setStatus(const QString& text) {
    if (!m_pending.isEmpty())
        m_out << m_pending << Qt::endl;
    m_pending = text;
}

void TCliUserInterface::finish(bool succeeded) {
    if (!m_pending.isEmpty())
        (succeeded ? m_out : m_err) << m_pending << Qt::endl;
    m_pending.clear();
}

void TCliUserInterface::showMessage(const QString& caption, const QString& text) {
    setStatus(QString());
    m_err << caption << ": " << text << Qt::endl;
}

IUserInterface::Answer TCliUserInterface::ask(const QString& caption, const QString& text) {
    if (m_assumeYes)
        return Answer::Yes;
    if (!isInteractive())
        return Answer::No;
    setStatus(QString());
    m_err << caption << ": " << text << " [y/N] " << Qt::flush;
    std::string line;
    if (!std::getline(std::cin, line))
        return Answer::No;
    return line == "y" || line == "Y" || line == "yes" ? Answer::Yes : Answer::No;
}

bool TCliUserInterface::isInteractive() {
    return StandardInputIsTerminal();
}
