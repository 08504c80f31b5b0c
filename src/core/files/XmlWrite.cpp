// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/XmlWrite.h"

#include "files/SafeFileWriter.h"

#include <QDir>
#include <QFileInfo>

#include <bit>
#include <charconv>

static_assert(std::endian::native == std::endian::little,
              "QString's code units are copied out as UTF-16LE bytes");

bool CXmlWrite::Open(const QString& fileName) {
    m_fileName = fileName;
    m_text.clear();
    m_depth = 0;
    if (fileName.isEmpty())
        return false;
    return QFileInfo(QFileInfo(fileName).absolutePath()).isDir();
}

void CXmlWrite::WriteHeader() {
    m_text += QChar(0xFEFF);
    m_text += u"<?xml version = \"1.0\" encoding = \"UNICODE\" standalone = \"yes\"?>\n";
}

void CXmlWrite::indent() {
    for (std::int32_t i = 0; i < m_depth; ++i)
        m_text += u'\t';
}

void CXmlWrite::BeginElement(const QString& name) {
    indent();
    m_text += u'<';
    m_text += name;
    m_text += u">\n";
    ++m_depth;
}

void CXmlWrite::EndElement(const QString& name) {
    --m_depth;
    indent();
    m_text += u"</";
    m_text += name;
    m_text += u">\n";
}

void CXmlWrite::leaf(const QString& name, QStringView content) {
    indent();
    m_text += u'<';
    m_text += name;
    m_text += u'>';
    m_text += content;
    m_text += u"</";
    m_text += name;
    m_text += u">\n";
}

void CXmlWrite::WriteText(const QString& name, const QString& text) {
    leaf(name, text);
}

void CXmlWrite::WriteInt(const QString& name, std::int32_t value) {
    char buffer[16];
    const auto end = std::to_chars(buffer, buffer + sizeof buffer, value).ptr;
    leaf(name, QString::fromLatin1(buffer, end - buffer));
}

void CXmlWrite::WriteShort(const QString& name, std::int16_t value) {
    WriteInt(name, value);
}

void CXmlWrite::WriteDouble(const QString& name, double value) {
    // to_chars never looks at the C locale, which the application sets from the user's settings.
    char buffer[400]; // DBL_MAX in fixed notation needs 309 digits plus sign, point and six decimals
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 6);
    leaf(name, QString::fromLatin1(buffer, result.ptr - buffer));
}

bool CXmlWrite::Close(QString* error) {
    const QByteArray bytes(reinterpret_cast<const char*>(m_text.utf16()), m_text.size() * 2);
    const bool ok = writeFileAtomically(m_fileName, bytes, error);
    m_text.clear();
    m_depth = 0;
    return ok;
}
