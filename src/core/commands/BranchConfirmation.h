// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/ProjectRecords.h"
#include "model/ValveCatalogue.h"

#include <QString>

#include <optional>

struct TUnits;

// The inputs of the branch page, in the order they are checked.
enum class TBranchField {
    Name,
    Manufacturer,
    Type,
    InitialPressure,
    FinalPressure,
    RequestedFlow,
    InitialFlow,
    FinalFlow,
    InitialPresetting,
    FinalPresetting,
};

// What the branch page holds when the user confirms it. Texts as typed; list positions -1 when
// the list has no selection.
struct TBranchInput {
    QString Name;
    int Manufacturer = -1;
    int Type = -1;
    QString InitialPressure;
    QString FinalPressure;
    QString RequestedFlow;
    QString InitialFlow;
    QString FinalFlow;
    QString InitialPresetting;
    QString FinalPresetting;
};

struct TBranchRefusal {
    TBranchField Field;
    QString Message; // English; the caller translates it
    QString Argument; // when not empty, stands for the message's "%s"
};

struct TBranchCheck {
    // The first field refused, if any; then Branch is the stored branch unchanged.
    std::optional<TBranchRefusal> Refusal;
    // The name as the edit keeps it (cut to 32 characters once the name has passed).
    QString EditName;
    TBranch Branch{};
    // The valve chosen by the lists, with the copy its presettings were checked against; the
    // selection passed in when refused.
    TValveSelection Valve;
};

inline constexpr int NameEditLength = 32;

// A typed name (of the project or a branch) that must not be stored: it contains "</", or characters
// that the table codePage has no place for (see CharactersWithoutPlace).
std::optional<TBranchRefusal> CheckTypedName(const QString& name, int codePage);

// Checks every field before any is written, so a refused confirmation leaves the branch as it was.
// `shown` is what the page showed when it was filled: a field whose text is still the shown one keeps
// its stored value exactly, since the shown text is rounded to the unit's decimals. Without it every
// field counts as typed. codePage: the table the project's names are in; a typed name must fit it.
TBranchCheck CheckBranchInput(const TBranch& stored, const TBranchInput& input,
                              const TValveCatalogue& catalogue, const TValveSelection& selection,
                              const TUnits& units, int codePage, const TBranchInput* shown = nullptr);
