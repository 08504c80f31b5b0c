// SPDX-License-Identifier: GPL-3.0-or-later
#include "document/ProjectDocument.h"
#include "model/BranchList.h"
#include "model/InstrumentText.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

// Every announcement of the document, in order, as "name(arguments)".
struct SignalLog {
    QStringList Seen;
    explicit SignalLog(TProjectDocument& d) {
        QObject::connect(&d, &TProjectDocument::projectReplaced, [this] { Seen << u"replaced"_qs; });
        QObject::connect(&d, &TProjectDocument::headerChanged, [this] { Seen << u"header"_qs; });
        QObject::connect(&d, &TProjectDocument::stateChanged, [this] { Seen << u"state"_qs; });
        QObject::connect(&d, &TProjectDocument::branchChanged,
                         [this](int i) { Seen << u"changed(%1)"_qs.arg(i); });
        QObject::connect(&d, &TProjectDocument::branchesInserted,
                         [this](int first, int n) { Seen << u"inserted(%1,%2)"_qs.arg(first).arg(n); });
        QObject::connect(&d, &TProjectDocument::branchesRemoved,
                         [this](int first, int n) { Seen << u"removed(%1,%2)"_qs.arg(first).arg(n); });
        QObject::connect(&d, &TProjectDocument::branchMoved,
                         [this](int from, int to) { Seen << u"moved(%1,%2)"_qs.arg(from).arg(to); });
    }
    QStringList take() { return std::exchange(Seen, {}); }
};

QString nameOf(const TBranch& b) {
    return DecodeInstrumentText(b.Name, NameFieldSize, 0);
}

// A project of `count` branches named "B0", "B1", ...
std::unique_ptr<TProject> projectOf(int count, std::uint16_t state = 0) {
    auto p = std::make_unique<TProject>();
    p->Header.Branch_Count = static_cast<std::int16_t>(count);
    p->Header.State = state;
    for (int i = 0; i < count; ++i) {
        InitBranch(*p, i);
        EncodeInstrumentText(u"B%1"_qs.arg(i), p->Branches[i].Name, NameFieldSize, 0);
    }
    return p;
}

QStringList names(const TProjectDocument& d) {
    QStringList out;
    for (int i = 0; i < d.project().branchCount(); ++i)
        out << nameOf(d.project().Branches[i]);
    return out;
}

} // namespace

