// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/DriverLibrary.h"

#include "DriverEntryPoints.h"

#include <QFileInfo>
#include <QLibrary>

namespace {

// Holds the entry points only when all nine resolved; otherwise every call fails without touching the
// library, so an operation ends with its usual device message, and the loader's reason stays the answer
// to LastFailure().
class TLibraryDriver final : public IUsbDriver {
public:
    explicit TLibraryDriver(const TDriverEntryPoints& entries) : m_entries(entries), m_usable(true) {}
    explicit TLibraryDriver(TDriverFailure failure) : m_loadFailure(std::move(failure)) {}

    std::uint32_t GetDeviceCount(const char* vidPid) override {
        return m_usable ? m_entries.GetDeviceCount(vidPid) : 0;
    }
    void* Open(std::uint32_t instance, const char* vidPid, const char* endpoint, std::uint32_t direction,
               std::uint32_t reserved) override {
        return m_usable ? m_entries.Open(instance, vidPid, endpoint, direction, reserved) : InvalidPipe();
    }
    std::uint32_t Read(void* pipe, void* data, std::uint32_t length, std::uint32_t* received,
                       std::uint32_t timeoutMs) override {
        if (!m_usable) {
            if (received)
                *received = 0;
            return 0;
        }
        return m_entries.Read(pipe, data, length, received, timeoutMs);
    }
    std::uint32_t Write(void* pipe, const void* data, std::uint32_t length, std::uint32_t* sent,
                        std::uint32_t timeoutMs) override {
        if (!m_usable) {
            if (sent)
                *sent = 0;
            return 0;
        }
        return m_entries.Write(pipe, data, length, sent, timeoutMs);
    }
    std::uint32_t Close(void* pipe) override { return m_usable ? m_entries.Close(pipe) : 0; }
    TDriverFailure LastFailure() const override {
        if (!m_usable)
            return m_loadFailure;
        return m_entries.LastFailure ? DriverFailureFromCode(m_entries.LastFailure()) : TDriverFailure{};
    }

private:
    TDriverEntryPoints m_entries;
    TDriverFailure m_loadFailure;
    bool m_usable = false;
};

// The system loader's own words: QLibrary wraps them in a sentence of its own naming the file, which
// the message around them names already.
QString systemReason(const QLibrary& library, const QString& path) {
    const QString text = library.errorString();
    const QString wrapper = QStringLiteral("Cannot load library %1: ").arg(path);
    if (!text.startsWith(wrapper))
        return text;
    QString reason = text.mid(wrapper.size());
    if (reason.startsWith(u'(') && reason.endsWith(u')'))
        reason = reason.mid(1, reason.size() - 2);
    return reason;
}

} // namespace

std::unique_ptr<IUsbDriver> LoadDriver(const QString& libraryPath, bool* complete) {
    if (complete)
        *complete = false;
    // An empty name would hand back the program itself, a bare one would search the system's library
    // folders: only the named file is ever loaded.
    const QString absolute = libraryPath.isEmpty() ? QString() : QFileInfo(libraryPath).absoluteFilePath();
    if (absolute.isEmpty() || !QFileInfo::exists(absolute))
        return std::make_unique<TLibraryDriver>(TDriverFailure{
            TDriverFailureKind::LibraryMissing, absolute.isEmpty() ? libraryPath : absolute, {}});
    // Never unloaded (QLibrary's destructor leaves it loaded): a driver may keep threads or handles
    // that outlive one operation. Every symbol is bound at load, as the system loader would be asked.
    QLibrary library(absolute);
    library.setLoadHints(QLibrary::ResolveAllSymbolsHint);
    if (!library.load())
        return std::make_unique<TLibraryDriver>(
            TDriverFailure{TDriverFailureKind::LibraryUnloadable, absolute, systemReason(library, absolute)});
    TDriverEntryPoints entries;
    if (const char* missing =
            ResolveDriverEntryPoints([&library](const char* name) { return library.resolve(name); }, entries))
        return std::make_unique<TLibraryDriver>(
            TDriverFailure{TDriverFailureKind::LibraryIncomplete, absolute, QString::fromLatin1(missing)});
    if (complete)
        *complete = true;
    return std::make_unique<TLibraryDriver>(entries);
}

QString DefaultDriverPath(const QString& executableDir) {
    return executableDir + QStringLiteral("/libmpusbapi.so");
}
