// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/ProjectTransfer.h"

#include "link/DeviceConfig.h"
#include "link/Fix64.h"
#include "link/LinkScope.h"
#include "link/TransferReport.h"
#include "localisation/MessageCatalogue.h"
#include "model/NameQuestions.h"
#include "model/ProjectNames.h"
#include "model/ProjectRecords.h"
#include "commands/UserInterface.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr std::uint32_t BranchBlockSize = 1040; // 20 frames; the window repaints between blocks

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

// Moves the branch area in blocks; `move` transfers one block and says whether to go on. False when
// the user cancelled or `move` stopped.
template <typename Move>
bool moveBranchBlocks(const TDeviceOperationContext& c, TTransferOperation operation, int branchCount,
                      const QString& english, Move move) {
    const std::uint32_t total = static_cast<std::uint32_t>(branchCount) * sizeof(TBranch);
    TTransferReport report(c.Progress, operation, total);
    for (std::uint32_t start = 0; start < total; start += BranchBlockSize) {
        if (report.cancelled())
            return false;
        const std::uint32_t size = std::min(BranchBlockSize, total - start);
        const bool goOn = move(start, size);
        if (!english.isEmpty())
            c.Ui.setStatus(progressText(c.Catalogue, english, start, total));
        report.report(start + size);
        c.Ui.processPendingEvents();
        if (!goOn)
            return false;
    }
    return true;
}

std::int16_t limitedBranchCount(std::int16_t count) {
    return static_cast<std::int16_t>(std::clamp<int>(count, 0, MaxBranches));
}

enum class TVerifyOutcome { Same, Differs, Cancelled };

// Reads header and branches back and compares them with what was sent; on a difference, the message
// box and the status name what differs first.
TVerifyOutcome verifyWritten(const TDeviceOperationContext& c, TFix64& link, const TProject& sent) {
    const TMessageCatalogue& t = c.Catalogue;
    c.Ui.setStatus(t.TranslateEllipsis(QStringLiteral("Verifying project")));
    TProjectHeader header{};
    link.ReadMemory(ProjectHeaderAddress, &header, sizeof header);
    if (std::memcmp(&header, &sent.Header, sizeof header) != 0) {
        c.Ui.showMessage(t.Translate(QStringLiteral("Error")),
                         t.Translate(QStringLiteral("The project header in the device differs from the one "
                                                    "written. Write the project again.")));
        c.Ui.setStatus(
            t.TranslateExclaim(QStringLiteral("Writing failed: the project header differs in the device")));
        return TVerifyOutcome::Differs;
    }
    const auto back = std::make_unique<TProject>();
    auto* got = reinterpret_cast<std::uint8_t*>(back->Branches.data());
    const auto* want = reinterpret_cast<const std::uint8_t*>(sent.Branches.data());
    int differing = -1;
    const bool whole = moveBranchBlocks(
        c, TTransferOperation::VerifyProject, sent.Header.Branch_Count, QString(),
        [&](std::uint32_t start, std::uint32_t size) {
            link.ReadMemory(BranchesAddress + start, got + start, size);
            const auto mismatch = std::mismatch(want + start, want + start + size, got + start);
            if (mismatch.first == want + start + size)
                return true;
            differing =
                static_cast<int>((mismatch.first - want) / static_cast<std::ptrdiff_t>(sizeof(TBranch)));
            return false;
        });
    if (differing < 0)
        return whole ? TVerifyOutcome::Same : TVerifyOutcome::Cancelled;
    const QString branch = QString::number(differing + 1) + QStringLiteral(" (") +
                           NameText(sent, sent.Branches[differing].Name) + u')';
    c.Ui.showMessage(t.Translate(QStringLiteral("Error")),
                     t.TranslateFmt(QStringLiteral("Branch %s in the device differs from the one written. "
                                                   "Write the project again."),
                                    branch));
    c.Ui.setStatus(
        t.TranslateFmt(QStringLiteral("Writing failed: branch %s differs in the device!"), branch));
    return TVerifyOutcome::Differs;
}

} // namespace

QString DeviceProjectTitle(const TProject& project) {
    return QStringLiteral("ZRV 10: ") + NameText(project, project.Header.Name);
}