// Each replacement and state change sets the flags of the project's origin and is announced once.
TEST(ProjectDocument, ReplacementsAndStateChangesSetTheFlags) {
    struct Case {
        const char* What;
        std::function<void(TProjectDocument&)> Do;
        TDocumentState Expected;
        QStringList Signals;
    };
    const auto locked = projectOf(2, StateLocked | 0x04);
    const QStringList replaced{u"replaced"_qs, u"state"_qs};
    const std::vector<Case> cases = {
        {"new",
         [](TProjectDocument& d) { d.resetToNew(); },
         {QString(), true, false, false, false},
         replaced},
        {"opened",
         [&](TProjectDocument& d) { d.replaceFromFile(*locked, u"/p/a.proj"_qs); },
         {u"/p/a.proj"_qs, false, false, false, true},
         replaced},
        {"read from the instrument",
         [&](TProjectDocument& d) { d.replaceFromInstrument(*locked, u"ZRV 10: P"_qs); },
         {u"ZRV 10: P"_qs, false, false, true, false},
         replaced},
        {"imported",
         [&](TProjectDocument& d) { d.replaceFromWorkbook(*locked, u"/p/book.proj"_qs); },
         {u"/p/book.proj"_qs, false, true, false, true},
         replaced},
        {"saved",
         [](TProjectDocument& d) { d.markSavedToFile(u"/p/b.proj"_qs); },
         {u"/p/b.proj"_qs, false, false, true, true},
         {u"state"_qs}},
        {"written to the instrument",
         [](TProjectDocument& d) { d.markWrittenToInstrument(u"ZRV 10: Q"_qs); },
         {u"ZRV 10: Q"_qs, true, false, true, false},
         {u"state"_qs}},
        {"exported",
         [](TProjectDocument& d) { d.markExportedToWorkbook(false); },
         {u"ZRV 10: old"_qs, false, true, false, false},
         {u"state"_qs}},
        {"unchanged state is not announced",
         [](TProjectDocument& d) { d.setModified(true); },
         {u"ZRV 10: old"_qs, true, true, true, false},
         {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.What);
        TProjectDocument d;
        d.setState({u"ZRV 10: old"_qs, true, true, true, false});
        SignalLog log(d);
        c.Do(d);
        EXPECT_EQ(d.state(), c.Expected);
        EXPECT_EQ(log.take(), c.Signals);
    }

    // A project with a file keeps it through a write: Save must still reach that file.
    TProjectDocument written;
    written.replaceFromFile(*locked, u"/p/a.proj"_qs);
    written.setModified(true);
    written.markWrittenToInstrument(u"ZRV 10: Q"_qs);
    EXPECT_EQ(written.state(), (TDocumentState{u"/p/a.proj"_qs, false, false, false, true}));

    TProjectDocument d;
    const TProject* address = &d.project();
    d.replaceFromInstrument(*locked, u"ZRV 10: P"_qs);
    EXPECT_EQ(d.project().Header.State, 0x04) << "the instrument's copy is not locked";
    EXPECT_EQ(&d.project(), address) << "the project stays where it is";
    d.replaceFromWorkbook(*locked, u"/p/book.proj"_qs);
    EXPECT_TRUE(d.project().isLocked());
    d.resetToNew();
    EXPECT_EQ(d.project().Header.State, 0x04);
    EXPECT_EQ(d.project().branchCount(), 0);
    EXPECT_EQ(d.project().Header.Name[0], 0);
    EXPECT_EQ(double{d.project().Branches[0].Request_Flow}, NoValue) << "slot 0 is prepared";
}

TEST(ProjectDocument, BranchEditsChangeTheListAndAnnounceOnlyWhatChanged) {
    TProjectDocument d;
    d.replaceFromFile(*projectOf(4), u"/p/a.proj"_qs);
    SignalLog log(d);
    TBranch extra = d.project().Branches[0];
    EncodeInstrumentText(u"X"_qs, extra.Name, NameFieldSize, 0);

    EXPECT_TRUE(d.insertBranch(4, extra));
    EXPECT_TRUE(d.insertBranch(0, extra));
    EXPECT_EQ(names(d), (QStringList{"X", "B0", "B1", "B2", "B3", "X"}));
    EXPECT_TRUE(d.removeBranch(0));
    EXPECT_TRUE(d.moveBranch(4, 1));
    EXPECT_EQ(names(d), (QStringList{"B0", "X", "B1", "B2", "B3"}));
    EXPECT_TRUE(d.moveBranch(0, 4));
    EXPECT_EQ(names(d), (QStringList{"X", "B1", "B2", "B3", "B0"}));
    EXPECT_TRUE(d.setBranch(2, extra));
    EXPECT_EQ(log.take(), (QStringList{"inserted(4,1)", "inserted(0,1)", "removed(0,1)", "moved(4,1)",
                                       "moved(0,4)", "changed(2)"}));

    // Positions outside the list change nothing and say nothing.
    EXPECT_FALSE(d.insertBranch(7, extra));
    EXPECT_FALSE(d.insertBranch(-1, extra));
    EXPECT_FALSE(d.removeBranch(5));
    EXPECT_FALSE(d.moveBranch(0, 5));
    EXPECT_FALSE(d.moveBranch(2, 2));
    EXPECT_FALSE(d.setBranch(5, extra));
    EXPECT_EQ(d.project().branchCount(), 5);
    EXPECT_TRUE(log.take().isEmpty());

    // A header from before the list changed does not bring back its count.
    TProjectHeader header = d.project().Header;
    header.Branch_Count = 1;
    EncodeInstrumentText(u"Renamed"_qs, header.Name, NameFieldSize, 0);
    d.setHeader(header);
    EXPECT_EQ(d.project().branchCount(), 5);
    EXPECT_EQ(DecodeInstrumentText(d.project().Header.Name, NameFieldSize, 0), u"Renamed"_qs);
    EXPECT_EQ(log.take(), QStringList{u"header"_qs});
    EXPECT_FALSE(d.state().Modified) << "the undo history, not the document, decides what is modified";

    auto full = projectOf(MaxBranches);
    d.replaceFromFile(*full, u"/p/full.proj"_qs);
    log.take();
    EXPECT_FALSE(d.insertBranch(0, extra));
    EXPECT_TRUE(log.take().isEmpty());
}

// Remarks belong to branches, not to positions: every branch operation carries its remark along, and
// a replacement brings the details it was given (or none).
TEST(ProjectDocument, RemarksFollowTheirBranches) {
    TProjectDocument d;
    TCommissioningDetails details;
    details.Client = u"Client"_qs;
    details.BranchRemarks = {u"r0"_qs, u"r1"_qs, u"r2"_qs, u"stale beyond the branches"_qs};
    d.replaceFromFile(*projectOf(3), u"/p.proj"_qs, details);
    EXPECT_EQ(d.commissioning().BranchRemarks, QStringList({u"r0"_qs, u"r1"_qs, u"r2"_qs}));

    int announced = 0;
    QObject::connect(&d, &TProjectDocument::commissioningChanged, [&] { ++announced; });
    ASSERT_TRUE(d.moveBranch(0, 2));
    ASSERT_TRUE(d.insertBranch(1, d.project().Branches[0], u"new"_qs));
    ASSERT_TRUE(d.removeBranch(0));
    EXPECT_EQ(names(d), QStringList({u"B1"_qs, u"B2"_qs, u"B0"_qs}));
    EXPECT_EQ(d.commissioning().BranchRemarks, QStringList({u"new"_qs, u"r2"_qs, u"r0"_qs}));
    EXPECT_EQ(announced, 0) << "branch operations announce themselves";

    EXPECT_TRUE(d.setBranchRemark(2, u"edited"_qs));
    EXPECT_FALSE(d.setBranchRemark(3, u"past the end"_qs));
    EXPECT_EQ(d.branchRemark(2), u"edited"_qs);
    EXPECT_EQ(d.branchRemark(99), QString());
    TCommissioningDetails shorter = d.commissioning();
    shorter.BranchRemarks = {u"only one"_qs};
    d.setCommissioning(shorter);
    EXPECT_EQ(d.commissioning().BranchRemarks, QStringList({u"only one"_qs, QString(), QString()}));
    EXPECT_EQ(announced, 2);

    d.replaceFromInstrument(*projectOf(2), u"ZRV 10: P"_qs);
    EXPECT_EQ(d.commissioning().Client, QString()) << "a project read from the instrument has no details";
    EXPECT_EQ(d.commissioning().BranchRemarks, QStringList({QString(), QString()}));
    d.resetToNew();
    EXPECT_TRUE(d.commissioning().BranchRemarks.isEmpty());
}
