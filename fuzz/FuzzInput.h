// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

// What every target needs of libFuzzer's input, and one way to report a broken property: abort(), so
// that libFuzzer saves the input like any crash.

inline QByteArray fuzzBytes(const std::uint8_t* data, std::size_t size) {
    return QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
}

// A folder for the files a target saves, alive for the whole run. In memory where the system has
// such a folder: every save is synced to its disk.
inline QString fuzzScratchDir() {
    static QTemporaryDir dir(QDir(QStringLiteral("/dev/shm")).exists()
                                 ? QStringLiteral("/dev/shm/zrv10-fuzz-XXXXXX")
                                 : QDir::tempPath() + QStringLiteral("/zrv10-fuzz-XXXXXX"));
    if (!dir.isValid())
        std::abort();
    return dir.path();
}

inline QByteArray fuzzReadFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        std::abort();
    return file.readAll();
}

// Whether the XML dialect writes a text so that it reads back as written. It has no escapes: a text
// that ends in "<" or holds "</" or a line break or tab is read back otherwise, and such texts only
// get in through a file that was not written by the program.
inline bool dialectCarries(const QString& text) {
    return !text.endsWith(u'<') && !text.contains(QStringLiteral("</")) && !text.contains(u'\t') &&
           !text.contains(u'\r') && !text.contains(u'\n');
}

#define FUZZ_CHECK(condition)                                                                                \
    do {                                                                                                     \
        if (!(condition)) {                                                                                  \
            std::fprintf(stderr, "%s:%d: property broken: %s\n", __FILE__, __LINE__, #condition);            \
            std::abort();                                                                                    \
        }                                                                                                    \
    } while (false)
