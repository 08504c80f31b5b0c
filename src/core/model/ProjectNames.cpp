// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/ProjectNames.h"

#include "model/InstrumentText.h"

namespace {

// Every table number the instrument knows; other numbers keep the low 8 bits and hold no more.
constexpr int TableCount = 12;

template <typename Visit> void forEachField(const TProject& project, Visit visit) {
    visit(project.Header.Name);
    for (int i = 0; i < project.branchCount(); ++i)
        visit(project.Branches[static_cast<std::size_t>(i)].Name);
}

void appendOnce(QStringList& list, const QString& text) {
    if (!list.contains(text))
        list.append(text);
}

} // namespace

QString NameText(const TProject& project, const std::uint8_t* field) {
    return DecodeInstrumentText(field, NameFieldSize, project.NamesCodePage);
}

void SetNameText(const TProject& project, const QString& text, std::uint8_t* field) {
    EncodeInstrumentText(text, field, NameFieldSize, project.NamesCodePage);
}

QStringList NamesNotHeld(const TProject& project, int codePage) {
    QStringList names;
    // Its own table keeps every byte as it is, even where it decodes a byte to a letter that its
    // encoder would write otherwise.
    if (codePage == project.NamesCodePage)
        return names;
    forEachField(project, [&](const std::uint8_t* field) {
        const QString text = NameText(project, field);
        if (!InstrumentTextHolds(text, NameFieldSize, codePage))
            appendOnce(names, text);
    });
    return names;
}

void TranscodeNames(TProject& project, int codePage) {
    // Only the text's own bytes: what lies after its end stays as the instrument left it.
    const auto move = [&](std::uint8_t* field) {
        const QString text = NameText(project, field);
        std::uint8_t moved[NameFieldSize];
        EncodeInstrumentText(text, moved, NameFieldSize, codePage);
        for (int i = 0; i < static_cast<int>(text.size()); ++i)
            field[i] = moved[i];
    };
    if (codePage != project.NamesCodePage) {
        move(project.Header.Name);
        move(project.Header.Last_Change);
        for (int i = 0; i < project.branchCount(); ++i)
            move(project.Branches[static_cast<std::size_t>(i)].Name);
    }
    project.NamesCodePage = codePage;
}

QStringList TextsNotHeld(const QStringList& texts, int codePage) {
    QStringList missing;
    for (const QString& text : texts)
        if (!InstrumentTextHolds(text, NameFieldSize, codePage))
            appendOnce(missing, text);
    return missing;
}

int TableHoldingAll(const QStringList& texts, int preferred) {
    // When none holds them all, the one that loses the fewest names.
    int best = preferred;
    qsizetype fewest = TextsNotHeld(texts, preferred).size();
    for (int table = 0; table < TableCount && fewest > 0; ++table) {
        const qsizetype lost = TextsNotHeld(texts, table).size();
        if (lost < fewest) {
            best = table;
            fewest = lost;
        }
    }
    return best;
}

bool NameBreaksProjectFile(const QString& text) {
    return text.contains(QLatin1String("</"));
}

QStringList NamesBreakingProjectFile(const TProject& project) {
    QStringList names;
    forEachField(project, [&](const std::uint8_t* field) {
        const QString text = NameText(project, field);
        if (NameBreaksProjectFile(text))
            appendOnce(names, text);
    });
    return names;
}
