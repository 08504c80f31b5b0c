// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/ProjectFile.h"

#include "files/ConversionError.h"
#include "files/XmlLoad.h"
#include "files/XmlWrite.h"
#include "model/BranchList.h"
#include "model/ProjectNames.h"

#include <QDir>

#include <cstring>
#include <memory>
#include <vector>

namespace {

const QString DeviceText = QStringLiteral("ZRV 10 User Software");
const QString VersionText = QStringLiteral("0.2.4");

QString readError(const QString& path, const QString& reason) {
    return QStringLiteral("Cannot read %1: %2").arg(QDir::toNativeSeparators(path), reason);
}

bool fail(QString* error, const QString& text) {
    if (error)
        *error = text;
    return false;
}

// Element names, built once per call rather than per element.
struct TNames {
    QString Project = QStringLiteral("Project");
    QString Device = QStringLiteral("Device");
    QString Version = QStringLiteral("Version");
    QString Name = QStringLiteral("Name");
    QString LastChange = QStringLiteral("Last_Change");
    QString BranchCount = QStringLiteral("Branch_Count");
    QString State = QStringLiteral("State");
    QString Branches = QStringLiteral("Branches");
    QString Branch = QStringLiteral("Branch");
    QString ValveIndex = QStringLiteral("Valve_Index");
    QString ValveChksm = QStringLiteral("Valve_Chksm");
    QString RequestFlow = QStringLiteral("Request_Flow");
    QString InitialPressure = QStringLiteral("Initial_Pressure");
    QString InitialPresetting = QStringLiteral("Initial_Presetting");
    QString InitialFlow = QStringLiteral("Initial_Flow");
    QString FinalPresetting = QStringLiteral("Final_Presetting");
    QString FinalFlow = QStringLiteral("Final_Flow");
    QString FinalPressure = QStringLiteral("Final_Pressure");
};

// The names as the file gives them; they are stored once the table that holds them all is known.
struct TNameTexts {
    QString Name;
    QString LastChange;
    std::vector<QString> Branches;

    QStringList names() const {
        QStringList list{Name};
        for (const QString& b : Branches)
            list.append(b);
        return list;
    }
};

void readBranchLeaf(const CXmlLoad& xml, const TNames& n, TBranch& b, QString& name) {
    if (xml.GetText(n.Name, name))
        return;
    // Packed fields cannot bind to references: read into locals.
    std::uint16_t word = 0;
    if (xml.GetShort(n.ValveIndex, word)) {
        b.Valve_Index = word;
        return;
    }
    if (xml.GetShort(n.ValveChksm, word)) {
        b.Valve_Chksm = word;
        return;
    }
    double value = 0;
    if (xml.GetDouble(n.RequestFlow, value))
        b.Request_Flow = value;
    else if (xml.GetDouble(n.InitialPressure, value))
        b.Initial_Pressure = value;
    else if (xml.GetDouble(n.InitialPresetting, value))
        b.Initial_Presetting = value;
    else if (xml.GetDouble(n.InitialFlow, value))
        b.Initial_Flow = value;
    else if (xml.GetDouble(n.FinalPresetting, value))
        b.Final_Presetting = value;
    else if (xml.GetDouble(n.FinalFlow, value))
        b.Final_Flow = value;
    else if (xml.GetDouble(n.FinalPressure, value))
        b.Final_Pressure = value;
}

void readHeaderLeaf(const CXmlLoad& xml, const TNames& n, TProjectHeader& h, TNameTexts& texts) {
    std::int16_t count = 0;
    std::uint16_t state = 0;
    if (xml.GetText(n.Name, texts.Name) || xml.GetText(n.LastChange, texts.LastChange))
        return;
    if (xml.GetShort(n.BranchCount, count))
        h.Branch_Count = count; // checked for a whole number, then replaced by the elements' count
    else if (xml.GetShort(n.State, state))
        h.State = state;
}

// Nothing of an earlier project may show through a field the file leaves out.
void cleanSlot(TProject& project, int index) {
    std::memset(&project.Branches[index], 0, sizeof(TBranch));
    InitBranch(project, index);
}

} // namespace

