// SPDX-License-Identifier: GPL-3.0-or-later
#include "spreadsheet/ZipPackage.h"

#include "files/Platform.h"
#include "spreadsheet/WorkbookFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <QTemporaryFile>

#include <zip.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace {

constexpr qint64 ReadChunk = 64 * 1024;

QString archiveError(zip_t* archive) {
    return QString::fromLocal8Bit(zip_strerror(archive));
}

} // namespace

void TZipPackage::TArchiveClose::operator()(zip* z) const {
    zip_discard(z);
}

TZipPackage::TZipPackage(qint64 inflateLimit, const ITranslator& translator)
    : m_inflateLimit(inflateLimit), m_translator(&translator) {}
TZipPackage::~TZipPackage() = default;
TZipPackage::TZipPackage(TZipPackage&&) noexcept = default;
TZipPackage& TZipPackage::operator=(TZipPackage&& other) noexcept {
    // The archive reads from m_original: close it before those bytes go.
    m_archive.reset();
    m_inflateLimit = other.m_inflateLimit;
    m_translator = other.m_translator;
    m_inflated = other.m_inflated;
    m_fileName = std::move(other.m_fileName);
    m_original = std::move(other.m_original);
    m_archive = std::move(other.m_archive);
    m_entries = std::move(other.m_entries);
    m_modified = other.m_modified;
    return *this;
}

bool TZipPackage::open(const QString& fileName, QString* error) {
    QByteArray bytes;
    return ReadWorkbookFile(fileName, &bytes, error, *m_translator) && openBytes(bytes, fileName, error);
}

bool TZipPackage::openBytes(const QByteArray& bytes, const QString& fileName, QString* error) {
    const auto fail = [&](const QString& reason) {
        if (error)
            *error = m_translator->Translate(QStringLiteral("Cannot read %1: %2")).arg(fileName, reason);
        return false;
    };
    QByteArray original = bytes;
    zip_error_t zipError;
    zip_error_init(&zipError);
    // The source does not own the bytes; `original` moves into m_original, keeping its buffer.
    zip_source_t* source =
        zip_source_buffer_create(original.constData(), zip_uint64_t(original.size()), 0, &zipError);
    zip_t* opened = source ? zip_open_from_source(source, ZIP_RDONLY, &zipError) : nullptr;
    if (!opened) {
        const QString reason = QString::fromLocal8Bit(zip_error_strerror(&zipError));
        zip_error_fini(&zipError);
        if (source)
            zip_source_free(source);
        return fail(reason);
    }
    zip_error_fini(&zipError);
    std::unique_ptr<zip, TArchiveClose> archive(opened);

    std::vector<TEntry> entries;
    const zip_int64_t count = zip_get_num_entries(opened, 0);
    for (zip_int64_t i = 0; i < count; ++i) {
        const char* name = zip_get_name(opened, zip_uint64_t(i), 0);
        if (!name)
            return fail(archiveError(opened));
        TEntry entry;
        entry.name = QString::fromUtf8(name);
        entry.index = i;
        entries.push_back(std::move(entry));
    }
    m_fileName = fileName;
    m_archive.reset();
    m_original = std::move(original);
    m_archive = std::move(archive);
    m_entries = std::move(entries);
    m_inflated = 0;
    m_modified = false;
    return true;
}

const TZipPackage::TEntry* TZipPackage::find(const QString& name) const {
    for (const TEntry& e : m_entries)
        if (!e.removed && e.name == name)
            return &e;
    return nullptr;
}

bool TZipPackage::load(const TEntry& entry, QString* error) const {
    if (entry.loaded)
        return true;
    const auto fail = [&](const QString& reason) {
        if (error)
            *error = m_translator->Translate(QStringLiteral("The workbook %1 cannot be read: %2"))
                         .arg(m_fileName, reason);
        return false;
    };
    const QString damaged =
        m_translator->Translate(QStringLiteral("the part %1 is damaged.")).arg(entry.name);
    const qint64 budget = m_inflateLimit - m_inflated;
    const QString tooLarge =
        m_translator
            ->Translate(
                QStringLiteral("its parts unpack to more than %1 MB, so it is damaged or not a workbook."))
            .arg(m_inflateLimit >> 20);
    zip_stat_t stat;
    zip_stat_init(&stat);
    if (!m_archive || zip_stat_index(m_archive.get(), zip_uint64_t(entry.index), 0, &stat) != 0)
        return fail(damaged);
    // The size field may lie; it only decides early, the bytes inflated are counted below.
    if ((stat.valid & ZIP_STAT_SIZE) && stat.size > zip_uint64_t(budget))
        return fail(tooLarge);
    zip_file_t* member = zip_fopen_index(m_archive.get(), zip_uint64_t(entry.index), 0);
    if (!member)
        return fail(damaged);
    QByteArray data;
    if (stat.valid & ZIP_STAT_SIZE)
        data.reserve(qsizetype(stat.size));
    bool ok = true;
    for (;;) {
        const qint64 room = budget - data.size();
        const qint64 want = std::min(ReadChunk, room + 1); // one byte past the budget shows it is passed
        const qsizetype at = data.size();
        data.resize(at + qsizetype(want));
        const zip_int64_t got = zip_fread(member, data.data() + at, zip_uint64_t(want));
        if (got < 0) {
            ok = false;
            break;
        }
        data.resize(at + qsizetype(got));
        if (data.size() > budget) {
            zip_fclose(member);
            return fail(tooLarge);
        }
        if (got == 0)
            break;
    }
    zip_fclose(member);
    if (!ok || ((stat.valid & ZIP_STAT_SIZE) && zip_uint64_t(data.size()) != stat.size))
        return fail(damaged);
    m_inflated += data.size();
    entry.data = std::move(data);
    entry.loaded = true;
    return true;
}

