// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/XmlLoad.h"

#include "files/ConversionError.h"
#include "model/ParseNumber.h"

#include <QDir>
#include <QFile>

#include <bit>
#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>
#include <optional>

static_assert(std::endian::native == std::endian::little, "the file's UTF-16LE bytes are used in place");

namespace {

QString openError(const QString& fileName, const QString& reason) {
    return QStringLiteral("Cannot read %1: %2").arg(QDir::toNativeSeparators(fileName), reason);
}

bool isBreak(char16_t c) {
    return c == u'\n' || c == u'\t' || c == u'\r';
}

// The form the writer produces ("-12.500000"), converted as ParseNumber would convert it, without
// the locale machinery that dominates the load of a large file. Anything else goes to ParseNumber.
std::optional<double> plainDecimal(const QString& text) {
    constexpr qsizetype maxLength = 40;
    if (text.size() > maxLength)
        return std::nullopt;
    char ascii[maxLength] = {};
    bool point = false;
    qsizetype digits = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text.at(i).unicode();
        if (c >= u'0' && c <= u'9')
            ++digits;
        else if (c == u'.' && !point && digits > 0 && i + 1 < text.size())
            point = true;
        else if (!(c == u'-' && i == 0))
            return std::nullopt;
        ascii[i] = static_cast<char>(c);
    }
    double value = 0;
    const auto result = std::from_chars(ascii, ascii + text.size(), value);
    if (digits == 0 || result.ec != std::errc() || result.ptr != ascii + text.size())
        return std::nullopt;
    // ParseNumber's range and rounding.
    if (!std::isfinite(value) || std::fabs(value) > 3.4e38)
        return std::nullopt;
    return static_cast<double>(static_cast<float>(value));
}

} // namespace

CXmlLoad::CXmlLoad(const QLocale& locale) : m_locale(locale) {}

std::optional<QByteArray> CXmlLoad::ReadFile(const QString& fileName, QString* error) {
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = openError(fileName, file.errorString());
        return std::nullopt;
    }
    const qint64 size = file.size();
    if (size > MaxFileSize) {
        if (error)
            *error = openError(fileName, QStringLiteral("the file is too large (%1 bytes)").arg(size));
        return std::nullopt;
    }
    QByteArray bytes = file.read(size);
    if (bytes.size() != size) {
        if (error)
            *error = openError(fileName, file.errorString());
        return std::nullopt;
    }
    return bytes;
}

void CXmlLoad::OpenBytes(const QByteArray& bytes) {
    Close();
    m_units.resize(static_cast<std::size_t>(bytes.size() / 2));
    if (!m_units.empty())
        std::memcpy(m_units.data(), bytes.constData(), m_units.size() * 2);
    m_pos = m_units.data();
    m_end = m_pos + m_units.size();
}

bool CXmlLoad::Open(const QString& fileName, QString* error) {
    Close();
    const std::optional<QByteArray> bytes = ReadFile(fileName, error);
    if (!bytes)
        return false;
    OpenBytes(*bytes);
    return true;
}

void CXmlLoad::Close() {
    m_units.clear();
    m_units.shrink_to_fit();
    m_pos = m_end = nullptr;
    m_depth = 0;
    m_name.clear();
    m_value.clear();
}

bool CXmlLoad::readUnit(char16_t& c) {
    if (m_pos >= m_end)
        return false;
    c = *m_pos++;
    return true;
}

bool CXmlLoad::CheckHeader() {
    char16_t c;
    if (!readUnit(c))
        return false;
    // One line of at most 1023 characters, the line feed included.
    bool found = false;
    char16_t last2 = 0, last1 = 0;
    for (int n = 0; n < 1023 && readUnit(c); ++n) {
        if (last2 == u'x' && last1 == u'm' && c == u'l')
            found = true;
        last2 = last1;
        last1 = c;
        if (c == u'\n')
            break;
    }
    return found;
}

std::int32_t CXmlLoad::ReadTag() {
    // Name and value are each one unbroken run of the file, so they are taken as ranges rather
    // than built a character at a time.
    enum State { BeforeTag, InName, InContent, InClosing, Done };
    State state = BeforeTag;
    const char16_t* p = m_pos;
    const char16_t* const end = m_end;
    const char16_t* nameBegin = nullptr;
    const char16_t* nameEnd = nullptr;
    const char16_t* valueBegin = nullptr;
    const char16_t* valueEnd = nullptr;
    while (state != Done && p < end) {
        const char16_t c = *p++;
        if (isBreak(c))
            break;
        switch (state) {
        case BeforeTag:
            if (c == u'<') {
                state = InName;
                nameBegin = nameEnd = p;
            }
            break;
        case InName:
            if (c == u'>') {
                state = InContent;
                valueBegin = valueEnd = p;
            } else {
                nameEnd = p;
            }
            break;
        case InContent:
            if (c != u'<') {
                valueEnd = p;
            } else if (p < end) {
                // The character after "<" is taken whatever it is, a line break included.
                if (*p++ == u'/')
                    state = InClosing;
                else
                    valueEnd = p;
            }
            break;
        case InClosing:
            if (c == u'>')
                state = Done;
            break;
        case Done:
            break;
        }
    }
    m_pos = p;
    const auto assign = [](QString& target, const char16_t* from, const char16_t* to) {
        if (from == to)
            target.resize(0); // keeps the buffer for the next element
        else
            target.setUnicode(reinterpret_cast<const QChar*>(from), to - from);
    };
    assign(m_name, nameBegin, nameEnd);
    assign(m_value, valueBegin, valueEnd);
    if (state != Done && m_value.isEmpty() && !m_name.isEmpty())
        m_depth += m_name.front() == u'/' ? -1 : 1;
    return m_depth;
}

bool CXmlLoad::GetText(const QString& name, QString& out) const {
    if (name != m_name)
        return false;
    out = m_value;
    return true;
}

std::int32_t CXmlLoad::toInt() const {
    const auto fail = [this]() {
        return TConversionError(QStringLiteral("\"%1\" holds \"%2\", which is not a whole number")
                                    .arg(m_name, m_value)
                                    .toStdString());
    };
    const char16_t* p = reinterpret_cast<const char16_t*>(m_value.utf16());
    const char16_t* end = p + m_value.size();
    bool negative = false;
    if (p != end && (*p == u'-' || *p == u'+'))
        negative = *p++ == u'-';
    if (p == end)
        throw fail();
    std::int64_t magnitude = 0;
    for (; p != end; ++p) {
        if (*p < u'0' || *p > u'9')
            throw fail();
        magnitude = magnitude * 10 + (*p - u'0');
        if (magnitude > std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1)
            throw fail();
    }
    const std::int64_t value = negative ? -magnitude : magnitude;
    if (value > std::numeric_limits<std::int32_t>::max())
        throw fail();
    return static_cast<std::int32_t>(value);
}

bool CXmlLoad::GetInt(const QString& name, std::int32_t& out) const {
    if (name != m_name)
        return false;
    out = toInt();
    return true;
}

bool CXmlLoad::GetShort(const QString& name, std::int16_t& out) const {
    if (name != m_name)
        return false;
    out = static_cast<std::int16_t>(toInt());
    return true;
}

bool CXmlLoad::GetShort(const QString& name, std::uint16_t& out) const {
    if (name != m_name)
        return false;
    out = static_cast<std::uint16_t>(toInt());
    return true;
}

bool CXmlLoad::GetDouble(const QString& name, double& out) const {
    if (name != m_name)
        return false;
    if (const auto fixed = plainDecimal(m_value))
        out = *fixed;
    else
        out = ParseNumber(m_value, m_locale);
    return true;
}
