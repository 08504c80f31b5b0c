#include "spreadsheet/ZipPackage.h"

#include "files/SafeFileWriter.h"

#include <QFile>
#include <QStringList>

#include <zip.h>

#include <cstdio>
#include <memory>

namespace {

// The libzip handles: the archive is opened over a memory source that outlives it, so the
// rewritten package can be read back from that source after zip_close.
struct TSourceFree {
    void operator()(zip_source_t* s) const { zip_source_free(s); }
};
struct TArchiveDiscard {
    void operator()(zip_t* z) const { zip_discard(z); }
};
using TSourcePtr = std::unique_ptr<zip_source_t, TSourceFree>;
using TArchivePtr = std::unique_ptr<zip_t, TArchiveDiscard>;

QString zipErrorText(zip_error_t* error) {
    return QString::fromLocal8Bit(zip_error_strerror(error));
}

// Opens the bytes as an archive; the returned source stays valid after the archive is closed.
bool openArchive(const QByteArray& bytes, int flags, TSourcePtr* source, TArchivePtr* archive,
                 QString* reason) {
    zip_error_t error;
    zip_error_init(&error);
    source->reset(zip_source_buffer_create(bytes.constData(), zip_uint64_t(bytes.size()), 0, &error));
    if (!*source) {
        *reason = zipErrorText(&error);
        zip_error_fini(&error);
        return false;
    }
    archive->reset(zip_open_from_source(source->get(), flags, &error));
    if (!*archive) {
        *reason = zipErrorText(&error);
        zip_error_fini(&error);
        return false;
    }
    // The archive took the source over; one more reference keeps it for reading back.
    zip_source_keep(source->get());
    zip_error_fini(&error);
    return true;
}

bool readSource(zip_source_t* source, QByteArray* bytes) {
    if (zip_source_open(source) < 0)
        return false;
    bool ok = zip_source_seek(source, 0, SEEK_END) == 0;
    const zip_int64_t size = ok ? zip_source_tell(source) : -1;
    ok = ok && size >= 0 && zip_source_seek(source, 0, SEEK_SET) == 0;
    if (ok) {
        bytes->resize(qsizetype(size));
        ok = zip_source_read(source, bytes->data(), zip_uint64_t(size)) == size;
    }
    zip_source_close(source);
    return ok;
}

} // namespace

bool TZipPackage::open(const QString& fileName, QString* error) {
    const auto fail = [&](const QString& reason) {
        if (error)
            *error = QStringLiteral("Cannot read %1: %2").arg(fileName, reason);
        return false;
    };
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return fail(file.errorString());
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return fail(file.errorString());

    TSourcePtr source;
    TArchivePtr archive;
    QString reason;
    if (!openArchive(bytes, ZIP_RDONLY, &source, &archive, &reason))
        return fail(reason);
    std::vector<TEntry> entries;
    const zip_int64_t count = zip_get_num_entries(archive.get(), 0);
    for (zip_int64_t i = 0; i < count; ++i) {
        zip_stat_t stat;
        zip_stat_init(&stat);
        if (zip_stat_index(archive.get(), zip_uint64_t(i), 0, &stat) != 0 || !(stat.valid & ZIP_STAT_SIZE) ||
            !stat.name)
            return fail(QString::fromLocal8Bit(zip_strerror(archive.get())));
        TEntry entry;
        entry.name = QString::fromUtf8(stat.name);
        // A corrupt or hostile size field must not make us allocate gigabytes.
        if (stat.size > zip_uint64_t(bytes.size()) * 1100 + (1u << 20))
            return fail(QStringLiteral("the entry %1 is implausibly large").arg(entry.name));
        zip_file_t* member = zip_fopen_index(archive.get(), zip_uint64_t(i), 0);
        if (!member)
            return fail(QString::fromLocal8Bit(zip_strerror(archive.get())));
        entry.data.resize(qsizetype(stat.size));
        const zip_int64_t got = zip_fread(member, entry.data.data(), stat.size);
        zip_fclose(member);
        if (got != zip_int64_t(stat.size))
            return fail(QStringLiteral("the entry %1 is damaged").arg(entry.name));
        entries.push_back(std::move(entry));
    }
    m_fileName = fileName;
    m_original = bytes;
    m_entries = std::move(entries);
    m_modified = false;
    return true;
}

const TZipPackage::TEntry* TZipPackage::find(const QString& name) const {
    for (const TEntry& e : m_entries)
        if (!e.removed && e.name == name)
            return &e;
    return nullptr;
}

bool TZipPackage::contains(const QString& name) const {
    return find(name) != nullptr;
}

QByteArray TZipPackage::entry(const QString& name) const {
    const TEntry* e = find(name);
    return e ? e->data : QByteArray();
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
            e.changed = true;
            return;
        }
    m_entries.push_back(TEntry{name, data, true, false});
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
            *error = QStringLiteral("Cannot write %1: %2").arg(m_fileName, reason);
        return false;
    };
    TSourcePtr source;
    TArchivePtr archive;
    QString reason;
    if (!openArchive(m_original, 0, &source, &archive, &reason))
        return fail(reason);
    for (const TEntry& e : m_entries) {
        if (!e.changed && !e.removed)
            continue;
        const QByteArray name = e.name.toUtf8();
        const zip_int64_t index = zip_name_locate(archive.get(), name.constData(), 0);
        if (e.removed) {
            if (index >= 0 && zip_delete(archive.get(), zip_uint64_t(index)) != 0)
                return fail(QString::fromLocal8Bit(zip_strerror(archive.get())));
            continue;
        }
        // The entry's data lives in m_entries until zip_close has written it.
        zip_source_t* data =
            zip_source_buffer(archive.get(), e.data.constData(), zip_uint64_t(e.data.size()), 0);
        if (!data)
            return fail(QString::fromLocal8Bit(zip_strerror(archive.get())));
        zip_int64_t target = index;
        if (index >= 0) {
            if (zip_file_replace(archive.get(), zip_uint64_t(index), data, 0) != 0) {
                zip_source_free(data);
                return fail(QString::fromLocal8Bit(zip_strerror(archive.get())));
            }
        } else {
            target = zip_file_add(archive.get(), name.constData(), data, ZIP_FL_ENC_UTF_8);
            if (target < 0) {
                zip_source_free(data);
                return fail(QString::fromLocal8Bit(zip_strerror(archive.get())));
            }
        }
        zip_set_file_compression(archive.get(), zip_uint64_t(target), ZIP_CM_DEFLATE, 0);
    }
    if (zip_close(archive.get()) != 0)
        return fail(QString::fromLocal8Bit(zip_strerror(archive.get())));
    archive.release(); // closed and freed by zip_close
    QByteArray written;
    if (!readSource(source.get(), &written))
        return fail(QStringLiteral("the package could not be assembled"));
    if (!writeFileAtomically(m_fileName, written, error))
        return false;
    m_original = written;
    std::vector<TEntry> kept;
    for (TEntry& e : m_entries)
        if (!e.removed)
            kept.push_back(TEntry{e.name, std::move(e.data), false, false});
    m_entries = std::move(kept);
    m_modified = false;
    return true;
}
