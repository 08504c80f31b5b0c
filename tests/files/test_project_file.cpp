// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/ProjectFile.h"
#include "model/BranchList.h"
#include "model/InstrumentText.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstring>
#include <memory>

namespace {

QByteArray utf16le(const QString& text) {
    return QByteArray(reinterpret_cast<const char*>(text.utf16()), text.size() * 2);
}

const QString head = u"\uFEFF<?xml version = \"1.0\" encoding = \"UNICODE\" standalone = \"yes\"?>\n"_qs;

// A branch as the file writes it; leaves can be dropped or replaced by the caller.
QString branchXml(const QString& name, const QString& extra = {}) {
    return u"\t\t<Branch>\n\t\t\t<Name>"_qs + name +
           u"</Name>\n"
           "\t\t\t<Valve_Index>7</Valve_Index>\n"
           "\t\t\t<Request_Flow>100.000000</Request_Flow>\n"_qs +
           extra + u"\t\t</Branch>\n"_qs;
}

QString projectXml(const QString& branches,
                   const QString& header = u"\t<Branch_Count>0</Branch_Count>\n"_qs) {
    return head + u"<Project>\n\t<Device>ZRV 10 User Software</Device>\n\t<Name>P</Name>\n"_qs + header +
           u"\t<Branches>\n"_qs + branches + u"\t</Branches>\n</Project>\n"_qs;
}

QString name(const std::uint8_t* field) {
    return DecodeInstrumentText(field, NameFieldSize, 0);
}

void setName(std::uint8_t* field, const char* text) {
    EncodeInstrumentText(QString::fromLatin1(text), field, NameFieldSize, 0);
}

bool sameBytes(const TProject& a, const TProject& b) {
    return std::memcmp(&a, &b, sizeof(TProject)) == 0;
}

class ProjectFile : public ::testing::Test {
protected:
    QTemporaryDir dir;
    std::unique_ptr<TProject> project = std::make_unique<TProject>();

    QString path(const char* file = "p.proj") const { return dir.filePath(QString::fromLatin1(file)); }
    QString put(const QByteArray& bytes, const char* file = "in.proj") {
        QFile f(path(file));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(bytes);
        return path(file);
    }
    QByteArray read(const QString& file) {
        QFile f(file);
        EXPECT_TRUE(f.open(QIODevice::ReadOnly));
        return f.readAll();
    }
    bool load(const QString& file, QString* error = nullptr) {
        return LoadProjectFile(file, *project, 0, QLocale::c(), error);
    }
    bool save(const QString& file, QString* error = nullptr) {
        return SaveProjectFile(file, *project, error);
    }

    // A project whose slots are all dirty, as an earlier project would leave them.
    void fillWithGarbage() {
        std::memset(project.get(), 0x5A, sizeof(TProject));
        project->Header.Branch_Count = 3;
    }
};

} // namespace

TEST_F(ProjectFile, SmallProjectHasTheExactBytes) {
    setName(project->Header.Name, "Haus & Hof");
    setName(project->Header.Last_Change, "2024-01-02");
    project->Header.State = StateLocked;
    project->Header.Branch_Count = 1;
    InitBranch(*project, 0);
    TBranch& b = project->Branches[0];
    setName(b.Name, "A>B");
    b.Valve_Index = 65535;
    b.Valve_Chksm = 4660;
    b.Request_Flow = 1.5;
    b.Initial_Pressure = -0.25;
    b.Final_Presetting = PresettingNone;
    ASSERT_TRUE(save(path()));
    const QString expected = head + u"<Project>\n"
                                    "\t<Device>ZRV 10 User Software</Device>\n"
                                    "\t<Version>0.2.4</Version>\n"
                                    "\t<Name>Haus & Hof</Name>\n"
                                    "\t<Last_Change>2024-01-02</Last_Change>\n"
                                    "\t<Branch_Count>1</Branch_Count>\n"
                                    "\t<State>128</State>\n"
                                    "\t<Branches>\n"
                                    "\t\t<Branch>\n"
                                    "\t\t\t<Name>A>B</Name>\n"
                                    "\t\t\t<Valve_Index>65535</Valve_Index>\n"
                                    "\t\t\t<Valve_Chksm>4660</Valve_Chksm>\n"
                                    "\t\t\t<Request_Flow>1.500000</Request_Flow>\n"
                                    "\t\t\t<Initial_Pressure>-0.250000</Initial_Pressure>\n"
                                    "\t\t\t<Initial_Presetting>-1000.000000</Initial_Presetting>\n"
                                    "\t\t\t<Initial_Flow>-9999999.000000</Initial_Flow>\n"
                                    "\t\t\t<Final_Presetting>-1.000000</Final_Presetting>\n"
                                    "\t\t\t<Final_Flow>-9999999.000000</Final_Flow>\n"
                                    "\t\t\t<Final_Pressure>-9999999.000000</Final_Pressure>\n"
                                    "\t\t</Branch>\n"
                                    "\t</Branches>\n"
                                    "</Project>\n"_qs;
    EXPECT_EQ(read(path()), utf16le(expected));
}

