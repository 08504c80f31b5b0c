// SPDX-License-Identifier: GPL-3.0-or-later
#include "commands/BranchConfirmation.h"

#include "model/Translator.h"
#include "model/InstrumentText.h"
#include "model/Markers.h"
#include "model/ParseNumber.h"
#include "model/ProjectNames.h"
#include "model/Units.h"

#include <QStringList>

namespace {

// Empty text on a valve with presetting is "no presetting yet"; anything else must be a number in the
// valve's range. Valves without presetting keep whatever the hidden field reads.
bool readPresetting(const QString& text, bool hasPresetting, const TValve& valve, const QLocale& locale,
                    double& value) {
    if (hasPresetting && text.isEmpty()) {
        value = PresettingEmpty;
        return true;
    }
    if (!hasPresetting) {
        value = ParseNumber(text, locale);
        return true;
    }
    const std::optional<double> number = TryParseNumber(text, locale);
    if (!number)
        return false;
    value = *number;
    return IsPresettingInRange(value, valve);
}

} // namespace

std::optional<TBranchRefusal> CheckTypedName(const QString& name, int codePage) {
    if (NameBreaksProjectFile(name))
        return TBranchRefusal{TBranchField::Name,
                              EnglishText("A name cannot contain \"</\": a project file would cut it there."),
                              {}};
    // A letter the table writes as its plain form is its design, and the page shows the result.
    const QString missing = CharactersWithoutPlace(name, NameFieldSize, codePage);
    if (missing.isEmpty())
        return std::nullopt;
    QStringList characters;
    for (const QChar ch : missing)
        characters.append(QString(ch));
    return TBranchRefusal{TBranchField::Name,
                          EnglishText("The project's character table cannot hold the characters %s."),
                          u'"' + characters.join(u' ') + u'"'};
}

TBranchCheck CheckBranchInput(const TBranch& stored, const TBranchInput& input,
                              const TValveCatalogue& catalogue, const TValveSelection& selection,
                              const TUnits& units, int codePage, const TBranchInput* shown) {
    TBranchCheck check;
    check.Branch = stored;
    check.Valve = selection;
    check.EditName = input.Name;
    auto refuse = [&](TBranchField field, const char* message) {
        check.Refusal = TBranchRefusal{field, QString::fromLatin1(message), {}};
        check.Branch = stored;
        check.Valve = selection;
        return check;
    };
    auto untouched = [shown](QString TBranchInput::*field, const QString& text) {
        return shown && shown->*field == text;
    };

    if (input.Name.isEmpty())
        return refuse(TBranchField::Name, EnglishText("Please fill name"));
    check.EditName = input.Name.left(NameEditLength);
    TBranch b = stored;
    // Re-encoding an unchanged name could lose characters the current table does not hold.
    if (!untouched(&TBranchInput::Name, input.Name)) {
        if (const std::optional<TBranchRefusal> r = CheckTypedName(check.EditName, codePage)) {
            refuse(TBranchField::Name, "");
            check.Refusal = r;
            return check;
        }
        EncodeInstrumentText(check.EditName, b.Name, NameFieldSize, codePage);
    }

    if (input.Manufacturer < 0)
        return refuse(TBranchField::Manufacturer, EnglishText("Select manufacturer"));
    if (input.Type < 0)
        return refuse(TBranchField::Type, EnglishText("Select type"));
    b.Valve_Index =
        static_cast<std::uint16_t>(check.Valve.SelectValve(catalogue, input.Manufacturer, input.Type));
    const bool sameValve = b.Valve_Index == stored.Valve_Index;

    const struct {
        QString TBranchInput::*Text;
        void (*Store)(TBranch&, double); // the fields are packed: no member pointers
        TBranchField Field;
        bool Flow;
    } values[] = {
        {&TBranchInput::InitialPressure, [](TBranch& t, double x) { t.Initial_Pressure = x; },
         TBranchField::InitialPressure, false},
        {&TBranchInput::FinalPressure, [](TBranch& t, double x) { t.Final_Pressure = x; },
         TBranchField::FinalPressure, false},
        {&TBranchInput::RequestedFlow, [](TBranch& t, double x) { t.Request_Flow = x; },
         TBranchField::RequestedFlow, true},
        {&TBranchInput::InitialFlow, [](TBranch& t, double x) { t.Initial_Flow = x; },
         TBranchField::InitialFlow, true},
        {&TBranchInput::FinalFlow, [](TBranch& t, double x) { t.Final_Flow = x; }, TBranchField::FinalFlow,
         true},
    };
    for (const auto& v : values) {
        const QString& text = input.*v.Text;
        if (untouched(v.Text, text))
            continue;
        const std::optional<double> value = v.Flow ? units.TryParseFlow(text) : units.TryParsePressure(text);
        if (!value || (v.Flow ? !IsValidFlow(*value) : !IsValidPressure(*value)))
            return refuse(v.Field, v.Flow ? EnglishText("Please fill valid flow")
                                          : EnglishText("Please fill valid pressure"));
        v.Store(b, *value);
    }

    const bool hasPresetting = check.Valve.HasPresetting(catalogue);
    const struct {
        QString TBranchInput::*Text;
        double Stored;
        void (*Store)(TBranch&, double);
        TBranchField Field;
    } presettings[] = {
        {&TBranchInput::InitialPresetting, stored.Initial_Presetting,
         [](TBranch& t, double x) { t.Initial_Presetting = x; }, TBranchField::InitialPresetting},
        {&TBranchInput::FinalPresetting, stored.Final_Presetting,
         [](TBranch& t, double x) { t.Final_Presetting = x; }, TBranchField::FinalPresetting},
    };
    for (const auto& p : presettings) {
        const QString& text = input.*p.Text;
        // A new valve may have another range: an unchanged presetting is kept only when it still fits.
        if (untouched(p.Text, text) &&
            (sameValve || !hasPresetting || p.Stored == PresettingEmpty ||
             IsPresettingInRange(p.Stored, check.Valve.Copy)))
            continue;
        double presetting = 0;
        if (!readPresetting(text, hasPresetting, check.Valve.Copy, units.Locale, presetting))
            return refuse(p.Field, EnglishText("Please fill valid presetting"));
        p.Store(b, presetting);
    }

    check.Branch = b;
    return check;
}
