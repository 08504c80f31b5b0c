// SPDX-License-Identifier: GPL-3.0-or-later
// Preloaded (LD_PRELOAD) into the program under measurement: writes one line to the file descriptor
// named by ZRV_FIRST_PAINT_FD when the first paint event reaches a main window, so that the program
// and the bare window are timed the same way and the program itself carries no hook for it.
#include <QCoreApplication>
#include <QEvent>
#include <QMainWindow>

#include <cstdlib>
#include <unistd.h>

namespace {

class FirstPaintFilter final : public QObject {
public:
    explicit FirstPaintFilter(int fd) : m_fd(fd) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && qobject_cast<QMainWindow*>(watched)) {
            const char line[] = "painted\n";
            [[maybe_unused]] const ssize_t written = ::write(m_fd, line, sizeof line - 1);
            ::close(m_fd);
            QCoreApplication::instance()->removeEventFilter(this);
            deleteLater();
        }
        return false;
    }

private:
    int m_fd;
};

void installFirstPaintFilter() {
    const char* fd = std::getenv("ZRV_FIRST_PAINT_FD");
    if (!fd || !*fd)
        return;
    QCoreApplication::instance()->installEventFilter(new FirstPaintFilter(std::atoi(fd)));
}

} // namespace

Q_COREAPP_STARTUP_FUNCTION(installFirstPaintFilter)