TEST_F(ProjectFile, RoundTripKeepsTextsNumbersAndMarkers) {
    setName(project->Header.Name, "Haus & Hof");
    project->Header.State = StateLocked;
    project->Header.Branch_Count = 2;
    for (int i = 0; i < 2; ++i)
        InitBranch(*project, i);
    setName(project->Branches[0].Name, "a<b>c&d");
    project->Branches[0].Valve_Index = 999;
    project->Branches[0].Valve_Chksm = 65000;
    project->Branches[0].Request_Flow = 1234.567891;
    project->Branches[1].Final_Presetting = PresettingNone;
    project->Branches[1].Final_Pressure = 2500.5;
    ASSERT_TRUE(save(path()));
    const auto saved = std::make_unique<TProject>(*project);

    fillWithGarbage();
    QString error;
    ASSERT_TRUE(load(path(), &error)) << error.toStdString();
    EXPECT_EQ(name(project->Header.Name), u"Haus & Hof"_qs);
    EXPECT_TRUE(project->isLocked());
    ASSERT_EQ(project->Header.Branch_Count, 2);
    for (int i = 0; i < 2; ++i) {
        const TBranch& got = project->Branches[i];
        const TBranch& want = saved->Branches[i];
        EXPECT_EQ(name(got.Name), name(want.Name));
        EXPECT_EQ(got.Valve_Index, want.Valve_Index);
        EXPECT_EQ(got.Valve_Chksm, want.Valve_Chksm);
        EXPECT_EQ(double(got.Initial_Presetting), PresettingEmpty);
        EXPECT_EQ(double(got.Initial_Flow), NoValue);
        EXPECT_EQ(got.Reserved, 0) << "not stored, so a clean slot";
    }
    EXPECT_EQ(double(project->Branches[1].Final_Presetting), PresettingNone);
    EXPECT_EQ(double(project->Branches[1].Final_Pressure), 2500.5);
    // Read back at single precision, so the next save writes the float's digits.
    EXPECT_EQ(double(project->Branches[0].Request_Flow), double(float(1234.567891)));
    EXPECT_TRUE(read(path()).contains(utf16le(u"<Request_Flow>1234.567891<"_qs)));
    ASSERT_TRUE(save(path("again.proj")));
    EXPECT_TRUE(read(path("again.proj")).contains(utf16le(u"<Request_Flow>1234.567871<"_qs)));
}

TEST_F(ProjectFile, HandWrittenFilesReadAsTheirElementsSay) {
    fillWithGarbage();
    const QString reordered = u"\t\t<Branch>\n"
                              "\t\t\t<Final_Pressure>3.000000</Final_Pressure>\n"
                              "\t\t\t<Request_Flow>100.000000</Request_Flow>\n"
                              "\t\t\t<Unknown>x</Unknown>\n"
                              "\t\t\t<Valve_Index>7</Valve_Index>\n"
                              "\t\t\t<Name>R</Name>\n"
                              "\t\t</Branch>\n"_qs;
    const QString file =
        projectXml(branchXml(u"A"_qs) + branchXml(u"x</y"_qs) + reordered,
                   u"\t<Name>Before</Name>\n\t<Branch_Count>5</Branch_Count>\n\t<State>128</State>\n"_qs);
    // A leaf before the first branch has nowhere to go.
    const QString withStray = QString(file).replace(
        u"\t<Branches>\n"_qs, u"\t<Branches>\n\t\t<x>\n\t\t\t<Name>S</Name>\n\t\t</x>\n"_qs);
    QString error;
    ASSERT_TRUE(load(put(utf16le(withStray)), &error)) << error.toStdString();

    EXPECT_EQ(project->Header.Branch_Count, 3) << "the Branch elements count, not Branch_Count";
    EXPECT_TRUE(project->isLocked());
    EXPECT_EQ(name(project->Header.Name), u"Before"_qs);
    EXPECT_EQ(name(project->Header.Last_Change), QString())
        << "missing header text is empty, not the old one";
    EXPECT_EQ(name(project->Branches[0].Name), u"A"_qs);
    EXPECT_EQ(name(project->Branches[1].Name), u"x"_qs) << "\"</\" ends the text";
    const TBranch& r = project->Branches[2];
    EXPECT_EQ(name(r.Name), u"R"_qs);
    EXPECT_EQ(r.Valve_Index, 7);
    EXPECT_EQ(double(r.Request_Flow), 100.0);
    EXPECT_EQ(double(r.Final_Pressure), 3.0);
    // Elements the file leaves out start from a clean slot, not from the garbage before.
    EXPECT_EQ(r.Valve_Chksm, 0);
    EXPECT_EQ(r.Reserved, 0);
    EXPECT_EQ(double(r.Initial_Flow), NoValue);
    EXPECT_EQ(double(r.Initial_Presetting), PresettingEmpty);
    EXPECT_EQ(std::memcmp(r.Name + 2, "\0\0\0\0", 4), 0);
}

