// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <cstdint>

// Writes the program's own small XML dialect: UTF-16LE with a byte order mark, one element per line,
// one tab per open container, LF line ends, no attributes and no escaping. The project and record
// files rely on these exact bytes, and the instrument's other tools read them.
//
// The document is built in memory; Close hands every byte to writeFileAtomically, so a failed save
// never leaves a truncated file where the old one was.
class CXmlWrite {
public:
    // Depth 0, an empty document. False only when the name is empty or its folder does not exist.
    bool Open(const QString& fileName);
    void WriteHeader();
    void BeginElement(const QString& name);
    // The name is not checked against the open element.
    void EndElement(const QString& name);
    // The text is written verbatim; an empty text leaves nothing between the tags.
    void WriteText(const QString& name, const QString& text);
    void WriteInt(const QString& name, std::int32_t value);
    void WriteShort(const QString& name, std::int16_t value);
    // Fixed notation with six decimals and a "." whatever the locale.
    void WriteDouble(const QString& name, double value);
    // False with *error (if given) a sentence for the user; the old file is then untouched.
    bool Close(QString* error = nullptr);

    // The document so far, as UTF-16 code units (for tests and for callers that need the bytes).
    const QString& document() const { return m_text; }

private:
    void indent();
    void leaf(const QString& name, QStringView content);

    QString m_fileName;
    QString m_text;
    std::int32_t m_depth = 0;
};
