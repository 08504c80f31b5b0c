#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Regenerates language/messages_uk.txt, the English master list, from the sources.

A text belongs to the list when its string literal is the argument of a member of the Translate
family, of one of the small helpers that translate their literal argument (TRANSLATING_CALLS), or of
EnglishText(), which marks texts translated away from where they are written (tables, texts passed
on). Adjacent literals are joined as the compiler joins them.

    scripts/update-master-list.py            rewrite the master list
    scripts/update-master-list.py --check    exit 1 when a text of the sources is missing from it
"""

import os
import re
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
SOURCE_DIRS = ("src", "app")
MASTER_LIST = os.path.join(ROOT, "language", "messages_uk.txt")

TRANSLATING_CALLS = (
    "Translate", "TranslateFmt", "TranslateSpaced", "TranslateColon", "TranslateExclaim",
    "TranslateEllipsis", "EnglishText",
    # Local helpers that pass their literal straight to Translate.
    "tr_", "tr", "t", "colon", "showMessage",
)

# A call of one of the names, an optional first argument naming a context ("c, "), optional text
# wrappers, then one or more adjacent literals.
_LITERAL = r'(?:u8|u|L)?"(?:[^"\\\n]|\\.)*"'
_CALL = re.compile(
    r'(?<!\w)(?P<name>' + "|".join(TRANSLATING_CALLS) + r')\(\s*'
    r'(?:c,\s*)?'
    r'(?:(?:QStringLiteral|QString::fromUtf8|QString::fromLatin1|QLatin1String|QStringView)\(\s*)?'
    r'(?P<literals>' + _LITERAL + r'(?:\s*' + _LITERAL + r')*)')
_ONE_LITERAL = re.compile(r'(?:u8|u|L)?"((?:[^"\\\n]|\\.)*)"')
_STRING_OR_COMMENT = re.compile(r'(?:u8|u|L)?"(?:[^"\\\n]|\\.)*"|//[^\n]*|/\*.*?\*/', re.S)

_SIMPLE_ESCAPES = {"n": "\n", "t": "\t", "r": "\r", "\\": "\\", '"': '"', "'": "'", "?": "?", "0": "\0"}


def _unescape(body):
    out, i = [], 0
    while i < len(body):
        ch = body[i]
        if ch != "\\":
            out.append(ch)
            i += 1
            continue
        kind = body[i + 1]
        if kind in "uU":
            width = 4 if kind == "u" else 8
            out.append(chr(int(body[i + 2:i + 2 + width], 16)))
            i += 2 + width
        elif kind == "x":
            m = re.match(r"[0-9a-fA-F]+", body[i + 2:])
            out.append(chr(int(m.group(0), 16)))
            i += 2 + len(m.group(0))
        else:
            out.append(_SIMPLE_ESCAPES[kind])
            i += 2
    return "".join(out)


def _without_comments(source):
    # Comments go, literals stay, so that a "//" inside a text is not taken for a comment.
    return _STRING_OR_COMMENT.sub(lambda m: m.group(0) if m.group(0).endswith('"') else " ", source)


def texts_in_source(source):
    texts = []
    for call in _CALL.finditer(_without_comments(source)):
        joined = "".join(_unescape(m.group(1)) for m in _ONE_LITERAL.finditer(call.group("literals")))
        if joined:
            texts.append(joined)
    return texts


def texts_in_tree(root=ROOT):
    """Every text of the sources once, in file order and then in order of appearance."""
    seen, ordered = set(), []
    for top in SOURCE_DIRS:
        for folder, dirs, files in sorted(os.walk(os.path.join(root, top))):
            dirs.sort()
            for name in sorted(files):
                if not name.endswith((".cpp", ".h")):
                    continue
                with open(os.path.join(folder, name), encoding="utf-8") as f:
                    for text in texts_in_source(f.read()):
                        if text not in seen:
                            seen.add(text)
                            ordered.append(text)
    return ordered


def encode_master_list(texts):
    return "\ufeff".encode("utf-16-le") + "".join(t + ";\t\r\n" for t in texts).encode("utf-16-le")


def read_master_list(path=MASTER_LIST):
    with open(path, "rb") as f:
        data = f.read()
    body = data.decode("utf-16-le")
    if body.startswith("\ufeff"):
        body = body[1:]
    return [line[:-2] for line in body.split("\r\n") if line.endswith(";\t")] if body else []


def main(argv):
    texts = texts_in_tree()
    if "--check" in argv:
        listed = set(read_master_list())
        missing = [t for t in texts if t not in listed]
        for t in missing:
            print("not in language/messages_uk.txt: %r" % t)
        if missing:
            print("run scripts/update-master-list.py to add them")
        return 1 if missing else 0
    with open(MASTER_LIST, "wb") as f:
        f.write(encode_master_list(texts))
    print("%d texts written to %s" % (len(texts), os.path.relpath(MASTER_LIST, ROOT)))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
