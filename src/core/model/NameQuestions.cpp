// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/NameQuestions.h"

#include "model/Translator.h"

namespace {

QString quoted(const QString& name) {
    return u'"' + name + u'"';
}

QString withArgument(const QString& translated, const QString& argument) {
    QString text = translated;
    const qsizetype at = text.indexOf(QLatin1String("%s"));
    if (at >= 0)
        text.replace(at, 2, argument);
    return text;
}

} // namespace

QString NamesQuestion(const ITranslator& t, TNamesAt where, const QStringList& names) {
    QString sentence;
    QString question;
    switch (where) {
    case TNamesAt::OpenedFile:
        sentence = t.Translate(
            QStringLiteral("No character table of the device can hold every character of these names:"));
        question = t.Translate(
            QStringLiteral("Characters the table cannot hold will change. Open the project anyway?"));
        break;
    case TNamesAt::Device:
        sentence = t.Translate(
            QStringLiteral("The character table of the device cannot hold every character of these names:"));
        question =
            t.Translate(QStringLiteral("The device would show them changed. Write the project anyway?"));
        break;
    case TNamesAt::ProjectFile:
        sentence = t.Translate(QStringLiteral("These names contain \"</\":"));
        question = t.Translate(QStringLiteral(
            "A project file cuts a name there when it is opened again. Save the project anyway?"));
        break;
    }
    // A whole project's names would not fit on the screen.
    constexpr qsizetype MostShown = 12;
    QStringList lines;
    for (qsizetype i = 0; i < names.size() && i < MostShown; ++i)
        lines.append(quoted(names[i]));
    if (names.size() > MostShown)
        lines.append(withArgument(t.Translate(QStringLiteral("and %s more")),
                                  QString::number(names.size() - MostShown)));
    return sentence + QStringLiteral("\n\n") + lines.join(u'\n') + QStringLiteral("\n\n") + question;
}

QString NameBreaksProjectFileMessage(const ITranslator& t, const QString& name) {
    return withArgument(
        t.Translate(QStringLiteral("The name %s contains \"</\", which a project file cannot keep.")),
        quoted(name));
}
