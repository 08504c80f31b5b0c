#include "link/ProjectTransfer.h"

#include "link/DeviceConfig.h"
#include "link/Fix64.h"
#include "link/LinkScope.h"
#include "localisation/MessageCatalogue.h"
#include "mainwindow/MainState.h"
#include "model/InstrumentText.h"
#include "model/ProjectRecords.h"
#include "ui/UserInterface.h"

#include <algorithm>
#include <memory>

namespace {

constexpr std::uint32_t BranchBlockSize = 1040; // 20 branches; the window repaints between blocks

void call(const std::function<void()>& hook) {
    if (hook)
        hook();
}

// A configuration block cut off half-way must not become the copy that is later written back.
void readConfig(TFix64& link, TDeviceConfig& config) {
    TDeviceConfig fresh = config;
    link.ReadMemory(ConfigAddress, &fresh, DeviceConfigSize);
    ApplyConfigLimits(fresh);
    config = fresh;
}

QString progressText(const TMessageCatalogue& t, const QString& english, std::uint32_t start,
                     std::uint32_t total) {
    return t.TranslateEllipsis(english) + QString::number(start * 100u / total) + QStringLiteral(" %");
}

// Moves the branch area in blocks; `move` transfers one block.
template <typename Move>
void moveBranchBlocks(const TDeviceOperationContext& c, int branchCount, const QString& english, Move move) {
    const std::uint32_t total = static_cast<std::uint32_t>(branchCount) * sizeof(TBranch);
    for (std::uint32_t start = 0; start < total; start += BranchBlockSize) {
        move(start, std::min(BranchBlockSize, total - start));
        c.Ui.setStatus(progressText(c.Catalogue, english, start, total));
        c.Ui.processPendingEvents();
    }
}

std::int16_t limitedBranchCount(std::int16_t count) {
    return static_cast<std::int16_t>(std::clamp<int>(count, 0, MaxBranches));
}

} // namespace

QString DeviceProjectTitle(const TProject& project, int codePage) {
    return QStringLiteral("ZRV 10: ") + DecodeInstrumentText(project.Header.Name, NameFieldSize, codePage);
}

TDeviceResult ReadProjectFromDevice(const TDeviceOperationContext& c, TProject& project, TMainState& state,
                                    TDeviceConfig& config, const TProjectViewHooks& hooks) {
    const TMessageCatalogue& t = c.Catalogue;
    bool noProjects = false;
    auto fresh = std::make_unique<TProject>();
    const bool completed = RunInLinkScope(c.Guard, c.Driver, c.Pause, c.Ui, t, [&](TFix64& link) {
        c.Ui.setStatus(t.TranslateEllipsis(QStringLiteral("Reading config")));
        readConfig(link, config);
        c.Ui.setStatus(QString());
        if (config.ProjectCount == 0) {
            noProjects = true;
            c.Ui.showMessage(t.Translate(QStringLiteral("Projects")),
                             t.Translate(QStringLiteral("There are no projects in device")));
            return;
        }
        link.ReadMemory(ProjectHeaderAddress, &fresh->Header, sizeof(TProjectHeader));
        c.Ui.setStatus(t.TranslateEllipsis(QStringLiteral("Reading project")));
        fresh->Header.Branch_Count = limitedBranchCount(fresh->Header.Branch_Count);
        auto* branches = reinterpret_cast<std::uint8_t*>(fresh->Branches.data());
        moveBranchBlocks(c, fresh->Header.Branch_Count, QStringLiteral("Reading project"),
                         [&](std::uint32_t start, std::uint32_t size) {
                             link.ReadMemory(BranchesAddress + start, branches + start, size);
                         });
    });
    if (!completed)
        return TDeviceResult::Failed;
    if (noProjects)
        return TDeviceResult::NothingDone;

    // Every block arrived: only now does the project in memory change.
    project = *fresh;
    const int branchCount = project.branchCount();
    // An empty project gets the title too: otherwise the window would go on naming the file it replaced.
    state.ProjectFileName = DeviceProjectTitle(project, config.InstrumentCodePage);
    state.HasFileName = false;
    c.Ui.setStatus(t.Translate(QStringLiteral("The project was successfully read")));
    call(hooks.BuildProjectTree);
    if (branchCount > 0) {
        if (hooks.ShowBranchPage)
            hooks.ShowBranchPage(0);
        state.CurrentBranch = 0;
    }
    call(hooks.ShowProjectPage);
    state.IsNewProject = false;
    state.Modified = false;
    state.LinkedToInstrument = true;
    project.Header.State = static_cast<std::uint16_t>(project.Header.State & ~StateLocked);
    call(hooks.UpdateWindowState);
    return TDeviceResult::Done;
}

