// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QLocale>
#include <QString>

#include <cstdint>
#include <optional>
#include <vector>

// Pull reader for the dialect CXmlWrite produces: hands out one element at a time together with
// the nesting depth, and builds no tree. It reads the whole file into memory first, so a reader
// never sees a file change under it and the scan runs without per-character I/O.
class CXmlLoad {
public:
    // Project and record files of the largest instrument contents stay far below this.
    static constexpr qint64 MaxFileSize = 128 * 1024 * 1024;

    // The locale ParseNumber uses for GetDouble.
    explicit CXmlLoad(const QLocale& locale);

    // The whole file, or nullopt with *error (if given) a sentence for the user when it cannot be
    // read or is larger than MaxFileSize. Every loader of the dialect reads its file through here.
    static std::optional<QByteArray> ReadFile(const QString& fileName, QString* error = nullptr);
    // Depth 0, over a copy of the bytes: a file's, a transfer's or the clipboard's alike. A trailing
    // odd byte is half a character and reads as the end of the file.
    void OpenBytes(const QByteArray& bytes);
    // ReadFile, then OpenBytes.
    bool Open(const QString& fileName, QString* error = nullptr);
    // Skips the first character (the byte order mark, whatever it is) and consumes the declaration
    // line; true when that line contains "xml".
    bool CheckHeader();
    // Reads the next element, or the next tab, CR or LF, and returns the depth after it.
    std::int32_t ReadTag();
    // End of the file: readers stop here whatever depth they are at.
    bool AtEnd() const { return m_pos >= m_end; }
    const QString& Name() const { return m_name; }
    const QString& Value() const { return m_value; }

    // Each answers false and leaves out untouched unless name equals Name() exactly.
    bool GetText(const QString& name, QString& out) const;
    // Strict decimal conversion; throws TConversionError on anything else.
    bool GetInt(const QString& name, std::int32_t& out) const;
    // The same conversion; the low 16 bits are stored.
    bool GetShort(const QString& name, std::int16_t& out) const;
    bool GetShort(const QString& name, std::uint16_t& out) const;
    // ParseNumber: "." or "," as decimal point, no number gives 0; never fails.
    bool GetDouble(const QString& name, double& out) const;
    void Close();

private:
    bool readUnit(char16_t& c);
    std::int32_t toInt() const;

    QLocale m_locale;
    std::vector<char16_t> m_units;
    const char16_t* m_pos = nullptr;
    const char16_t* m_end = nullptr;
    std::int32_t m_depth = 0;
    QString m_name;
    QString m_value;
};