bool SaveProjectFile(const QString& path, const TProject& project, QString* error) {
    const TNames n;
    CXmlWrite xml;
    if (!xml.Open(path))
        return fail(
            error,
            QStringLiteral("Cannot write %1: the folder does not exist").arg(QDir::toNativeSeparators(path)));
    const TProjectHeader& h = project.Header;
    xml.WriteHeader();
    xml.BeginElement(n.Project);
    xml.WriteText(n.Device, DeviceText);
    xml.WriteText(n.Version, VersionText);
    xml.WriteText(n.Name, NameText(project, h.Name));
    xml.WriteText(n.LastChange, NameText(project, h.Last_Change));
    xml.WriteShort(n.BranchCount, h.Branch_Count);
    xml.WriteShort(n.State, static_cast<std::int16_t>(h.State));
    xml.BeginElement(n.Branches);
    for (int i = 0; i < project.branchCount(); ++i) {
        const TBranch& b = project.Branches[i];
        xml.BeginElement(n.Branch);
        xml.WriteText(n.Name, NameText(project, b.Name));
        xml.WriteText(n.ValveIndex, QString::number(b.Valve_Index));
        xml.WriteText(n.ValveChksm, QString::number(b.Valve_Chksm));
        xml.WriteDouble(n.RequestFlow, b.Request_Flow);
        xml.WriteDouble(n.InitialPressure, b.Initial_Pressure);
        xml.WriteDouble(n.InitialPresetting, b.Initial_Presetting);
        xml.WriteDouble(n.InitialFlow, b.Initial_Flow);
        xml.WriteDouble(n.FinalPresetting, b.Final_Presetting);
        xml.WriteDouble(n.FinalFlow, b.Final_Flow);
        xml.WriteDouble(n.FinalPressure, b.Final_Pressure);
        xml.EndElement(n.Branch);
    }
    xml.EndElement(n.Branches);
    xml.EndElement(n.Project);
    return xml.Close(error);
}

bool LoadProjectFile(const QString& path, TProject& project, int codePage, const QLocale& locale,
                     QString* error, QStringList* notHeld) {
    const std::optional<QByteArray> bytes = CXmlLoad::ReadFile(path, error);
    return bytes && LoadProjectBytes(*bytes, path, project, codePage, locale, error, notHeld);
}

bool LoadProjectBytes(const QByteArray& bytes, const QString& path, TProject& project, int codePage,
                      const QLocale& locale, QString* error, QStringList* notHeld) {
    CXmlLoad xml(locale);
    xml.OpenBytes(bytes);
    if (!xml.CheckHeader()) {
        xml.Close();
        return fail(error, readError(path, QStringLiteral("it is not a project file")));
    }

    // Slots beyond the file's branches keep what they held, as they do in memory.
    auto fresh = std::make_unique<TProject>(project);
    TProjectHeader& h = fresh->Header;
    std::memset(h.Name, 0, sizeof h.Name);
    std::memset(h.Last_Change, 0, sizeof h.Last_Change);
    h.State = 0;
    TNameTexts texts;
    const TNames n;
    int branch = -1;
    bool entered = false;
    try {
        std::int32_t depth = 0;
        do {
            depth = xml.ReadTag();
            entered = entered || depth > 0;
            if (xml.Name().isEmpty()) // indentation and line ends
                continue;
            if (depth == 1) {
                readHeaderLeaf(xml, n, h, texts);
            } else if (depth == 3) {
                if (xml.Name() == n.Branch) {
                    if (branch + 1 >= MaxBranches) {
                        xml.Close();
                        return fail(
                            error,
                            readError(path,
                                      QStringLiteral("it holds more than %1 branches").arg(MaxBranches)));
                    }
                    cleanSlot(*fresh, ++branch);
                    texts.Branches.emplace_back();
                } else if (branch >= 0) {
                    readBranchLeaf(xml, n, fresh->Branches[branch], texts.Branches.back());
                }
            }
        } while (depth != 0 && !xml.AtEnd());
        if (!entered) {
            xml.Close();
            return fail(error, readError(path, QStringLiteral("it holds no project")));
        }
        if (depth != 0) {
            xml.Close();
            return fail(error, readError(path, QStringLiteral("the file ends before the project does")));
        }
    } catch (const TConversionError& e) {
        xml.Close();
        return fail(error, readError(path, QString::fromStdString(e.what())));
    }
    xml.Close();
    h.Branch_Count = static_cast<std::int16_t>(branch + 1);
    // The table in force when it holds every name (the bytes are then those of every earlier
    // version), otherwise one that does, so that no name comes out other than the file has it.
    const QStringList names = texts.names();
    fresh->NamesCodePage = TableHoldingAll(names, codePage);
    SetNameText(*fresh, texts.Name, h.Name);
    SetNameText(*fresh, texts.LastChange, h.Last_Change);
    for (int i = 0; i <= branch; ++i)
        SetNameText(*fresh, texts.Branches[static_cast<std::size_t>(i)], fresh->Branches[i].Name);
    if (notHeld)
        *notHeld = TextsNotHeld(names, fresh->NamesCodePage);
    project = *fresh;
    return true;
}
