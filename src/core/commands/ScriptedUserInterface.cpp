// SPDX-License-Identifier: GPL-3.0-or-later
#include "commands/ScriptedUserInterface.h"

void TScriptedUserInterface::setStatus(const QString& text) {
    Status = text;
    Log.append({QStringLiteral("status"), {}, text});
}

void TScriptedUserInterface::showMessage(const QString& caption, const QString& text) {
    Log.append({QStringLiteral("message"), caption, text});
}

IUserInterface::Answer TScriptedUserInterface::ask(const QString& caption, const QString& text) {
    Log.append({QStringLiteral("ask"), caption, text});
    return Answers.isEmpty() ? Answer::No : Answers.takeFirst();
}

IUserInterface::Answer TScriptedUserInterface::askDefaultNo(const QString& caption, const QString& text) {
    const Answer answer = ask(caption, text);
    Log.last().DefaultNo = true;
    return answer;
}

QString TScriptedUserInterface::chooseFileToOpen(const TFileDialogOptions& options) {
    Log.append({QStringLiteral("open"), options.Title, options.Filter});
    DialogStarts << options.InitialPath;
    return FilesToOpen.isEmpty() ? QString() : FilesToOpen.takeFirst();
}

QString TScriptedUserInterface::chooseFileToSave(const TFileDialogOptions& options) {
    Log.append({QStringLiteral("save"), options.Title, options.Filter});
    DialogStarts << options.InitialPath;
    return FilesToSave.isEmpty() ? QString() : FilesToSave.takeFirst();
}

std::optional<QString> TScriptedUserInterface::inputText(const QString& caption, const QString& prompt,
                                                         const QString& initial) {
    Log.append({QStringLiteral("input"), caption, prompt});
    if (Inputs.isEmpty())
        return std::nullopt;
    std::optional<QString> answer = Inputs.takeFirst();
    Q_UNUSED(initial);
    return answer;
}

QStringList TScriptedUserInterface::messages() const {
    QStringList out;
    for (const Shown& s : Log)
        if (s.Kind == QLatin1String("message"))
            out << s.Text;
    return out;
}
