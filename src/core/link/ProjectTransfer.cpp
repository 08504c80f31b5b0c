// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/ProjectTransfer.h"

#include "link/DeviceConfig.h"
#include "link/DeviceEvents.h"
#include "link/Fix64.h"
#include "link/LinkScope.h"
#include "link/TransferReport.h"
#include "model/ProjectNames.h"
#include "model/ProjectRecords.h"

#include <algorithm>
#include <cstring>

namespace {

using S = TDeviceStatusKind;

constexpr std::uint32_t BranchBlockSize = 1040; // 20 frames; the window repaints between blocks

// A configuration block cut off half-way must not become the copy that is later written back.
void readConfig(TFix64& link, TDeviceConfig& config) {
    TDeviceConfig fresh = config;
    link.ReadMemory(ConfigAddress, &fresh, DeviceConfigSize);
    ApplyConfigLimits(fresh);
    config = fresh;
}

// Moves the branch area in blocks; `move` transfers one block and says whether to go on. False when
// the user cancelled or `move` stopped. `status` (if not Clear) tells the percent before each block.
template <typename Move>
bool moveBranchBlocks(const TDeviceOperationContext& c, TTransferOperation operation, int branchCount,
                      TDeviceStatusKind status, Move move) {
    const std::uint32_t total = static_cast<std::uint32_t>(branchCount) * sizeof(TBranch);
    TTransferReport report(c.Progress, operation, total);
    for (std::uint32_t start = 0; start < total; start += BranchBlockSize) {
        if (report.cancelled())
            return false;
        const std::uint32_t size = std::min(BranchBlockSize, total - start);
        const bool goOn = move(start, size);
        if (status != S::Clear)
            c.Events.status({status, static_cast<int>(start * 100u / total)});
        report.report(start + size);
        c.Events.processPendingEvents();
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
    c.Events.status({S::VerifyingProject});
    TProjectHeader header{};
    link.ReadMemory(ProjectHeaderAddress, &header, sizeof header);
    if (std::memcmp(&header, &sent.Header, sizeof header) != 0) {
        c.Events.notice({TDeviceNoticeKind::HeaderDiffers});
        c.Events.status({S::HeaderDiffers});
        return TVerifyOutcome::Differs;
    }
    const auto back = std::make_unique<TProject>();
    auto* got = reinterpret_cast<std::uint8_t*>(back->Branches.data());
    const auto* want = reinterpret_cast<const std::uint8_t*>(sent.Branches.data());
    int differing = -1;
    const bool whole = moveBranchBlocks(
        c, TTransferOperation::VerifyProject, sent.Header.Branch_Count, S::Clear,
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
    const QString name = NameText(sent, sent.Branches[differing].Name);
    c.Events.notice({TDeviceNoticeKind::BranchDiffers, {}, differing + 1, name});
    c.Events.status({S::BranchDiffers, differing + 1, 0, name});
    return TVerifyOutcome::Differs;
}

} // namespace

TDeviceResult ReadProjectFromDevice(const TDeviceOperationContext& c, TDeviceConfig& config,
                                    std::unique_ptr<TProject>& read) {
    bool noProjects = false;
    bool cancelled = false;
    const TDeviceConfig before = config;
    auto fresh = std::make_unique<TProject>();
    const bool completed = RunInLinkScope(c.Guard, c.Driver, c.Pause, c.Events, [&](TFix64& link) {
        c.Events.status({S::ReadingConfig});
        readConfig(link, config);
        c.Events.status({S::Clear});
        if (config.ProjectCount == 0) {
            noProjects = true;
            c.Events.notice({TDeviceNoticeKind::NoProjects});
            return;
        }
        // The names are in the instrument's table, and stay in it.
        fresh->NamesCodePage = config.InstrumentCodePage;
        link.ReadMemory(ProjectHeaderAddress, &fresh->Header, sizeof(TProjectHeader));
        c.Events.status({S::ReadingProject});
        fresh->Header.Branch_Count = limitedBranchCount(fresh->Header.Branch_Count);
        auto* branches = reinterpret_cast<std::uint8_t*>(fresh->Branches.data());
        cancelled = !moveBranchBlocks(c, TTransferOperation::ReadProject, fresh->Header.Branch_Count,
                                      S::ReadingProjectBlocks,
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
    c.Events.status({S::ProjectRead});
    return TDeviceResult::Done;
}

TDeviceResult SaveProjectToDevice(const TDeviceOperationContext& c, const TProject& project,
                                  TDeviceConfig& config, bool verify, std::optional<int> sendTable) {
    TDeviceResult result = TDeviceResult::Done;
    const bool completed = RunInLinkScope(c.Guard, c.Driver, c.Pause, c.Events, [&](TFix64& link) {
        c.Events.status({S::ReadingConfig});
        readConfig(link, config);
        // Copied first: the configuration is packed, and value_or would bind a reference to it.
        const int instrumentTable = config.InstrumentCodePage;
        const int table = sendTable.value_or(instrumentTable);
        const QStringList notHeld = NamesNotHeld(project, table);
        if (!notHeld.isEmpty() && !c.Events.confirm({TDeviceQuestionKind::NamesNotHeld, notHeld})) {
            result = TDeviceResult::NothingDone;
            c.Events.status({S::Clear});
            return;
        }
        if (!c.Events.confirm({TDeviceQuestionKind::OverwriteProject})) {
            result = TDeviceResult::NothingDone;
            c.Events.status({S::Clear}); // no "Reading config..." left behind
            return;
        }
        // The instrument gets the project as it was when the user said Yes, whatever happens in the
        // window between the blocks; its header never announces more (or fewer) branches than we send.
        const auto sent = std::make_unique<TProject>(project);
        sent->Header.Branch_Count = limitedBranchCount(sent->Header.Branch_Count);
        // The instrument shows the names in its own table.
        TranscodeNames(*sent, table);
        c.Events.status({S::WritingConfig});
        config.ActiveProject = 0;
        config.ProjectCount = 1;
        link.WriteMemory(ConfigAddress, &config, DeviceConfigSize);

        c.Events.status({S::WritingProject});
        link.WriteMemory(ProjectHeaderAddress, &sent->Header, sizeof(TProjectHeader));
        const auto* branches = reinterpret_cast<const std::uint8_t*>(sent->Branches.data());
        if (!moveBranchBlocks(c, TTransferOperation::WriteProject, sent->Header.Branch_Count,
                              S::WritingProjectBlocks,
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
                c.Events.status({S::ProjectWrittenNotVerified});
                return;
            }
        }
        c.Events.status({S::ProjectWritten});
    });
    return completed ? result : TDeviceResult::Failed;
}

TDeviceResult ReadConfigFromDevice(const TDeviceOperationContext& c, TDeviceConfig& config) {
    const bool completed = RunInLinkScope(c.Guard, c.Driver, c.Pause, c.Events, [&](TFix64& link) {
        c.Events.status({S::ReadingConfig});
        readConfig(link, config);
        c.Events.status({S::Clear});
    });
    return completed ? TDeviceResult::Done : TDeviceResult::Failed;
}

TDeviceResult TestDeviceConnection(const TDeviceOperationContext& c) {
    const bool completed = RunInLinkScope(c.Guard, c.Driver, c.Pause, c.Events, [&](TFix64& link) {
        c.Events.status({S::Sending});
        link.Ping();
        c.Events.status({S::Connected});
    });
    return completed ? TDeviceResult::Done : TDeviceResult::Failed;
}
