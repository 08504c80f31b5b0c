// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/BranchList.h"
#include "model/InstrumentText.h"
#include "model/LastChangeStamp.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>

namespace {

std::unique_ptr<TProject> projectWith(int count) {
    auto p = std::make_unique<TProject>();
    for (int i = 0; i < count; ++i) {
        EncodeInstrumentText(QString::number(i), p->Branches[i].Name, 16, 0);
        p->Branches[i].Request_Flow = i;
    }
    p->Header.Branch_Count = static_cast<std::int16_t>(count);
    return p;
}

QString names(const TProject& p) {
    QStringList out;
    for (int i = 0; i < p.branchCount(); ++i)
        out << DecodeInstrumentText(p.Branches[i].Name, 16, 0);
    return out.join(',');
}

} // namespace

TEST(BranchList, InitBranchSetsMarkersAndKeepsCarriedBytes) {
    TProject p;
    TBranch& b = p.Branches[7];
    std::memcpy(b.Name, "OLDNAME", 7);
    b.Reserved = 0x1234;
    b.Valve_Chksm = 0xBEEF;
    b.Valve_Index = 12;
    InitBranch(p, 7);
    EXPECT_EQ(b.Name[0], 0);
    EXPECT_EQ(b.Name[1], 'L'); // invisible behind the first zero byte
    EXPECT_EQ(b.Reserved, 0x1234);
    EXPECT_EQ(b.Valve_Chksm, 0xBEEF);
    EXPECT_EQ(b.Valve_Index, 0);
    // Copies: the packed fields must not be bound to references.
    const double values[] = {b.Request_Flow, b.Initial_Pressure, b.Initial_Flow, b.Final_Pressure, b.Final_Flow};
    for (double v : values)
        EXPECT_EQ(v, NoValue);
    EXPECT_EQ(double{b.Initial_Presetting}, PresettingEmpty);
    EXPECT_EQ(double{b.Final_Presetting}, PresettingEmpty);
}

TEST(BranchList, InsertDeleteAndMove) {
    auto p = projectWith(3);
    EXPECT_EQ(InsertBranchAfter(*p, 0), 1);
    EXPECT_EQ(names(*p), QStringLiteral("0,,1,2"));
    EXPECT_EQ(double{p->Branches[1].Request_Flow}, NoValue);
    EXPECT_EQ(InsertBranchAfter(*p, 3), 4);
    EXPECT_EQ(names(*p), QStringLiteral("0,,1,2,"));

    EXPECT_EQ(DeleteBranch(*p, 1), 1);
    EXPECT_EQ(names(*p), QStringLiteral("0,1,2,"));
    EXPECT_EQ(MoveBranchUp(*p, 2), 1);
    EXPECT_EQ(names(*p), QStringLiteral("0,2,1,"));
    EXPECT_EQ(MoveBranchDown(*p, 0), 1);
    EXPECT_EQ(names(*p), QStringLiteral("2,0,1,"));

    // No neighbour, no branch: unchanged.
    EXPECT_EQ(MoveBranchUp(*p, 0), -1);
    EXPECT_EQ(MoveBranchDown(*p, 3), -1);
    EXPECT_EQ(DeleteBranch(*p, 4), -1);
    EXPECT_EQ(DeleteBranch(*p, -1), -1);
    EXPECT_EQ(names(*p), QStringLiteral("2,0,1,"));
}

TEST(BranchList, FirstBranchOfAnEmptyProjectGoesToSlotZero) {
    auto p = projectWith(0);
    EXPECT_EQ(InsertBranchAfter(*p, -1), 0);
    EXPECT_EQ(p->Header.Branch_Count, 1);
}

TEST(BranchList, FullProjectRefusesAnInsertion) {
    auto p = projectWith(MaxBranches);
    EXPECT_EQ(InsertBranchAfter(*p, 10), -1);
    EXPECT_EQ(p->Header.Branch_Count, MaxBranches);
    EXPECT_EQ(double{p->Branches[MaxBranches - 1].Request_Flow}, MaxBranches - 1);
}

TEST(BranchList, CorruptBranchCountNeverIndexesPastTheSlots) {
    auto p = projectWith(2);
    p->Header.Branch_Count = 30000;
    EXPECT_EQ(p->branchCount(), MaxBranches);
    EXPECT_EQ(InsertBranchAfter(*p, 0), -1);
    p->Header.Branch_Count = -5;
    EXPECT_EQ(p->branchCount(), 0);
    EXPECT_EQ(DeleteBranch(*p, 0), -1);
}

TEST(LastChange, StampFormats) {
    EXPECT_EQ(LastChangeText(QDateTime(QDate(2024, 3, 1), QTime(9, 5))), QStringLiteral("1.3.2024 09:05"));
    TProject p;
    std::memset(p.Header.Last_Change, 'x', 16);
    StampLastChange(p.Header, TFixedClock(QDateTime(QDate(2024, 3, 1), QTime(9, 5))));
    EXPECT_EQ(DecodeInstrumentText(p.Header.Last_Change, 16, 0), QStringLiteral("1.3.2024 09:05"));
    EXPECT_EQ(p.Header.Last_Change[14], 0);

    StampLastChange(p.Header, TFixedClock(QDateTime(QDate(2024, 12, 31), QTime(23, 59))));
    EXPECT_EQ(DecodeInstrumentText(p.Header.Last_Change, 16, 0), QStringLiteral("31.12.2024 23:59"));
    EXPECT_EQ(p.Header.Last_Change[15], '9');
}
