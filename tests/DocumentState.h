// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "document/ProjectDocument.h"

#include <memory>

// Changes some of the document's flags, as a test's starting point.
template <typename F> void changeState(TProjectDocument& document, F&& change) {
    TDocumentState state = document.state();
    change(state);
    document.setState(state);
}

// A test's starting project: the document's own with `change` applied, put in as an opened file's
// would be, the flags staying as they were. The project is never written in place.
template <typename F> void replaceProject(TProjectDocument& document, F&& change) {
    auto project = std::make_unique<TProject>(document.project());
    change(*project);
    const TDocumentState state = document.state();
    document.replaceFromFile(*project, state.ProjectFileName);
    document.setState(state);
}
