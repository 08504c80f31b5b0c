#include "mainwindow/CloseQuestions.h"

#include "files/ProjectCommands.h"
#include "localisation/Translator.h"
#include "ui/UserInterface.h"

bool AskSaveChangesBeforeClose(TProjectCommandContext& c, const std::function<bool()>& saveToInstrument) {
    const TMainState& s = c.State;
    if (!s.Modified)
        return true;
    const ITranslator& t = c.Translator;
    if (s.HasFileName || s.IsNewProject) {
        if (c.Ui.ask(t.Translate(QStringLiteral("Project was not saved to disk")),
                     t.Translate(QStringLiteral("Save now?"))) == IUserInterface::Answer::Yes) {
            const bool saved = s.IsNewProject ? SaveProjectAsCommand(c) : SaveProjectCommand(c);
            if (!saved)
                return false;
        }
    }
    if (s.LinkedToInstrument &&
        c.Ui.ask(t.Translate(QStringLiteral("Project was not saved to ZRV10")),
                 t.Translate(QStringLiteral("Save now to ZRV10?"))) == IUserInterface::Answer::Yes) {
        if (saveToInstrument && !saveToInstrument())
            return false;
    }
    return true;
}
