// SPDX-License-Identifier: GPL-3.0-or-later
#include "document/ProjectDocument.h"
#include "commands/ProjectCommands.h"
#include "files/ProjectFile.h"
#include "model/Translator.h"
#include "model/InstrumentText.h"
#include "model/NameQuestions.h"
#include "model/ProjectNames.h"
#include "commands/ScriptedUserInterface.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstring>

namespace {

using Answer = IUserInterface::Answer;

const QString CzechFile = QStringLiteral(ZRV_FIXTURES "/files/czech.proj");

QByteArray bytesOf(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QStringList namesOf(const TProject& p) {
    QStringList names{NameText(p, p.Header.Name)};
    for (int i = 0; i < p.branchCount(); ++i)
        names << NameText(p, p.Branches[i].Name);
    return names;
}

// A project file whose project is named `name` and has one branch per further name.
QByteArray projectFileWith(const QStringList& names) {
    QString xml = u"\uFEFF<?xml version = \"1.0\" encoding = \"UNICODE\" standalone = \"yes\"?>\n<Project>\n"
                  "\t<Name>"_qs +
                  names.first() + u"</Name>\n\t<Branches>\n"_qs;
    for (qsizetype i = 1; i < names.size(); ++i)
        xml += u"\t\t<Branch>\n\t\t\t<Name>"_qs + names[i] + u"</Name>\n\t\t</Branch>\n"_qs;
    xml += u"\t</Branches>\n</Project>\n"_qs;
    return QByteArray(reinterpret_cast<const char*>(xml.utf16()), xml.size() * 2);
}

class ProjectNames : public ::testing::Test {
protected:
    QTemporaryDir dir;
    TProjectDocument document;
    TScriptedUserInterface ui;
    TIdentityTranslator translator;
    // English: the table in force is the Latin one, which has no Czech letters.
    TProjectCommandContext context{document, ui, translator, 3, QLocale::c(), [] { return true; }};

    QString put(const QByteArray& bytes, const char* file = "in.proj") {
        const QString path = dir.filePath(QString::fromLatin1(file));
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        return path;
    }
    QStringList questions() const {
        QStringList texts;
        for (const auto& shown : ui.Log)
            if (shown.Kind == QLatin1String("ask"))
                texts << shown.Text;
        return texts;
    }
};

TEST_F(ProjectNames, CzechNamesOpenedInEnglishSaveByteForByte) {
    ASSERT_EQ(OpenProjectPathCommand(context, CzechFile), TOpenResult::Opened);
    const QStringList czech{u"Škola Čechy"_qs, u"Kotelna Žižkov"_qs, u"Přípojka ů"_qs};
    EXPECT_EQ(namesOf(document.project()), czech);
    EXPECT_TRUE(questions().isEmpty()) << "a table that holds them all asks nothing";

    // The table in force changes (another language, a read of the instrument's configuration).
    context.CodePage = 11;
    EXPECT_EQ(namesOf(document.project()), czech);
    ui.FilesToSave = {dir.filePath(u"saved.proj"_qs)};
    ASSERT_TRUE(SaveProjectAsCommand(context));
    EXPECT_EQ(bytesOf(dir.filePath(u"saved.proj"_qs)), bytesOf(CzechFile));
}

// The names go into the table in force whenever it holds them (the bytes of every earlier version),
// otherwise into one that does.
TEST_F(ProjectNames, OpenedNamesTakeTheTableInForceWhenItHoldsThem) {
    const struct {
        int inForce;
        QStringList names;
        int table;
    } cases[] = {
        {3, {u"Café Müller"_qs, u"Riser 1"_qs}, 3},
        {0, {u"Škola"_qs, u"Café"_qs}, 0},
        {3, {u"Škola"_qs, u"Café"_qs}, 0},
        {3, {u"Насос"_qs, u"Riser 1"_qs}, 11},
        {11, {u"Riser"_qs}, 11},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.names.join(u", "_qs).toStdString());
        TProject project;
        QStringList notHeld{u"unset"_qs};
        ASSERT_TRUE(LoadProjectBytes(projectFileWith(c.names), u"in"_qs, project, c.inForce, QLocale::c(),
                                     nullptr, &notHeld));
        EXPECT_EQ(project.NamesCodePage, c.table);
        EXPECT_EQ(namesOf(project), c.names);
        EXPECT_TRUE(notHeld.isEmpty());
        std::uint8_t expected[NameFieldSize];
        EncodeInstrumentText(c.names.first(), expected, NameFieldSize, c.table);
        EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(project.Header.Name), NameFieldSize),
                  QByteArray(reinterpret_cast<const char*>(expected), NameFieldSize));
    }
}

TEST_F(ProjectNames, NamesThatNoTableHoldsAreListedBeforeTheOpen) {
    const QString mixed = put(projectFileWith({u"Škola"_qs, u"Насос"_qs, u"Café"_qs}));
    ui.Answers = {Answer::No};
    EXPECT_EQ(OpenProjectPathCommand(context, mixed), TOpenResult::Cancelled);
    ASSERT_EQ(questions().size(), 1);
    EXPECT_TRUE(questions().first().contains(u"\"Насос\""_qs)) << questions().first().toStdString();
    EXPECT_FALSE(questions().first().contains(u"Škola"_qs));
    EXPECT_TRUE(ui.Log.last().DefaultNo);
    EXPECT_TRUE(document.state().ProjectFileName.isEmpty()) << "nothing replaced";

    ui.Answers = {Answer::Yes};
    EXPECT_EQ(OpenProjectPathCommand(context, mixed), TOpenResult::Opened);
    EXPECT_EQ(NameText(document.project(), document.project().Header.Name), u"Škola"_qs);
}

// The file format ends a name at "</": a name read from the instrument that holds it is saved only
// after a question.
TEST_F(ProjectNames, SavingANameWithTheEndOfAnElementAsksFirst) {
    TProject project;
    project.Header.Branch_Count = 1;
    std::memcpy(project.Branches[0].Name, "Pump </ 2", 10);
    document.replaceFromInstrument(project, u"ZRV 10: "_qs);
    const QString target = dir.filePath(u"cut.proj"_qs);
    ui.FilesToSave = {target};
    ui.Answers = {Answer::No};
    EXPECT_FALSE(SaveProjectAsCommand(context));
    EXPECT_FALSE(QFile::exists(target));
    ASSERT_EQ(questions().size(), 1);
    EXPECT_TRUE(questions().first().contains(u"\"Pump </ 2\""_qs));

    ui.FilesToSave = {target};
    ui.Answers = {Answer::Yes};
    EXPECT_TRUE(SaveProjectAsCommand(context));
    EXPECT_TRUE(QFile::exists(target));
}

// A whole project's names do not make a message box taller than the screen.
TEST(NameQuestions, ALongListShowsTwelveNamesAndHowManyMore) {
    QStringList names;
    for (int i = 1; i <= 14; ++i)
        names << QStringLiteral("Branch %1").arg(i);
    const QString text = NamesQuestion(TIdentityTranslator(), TNamesAt::Device, names);
    EXPECT_TRUE(text.contains(u"\"Branch 12\"\nand 2 more\n"_qs)) << text.toStdString();
    EXPECT_FALSE(text.contains(u"Branch 13"_qs));
}

} // namespace
