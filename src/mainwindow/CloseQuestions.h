#pragma once

#include <functional>

struct TProjectCommandContext;

// The save questions asked when the main window closes: the disk question, then the instrument
// question, each with Yes and No. A save the user asked for that did not happen (it failed or its
// file dialog was cancelled) ends the questions and answers false, so that the window stays open and
// nothing is lost. saveToInstrument answers false when the write failed.
bool AskSaveChangesBeforeClose(TProjectCommandContext& context,
                               const std::function<bool()>& saveToInstrument);
