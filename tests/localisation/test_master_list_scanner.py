#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""The master-list scanner finds the texts the way the compiler sees them."""

import os
import runpy
import sys
import types

HERE = os.path.dirname(os.path.abspath(__file__))
master_list = types.SimpleNamespace(**runpy.run_path(
    os.path.join(HERE, "..", "..", "scripts", "update-master-list.py"), run_name="master_list"))

SOURCE = r'''
    ui.setStatus(catalogue.TranslateExclaim(QStringLiteral("Device is not connected")));
    c.Ui.ask(t.Translate(QStringLiteral("Save now?")), x);
    const QString a = m_state.Messages.TranslateFmt(QStringLiteral("Do you want to overwrite the project %s?"), n);
    return tr_(c, "Error");
    prj.Heading->setText(t("   -  Project  -   "));
    {"mFile", EnglishText("File"), V::Plain},
    showMessage("Cannot add branch "
                "(maximum 1500 branches)");
    colon(u"Valve type");
    x = Translate(QStringLiteral("Say \"yes\" \u00B0"));
    // Translate("Only in a comment")
    /* tr_("Nor here") */
    const char* url = "http://example"; Translate(QStringLiteral("After // in a text"));
    NotTranslate(QStringLiteral("Other function"));
    format(QStringLiteral("Not translated"));
'''

EXPECTED = [
    "Device is not connected", "Save now?", "Do you want to overwrite the project %s?", "Error",
    "   -  Project  -   ", "File", "Cannot add branch (maximum 1500 branches)", "Valve type",
    'Say "yes" \u00b0', "After // in a text",
]

found = master_list.texts_in_source(SOURCE)
if found != EXPECTED:
    print("found:   ", found)
    print("expected:", EXPECTED)
    sys.exit(1)

# The file format round-trips: UTF-16LE with a byte-order mark, each text + ";", tab, CR, LF.
encoded = master_list.encode_master_list(["Open", "   -  Project  -   "])
assert encoded == "\ufeffOpen;\t\r\n   -  Project  -   ;\t\r\n".encode("utf-16-le"), encoded
print("ok")