bool TZipPackage::contains(const QString& name) const {
    return find(name) != nullptr;
}

bool TZipPackage::readEntry(const QString& name, QByteArray* data, QString* error) const {
    const TEntry* e = find(name);
    if (!e) {
        if (error)
            *error =
                m_translator->Translate(QStringLiteral("The workbook %1 is damaged: the part %2 is missing."))
                    .arg(m_fileName, name);
        return false;
    }
    if (!load(*e, error))
        return false;
    *data = e->data;
    return true;
}

QByteArray TZipPackage::entry(const QString& name) const {
    QByteArray data;
    readEntry(name, &data, nullptr);
    return data;
}

QStringList TZipPackage::entryNames() const {
    QStringList names;
    for (const TEntry& e : m_entries)
        if (!e.removed)
            names.append(e.name);
    return names;
}

void TZipPackage::setEntry(const QString& name, const QByteArray& data) {
    m_modified = true;
    for (TEntry& e : m_entries)
        if (!e.removed && e.name == name) {
            e.data = data;
            e.loaded = true;
            e.changed = true;
            return;
        }
    TEntry added;
    added.name = name;
    added.data = data;
    added.loaded = true;
    added.changed = true;
    m_entries.push_back(std::move(added));
}

void TZipPackage::removeEntry(const QString& name) {
    for (TEntry& e : m_entries)
        if (!e.removed && e.name == name) {
            e.removed = true;
            m_modified = true;
        }
}

bool TZipPackage::save(QString* error) {
    if (!m_modified)
        return true;
    const auto fail = [&](const QString& reason) {
        if (error)
            *error = m_translator->Translate(QStringLiteral("Cannot write %1: %2"))
                         .arg(QDir::toNativeSeparators(m_fileName), reason);
        return false;
    };
    const QFileInfo target(m_fileName);
    QTemporaryFile temporary(target.absolutePath() + QStringLiteral("/.") + target.fileName() +
                             QStringLiteral(".XXXXXX"));
    if (!temporary.open())
        return fail(temporary.errorString());
    temporary.close();
    const QString temporaryPath = temporary.fileName();

    int code = 0;
    zip_t* out = zip_open(QFile::encodeName(temporaryPath).constData(), ZIP_TRUNCATE, &code);
    if (!out) {
        zip_error_t zipError;
        zip_error_init_with_code(&zipError, code);
        const QString reason = QString::fromLocal8Bit(zip_error_strerror(&zipError));
        zip_error_fini(&zipError);
        return fail(reason);
    }
    std::unique_ptr<zip, TArchiveClose> archive(out);
    for (const TEntry& e : m_entries) {
        if (e.removed)
            continue;
        // Untouched entries are copied in their stored form; changed data lives in m_entries
        // until zip_close has written it, and libzip never frees it.
        zip_source_t* data = e.changed
                                 ? zip_source_buffer(out, e.data.constData(), zip_uint64_t(e.data.size()), 0)
                                 : zip_source_zip(out, m_archive.get(), zip_uint64_t(e.index), 0, 0, -1);
        if (!data)
            return fail(archiveError(out));
        const QByteArray name = e.name.toUtf8();
        const zip_int64_t index = zip_file_add(out, name.constData(), data, ZIP_FL_ENC_UTF_8);
        if (index < 0) {
            zip_source_free(data);
            return fail(archiveError(out));
        }
        if (e.changed)
            zip_set_file_compression(out, zip_uint64_t(index), ZIP_CM_DEFLATE, 0);
    }
    if (zip_close(out) != 0)
        return fail(archiveError(out));
    archive.release(); // closed and freed by zip_close

    if (target.exists())
        QFile::setPermissions(temporaryPath, QFile::permissions(m_fileName));
    // The bytes reach the disk before the file is renamed over the target.
    if (const QString reason = SyncFileToDisk(temporaryPath); !reason.isEmpty())
        return fail(reason);
    if (::rename(QFile::encodeName(temporaryPath).constData(), QFile::encodeName(m_fileName).constData()) !=
        0)
        return fail(QString::fromLocal8Bit(std::strerror(errno)));

    // Read back what was written, so that later reads and saves start from the file as it is now.
    TZipPackage reopened(m_inflateLimit, *m_translator);
    if (!reopened.open(m_fileName, error))
        return false;
    *this = std::move(reopened);
    return true;
}
