// SPDX-License-Identifier: GPL-3.0-or-later
#include "spreadsheet/SheetProtection.h"

#include <QByteArray>
#include <QCryptographicHash>

#include <optional>

namespace {

// A hostile file could ask for billions of rounds and freeze the program.
constexpr long long MaxSpinCount = 10'000'000;

std::optional<QCryptographicHash::Algorithm> hashAlgorithm(const QString& name) {
    const QString n = name.trimmed().toUpper();
    if (n == u"SHA-512")
        return QCryptographicHash::Sha512;
    if (n == u"SHA-384")
        return QCryptographicHash::Sha384;
    if (n == u"SHA-256")
        return QCryptographicHash::Sha256;
    if (n == u"SHA-1")
        return QCryptographicHash::Sha1;
    if (n == u"MD5")
        return QCryptographicHash::Md5;
    return std::nullopt;
}

QByteArray utf16le(const QString& text) {
    QByteArray bytes;
    bytes.reserve(text.size() * 2);
    for (const QChar c : text) {
        bytes.append(char(c.unicode() & 0xff));
        bytes.append(char(c.unicode() >> 8));
    }
    return bytes;
}

QString wrongPassword(const ITranslator& translator) {
    return translator.Translate(QStringLiteral("The password does not unprotect the worksheet."));
}

} // namespace

std::uint16_t LegacySheetPasswordHash(const QString& password) {
    unsigned hash = 0;
    for (qsizetype i = password.size() - 1; i >= 0; --i) {
        hash = ((hash >> 14) & 1u) | ((hash << 1) & 0x7fffu);
        hash ^= password[i].unicode() & 0xffu;
    }
    hash = ((hash >> 14) & 1u) | ((hash << 1) & 0x7fffu);
    hash ^= unsigned(password.size()) & 0xffffu;
    hash ^= 0xce4bu;
    return std::uint16_t(hash);
}

bool SheetPasswordMatches(const TSheetProtection& protection, const QString& password, QString* error,
                          const ITranslator& translator) {
    const auto fail = [error](const QString& text) {
        if (error)
            *error = text;
        return false;
    };
    if (!protection.hashValue.isEmpty()) {
        const auto algorithm = hashAlgorithm(protection.algorithmName);
        if (!algorithm)
            return fail(translator
                            .Translate(QStringLiteral("The worksheet is protected with an unsupported "
                                                      "algorithm: %1."))
                            .arg(protection.algorithmName));
        bool ok = true;
        const long long spins =
            protection.spinCount.isEmpty() ? 0 : protection.spinCount.trimmed().toLongLong(&ok);
        if (!ok || spins < 0 || spins > MaxSpinCount)
            return fail(
                translator
                    .Translate(QStringLiteral("The worksheet protection has an invalid spin count: %1."))
                    .arg(protection.spinCount));
        const QByteArray salt = QByteArray::fromBase64(protection.saltValue.toLatin1());
        QByteArray hash = QCryptographicHash::hash(salt + utf16le(password), *algorithm);
        QCryptographicHash round(*algorithm);
        for (long long i = 0; i < spins; ++i) {
            const quint32 n = quint32(i);
            const char iterator[4] = {char(n & 0xff), char((n >> 8) & 0xff), char((n >> 16) & 0xff),
                                      char((n >> 24) & 0xff)};
            round.reset();
            round.addData(hash);
            round.addData(QByteArrayView(iterator, 4));
            hash = round.result();
        }
        if (hash != QByteArray::fromBase64(protection.hashValue.toLatin1()))
            return fail(wrongPassword(translator));
        return true;
    }
    if (!protection.legacyHash.isEmpty()) {
        bool ok = false;
        const unsigned stored = protection.legacyHash.trimmed().toUInt(&ok, 16);
        if (!ok || stored != LegacySheetPasswordHash(password))
            return fail(wrongPassword(translator));
        return true;
    }
    return true;
}