TEST_F(ProjectFile, FloatTextsThatAreNoNumbersReadAsZero) {
    ASSERT_TRUE(load(put(utf16le(projectXml(branchXml(
        u"A"_qs, u"\t\t\t<Final_Flow>1,5</Final_Flow>\n\t\t\t<Initial_Flow>abc</Initial_Flow>\n"_qs))))));
    EXPECT_EQ(double(project->Branches[0].Final_Flow), 1.5);
    EXPECT_EQ(double(project->Branches[0].Initial_Flow), 0.0);
}

TEST_F(ProjectFile, BadFilesAreRefusedAndLeaveTheProject) {
    QString many;
    for (int i = 0; i < MaxBranches + 1; ++i)
        many += branchXml(QString::number(i));
    const QString good = projectXml(branchXml(u"A"_qs));
    struct Case {
        const char* What;
        QByteArray Bytes;
        const char* Reason;
    };
    const std::vector<Case> cases = {
        {"more branches than the instrument holds", utf16le(projectXml(many)), "more than 1500 branches"},
        {"Branch_Count not a number", utf16le(projectXml({}, u"\t<Branch_Count>1.5</Branch_Count>\n"_qs)),
         "\"Branch_Count\" holds \"1.5\", which is not a whole number"},
        {"State empty", utf16le(projectXml({}, u"\t<State></State>\n"_qs)), "\"State\" holds \"\""},
        {"Valve_Index letters",
         utf16le(projectXml(branchXml(u"A"_qs, u"\t\t\t<Valve_Index>x</Valve_Index>\n"_qs))),
         "\"Valve_Index\" holds \"x\""},
        {"Valve_Chksm in the last branch",
         utf16le(
             projectXml(branchXml(u"A"_qs) + branchXml(u"B"_qs, u"\t\t\t<Valve_Chksm>-</Valve_Chksm>\n"_qs))),
         "\"Valve_Chksm\" holds \"-\""},
        {"cut in the middle", utf16le(good).left(utf16le(good).size() / 2), "ends before the project does"},
        {"cut before the last line", utf16le(good.left(good.lastIndexOf(u"</Project>"_qs))),
         "ends before the project does"},
        {"no xml declaration", utf16le(u"\uFEFF<?XML?>\n"_qs) + utf16le(good.mid(head.size())),
         "not a project file"},
        {"8-bit text", good.toUtf8(), "not a project file"},
        {"only the declaration", utf16le(head), "holds no project"},
        {"empty", QByteArray(), "not a project file"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.What);
        fillWithGarbage();
        const auto before = std::make_unique<TProject>(*project);
        QString error;
        EXPECT_FALSE(load(put(c.Bytes), &error));
        EXPECT_TRUE(error.contains(QString::fromUtf8(c.Reason))) << error.toStdString();
        EXPECT_TRUE(error.contains(u"in.proj"_qs)) << error.toStdString();
        EXPECT_TRUE(sameBytes(*project, *before));
    }
    QString error;
    EXPECT_FALSE(load(path("missing.proj"), &error));
    EXPECT_TRUE(error.contains(u"missing.proj"_qs));
}

TEST_F(ProjectFile, FifteenHundredBranchesStillLoad) {
    QString all;
    for (int i = 0; i < MaxBranches; ++i)
        all += branchXml(QString::number(i));
    ASSERT_TRUE(load(put(utf16le(projectXml(all)))));
    EXPECT_EQ(project->branchCount(), MaxBranches);
    EXPECT_EQ(name(project->Branches[MaxBranches - 1].Name), u"1499"_qs);
}

TEST_F(ProjectFile, FailedSaveLeavesTheOldFile) {
    QString error;
    ASSERT_TRUE(QDir(dir.path()).mkdir(u"folder"_qs));
    EXPECT_FALSE(save(path("folder"), &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_FALSE(save(path("missing/p.proj"), &error));
    EXPECT_TRUE(error.contains(u"p.proj"_qs));

    const QString file = put("old bytes", "old.proj");
    QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::ExeOwner);
    const bool saved = save(file, &error);
    QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    if (saved)
        GTEST_SKIP() << "running with rights that ignore folder permissions";
    EXPECT_EQ(read(file), QByteArray("old bytes"));
}