TDeviceResult SaveProjectToDevice(const TDeviceOperationContext& c, TProject& project, TMainState& state,
                                  TDeviceConfig& config, const TProjectViewHooks& hooks) {
    const TMessageCatalogue& t = c.Catalogue;
    bool declined = false;
    const bool completed = RunInLinkScope(c.Guard, c.Driver, c.Pause, c.Ui, t, [&](TFix64& link) {
        c.Ui.setStatus(t.TranslateEllipsis(QStringLiteral("Reading config")));
        readConfig(link, config);
        const QString question = t.TranslateFmt(QStringLiteral("Do you want to overwrite the project %s?"),
                                                QStringLiteral(" ZRV 10"));
        if (c.Ui.ask(t.Translate(QStringLiteral("Saving project")), question) !=
            IUserInterface::Answer::Yes) {
            declined = true;
            return;
        }
        // The header must not announce more (or fewer) branches than the slot holds and we send.
        project.Header.Branch_Count = limitedBranchCount(project.Header.Branch_Count);
        // The instrument gets the project as it was when the user said Yes, whatever happens in the
        // window between the blocks.
        const auto sent = std::make_unique<TProject>(project);
        c.Ui.setStatus(t.TranslateEllipsis(QStringLiteral("Writing config")));
        config.ActiveProject = 0;
        config.ProjectCount = 1;
        link.WriteMemory(ConfigAddress, &config, DeviceConfigSize);

        c.Ui.setStatus(t.TranslateEllipsis(QStringLiteral("Writing project")));
        link.WriteMemory(ProjectHeaderAddress, &sent->Header, sizeof(TProjectHeader));
        const auto* branches = reinterpret_cast<const std::uint8_t*>(sent->Branches.data());
        moveBranchBlocks(c, sent->Header.Branch_Count, QStringLiteral("Writing project"),
                         [&](std::uint32_t start, std::uint32_t size) {
                             link.WriteMemory(BranchesAddress + start, branches + start, size);
                         });
        state.ProjectFileName = DeviceProjectTitle(*sent, config.InstrumentCodePage);
        state.HasFileName = false;
        state.Modified = false;
        c.Ui.setStatus(t.Translate(QStringLiteral("The project was successfully written")));
    });
    call(hooks.BuildProjectTree);
    call(hooks.UpdateWindowState);
    if (!completed)
        return TDeviceResult::Failed;
    return declined ? TDeviceResult::NothingDone : TDeviceResult::Done;
}

TDeviceResult TestDeviceConnection(const TDeviceOperationContext& c) {
    const TMessageCatalogue& t = c.Catalogue;
    const bool completed = RunInLinkScope(c.Guard, c.Driver, c.Pause, c.Ui, t, [&](TFix64& link) {
        c.Ui.setStatus(t.TranslateEllipsis(QStringLiteral("Sending")));
        link.Ping();
        c.Ui.setStatus(t.Translate(QStringLiteral("Device is connected to USB interface")));
    });
    return completed ? TDeviceResult::Done : TDeviceResult::Failed;
}
