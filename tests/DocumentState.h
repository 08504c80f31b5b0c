// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "document/ProjectDocument.h"

// Changes some of the document's flags, as a test's starting point.
template <typename F> void changeState(TProjectDocument& document, F&& change) {
    TDocumentState state = document.state();
    change(state);
    document.setState(state);
}
