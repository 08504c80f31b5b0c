#include "mainwindow/BranchConfirmation.h"

#include "localisation/Translator.h"
#include "model/InstrumentText.h"
#include "model/Markers.h"
#include "model/ParseNumber.h"
#include "model/Units.h"

namespace {

bool readPresetting(const QString& text, bool hasPresetting, const TValve& valve, const QLocale& locale,
                    double& value) {
    if (hasPresetting && text.isEmpty()) {
        value = PresettingEmpty;
        return true;
    }
    value = ParseNumber(text, locale);
    return !hasPresetting || IsPresettingInRange(value, valve);
}

} // namespace

TBranchCheck CheckBranchInput(const TBranch& stored, const TBranchInput& input,
                              const TValveCatalogue& catalogue, const TValveSelection& selection,
                              const TUnits& units, int codePage) {
    TBranchCheck check;
    check.Branch = stored;
    check.Valve = selection;
    check.EditName = input.Name;
    auto refuse = [&](TBranchField field, const char* message) {
        check.Refusal = TBranchRefusal{field, QString::fromLatin1(message)};
        check.Branch = stored;
        check.Valve = selection;
        return check;
    };

    if (input.Name.isEmpty())
        return refuse(TBranchField::Name, EnglishText("Please fill name"));
    check.EditName = input.Name.left(NameEditLength);
    TBranch b = stored;
    EncodeInstrumentText(check.EditName, b.Name, NameFieldSize, codePage);

    if (input.Manufacturer < 0)
        return refuse(TBranchField::Manufacturer, EnglishText("Select manufacturer"));
    if (input.Type < 0)
        return refuse(TBranchField::Type, EnglishText("Select type"));
    b.Valve_Index =
        static_cast<std::uint16_t>(check.Valve.SelectValve(catalogue, input.Manufacturer, input.Type));

    const struct {
        const QString& Text;
        void (*Store)(TBranch&, double); // the fields are packed: no member pointers
        TBranchField Field;
        bool Flow;
    } values[] = {
        {input.InitialPressure, [](TBranch& t, double x) { t.Initial_Pressure = x; },
         TBranchField::InitialPressure, false},
        {input.FinalPressure, [](TBranch& t, double x) { t.Final_Pressure = x; }, TBranchField::FinalPressure,
         false},
        {input.RequestedFlow, [](TBranch& t, double x) { t.Request_Flow = x; }, TBranchField::RequestedFlow,
         true},
        {input.InitialFlow, [](TBranch& t, double x) { t.Initial_Flow = x; }, TBranchField::InitialFlow,
         true},
        {input.FinalFlow, [](TBranch& t, double x) { t.Final_Flow = x; }, TBranchField::FinalFlow, true},
    };
    for (const auto& v : values) {
        const double value = v.Flow ? units.ParseFlow(v.Text) : units.ParsePressure(v.Text);
        if (v.Flow ? !IsValidFlow(value) : !IsValidPressure(value))
            return refuse(v.Field, v.Flow ? EnglishText("Please fill valid flow")
                                          : EnglishText("Please fill valid pressure"));
        v.Store(b, value);
    }

    const bool hasPresetting = check.Valve.HasPresetting(catalogue);
    double presetting = 0;
    if (!readPresetting(input.InitialPresetting, hasPresetting, check.Valve.Copy, units.Locale, presetting))
        return refuse(TBranchField::InitialPresetting, EnglishText("Please fill valid presetting"));
    b.Initial_Presetting = presetting;
    if (!readPresetting(input.FinalPresetting, hasPresetting, check.Valve.Copy, units.Locale, presetting))
        return refuse(TBranchField::FinalPresetting, EnglishText("Please fill valid presetting"));
    b.Final_Presetting = presetting;

    check.Branch = b;
    return check;
}