TDeviceResult ReadProjectFromDevice(const TDeviceOperationContext& c, TDeviceConfig& config,
                                    std::unique_ptr<TProject>& read) {
    const TMessageCatalogue& t = c.Catalogue;
    bool noProjects = false;
    bool cancelled = false;
    const TDeviceConfig before = config;
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
        // The names are in the instrument's table, and stay in it.
        fresh->NamesCodePage = config.InstrumentCodePage;
        link.ReadMemory(ProjectHeaderAddress, &fresh->Header, sizeof(TProjectHeader));
        c.Ui.setStatus(t.TranslateEllipsis(QStringLiteral("Reading project")));
        fresh->Header.Branch_Count = limitedBranchCount(fresh->Header.Branch_Count);
        auto* branches = reinterpret_cast<std::uint8_t*>(fresh->Branches.data());
        cancelled = !moveBranchBlocks(c, TTransferOperation::ReadProject, fresh->Header.Branch_Count,
                                      QStringLiteral("Reading project"),
                                      [&](std::uint32_t start, std::uint32_t size) {
                                          link.ReadMemory(BranchesAddress + start, branches + start, size);
                                          return true;
                                      });
    });
    if (!completed)
        return TDeviceResult::Failed;
    if (cancelled) {
        config = before;
        return TDeviceResult::Cancelled;
    }
    if (noProjects)
        return TDeviceResult::NothingDone;

    fresh->Header.State = static_cast<std::uint16_t>(fresh->Header.State & ~StateLocked);
    read = std::move(fresh);
    c.Ui.setStatus(t.Translate(QStringLiteral("The project was successfully read")));
    return TDeviceResult::Done;
}

TDeviceResult SaveProjectToDevice(const TDeviceOperationContext& c, const TProject& project,
                                  TDeviceConfig& config, bool verify, std::optional<int> sendTable) {
    const TMessageCatalogue& t = c.Catalogue;
    TDeviceResult result = TDeviceResult::Done;
    const bool completed = RunInLinkScope(c.Guard, c.Driver, c.Pause, c.Ui, t, [&](TFix64& link) {
        c.Ui.setStatus(t.TranslateEllipsis(QStringLiteral("Reading config")));
        readConfig(link, config);
        // Copied first: the configuration is packed, and value_or would bind a reference to it.
        const int instrumentTable = config.InstrumentCodePage;
        const int table = sendTable.value_or(instrumentTable);
        const QStringList notHeld = NamesNotHeld(project, table);
        if (!notHeld.isEmpty() &&
            c.Ui.askDefaultNo(t.Translate(QStringLiteral("Saving project")),
                              NamesQuestion(t, TNamesAt::Device, notHeld)) != IUserInterface::Answer::Yes) {
            result = TDeviceResult::NothingDone;
            c.Ui.setStatus(QString());
            return;
        }
        const QString question = t.TranslateFmt(QStringLiteral("Do you want to overwrite the project %s?"),
                                                QStringLiteral(" ZRV 10"));
        if (c.Ui.ask(t.Translate(QStringLiteral("Saving project")), question) !=
            IUserInterface::Answer::Yes) {
            result = TDeviceResult::NothingDone;
            c.Ui.setStatus(QString()); // no "Reading config..." left behind
            return;
        }
        // The instrument gets the project as it was when the user said Yes, whatever happens in the
        // window between the blocks; its header never announces more (or fewer) branches than we send.
        const auto sent = std::make_unique<TProject>(project);
        sent->Header.Branch_Count = limitedBranchCount(sent->Header.Branch_Count);
        // The instrument shows the names in its own table.
        TranscodeNames(*sent, table);
        c.Ui.setStatus(t.TranslateEllipsis(QStringLiteral("Writing config")));
        config.ActiveProject = 0;
        config.ProjectCount = 1;
        link.WriteMemory(ConfigAddress, &config, DeviceConfigSize);

        c.Ui.setStatus(t.TranslateEllipsis(QStringLiteral("Writing project")));
        link.WriteMemory(ProjectHeaderAddress, &sent->Header, sizeof(TProjectHeader));
        const auto* branches = reinterpret_cast<const std::uint8_t*>(sent->Branches.data());
        if (!moveBranchBlocks(c, TTransferOperation::WriteProject, sent->Header.Branch_Count,
                              QStringLiteral("Writing project"),
                              [&](std::uint32_t start, std::uint32_t size) {
                                  link.WriteMemory(BranchesAddress + start, branches + start, size);
                                  return true;
                              })) {
            result = TDeviceResult::Cancelled;
            return;
        }
        if (verify) {
            const TVerifyOutcome outcome = verifyWritten(c, link, *sent);
            if (outcome == TVerifyOutcome::Differs) {
                result = TDeviceResult::Failed;
                return;
            }
            // Everything went out; only the check was stopped, and the status says so.
            if (outcome == TVerifyOutcome::Cancelled) {
                c.Ui.setStatus(
                    t.TranslateExclaim(QStringLiteral("The project was written but not verified")));
                return;
            }
        }
        c.Ui.setStatus(t.Translate(QStringLiteral("The project was successfully written")));
    });
    return completed ? result : TDeviceResult::Failed;
}

TDeviceResult ReadConfigFromDevice(const TDeviceOperationContext& c, TDeviceConfig& config) {
    const TMessageCatalogue& t = c.Catalogue;
    const bool completed = RunInLinkScope(c.Guard, c.Driver, c.Pause, c.Ui, t, [&](TFix64& link) {
        c.Ui.setStatus(t.TranslateEllipsis(QStringLiteral("Reading config")));
        readConfig(link, config);
        c.Ui.setStatus(QString());
    });
    return completed ? TDeviceResult::Done : TDeviceResult::Failed;
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
