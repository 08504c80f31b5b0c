// SPDX-License-Identifier: GPL-3.0-or-later
#include "simulator/Platform.h"

#include <cerrno>
#include <cstdio>
#include <dlfcn.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

bool writeAll(int fd, const std::uint8_t* bytes, std::size_t count) {
    while (count > 0) {
        const ssize_t written = ::write(fd, bytes, count);
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        bytes += written;
        count -= static_cast<std::size_t>(written);
    }
    return true;
}

} // namespace

std::string ThisLibraryFolder() {
    Dl_info info{};
    static const int anchor = 0;
    if (dladdr(&anchor, &info) != 0 && info.dli_fname != nullptr) {
        const std::string library = info.dli_fname;
        const auto slash = library.rfind('/');
        if (slash != std::string::npos)
            return library.substr(0, slash);
    }
    return ".";
}

TFileReplace ReplaceFile(const std::string& path, const std::uint8_t* bytes, std::size_t count) {
    std::string temporary = path + ".XXXXXX";
    const int fd = ::mkstemp(temporary.data());
    if (fd < 0)
        return TFileReplace::NoTemporary;
    // No fsync: the image guards against a broken-off run, not a power cut, and a sync per 52-byte
    // write would dominate every transfer.
    const bool written = ::fchmod(fd, 0644) == 0 && writeAll(fd, bytes, count);
    const bool closed = ::close(fd) == 0;
    if (!written || !closed || std::rename(temporary.c_str(), path.c_str()) != 0) {
        const int reason = errno;
        ::unlink(temporary.c_str());
        errno = reason;
        return TFileReplace::NotWritten;
    }
    return TFileReplace::Replaced;
}
