// Loaded into the dialog with LD_PRELOAD by quorvel-startup. When the first window has been
// exposed and its paint handled, it writes two readings of the monotonic clock in nanoseconds to
// the descriptor named by QUORVEL_STARTUP_FD: when the application object was made and when the
// window was shown. It then ends the program a moment later, so its peak memory covers the shown
// window.

#include <unistd.h>

#include <QCoreApplication>
#include <QEvent>
#include <QTimer>
#include <QWindow>
#include <cstdio>
#include <cstdlib>
#include <ctime>

namespace {

constexpr int kLingerMs = 200;

long long g_applicationMadeNs = 0;

long long NowNs() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec;
}

void WriteShownTime() {
    const char* fdText = std::getenv("QUORVEL_STARTUP_FD");
    if (fdText == nullptr) return;
    char line[64];
    const int length =
        std::snprintf(line, sizeof line, "%lld %lld\n", g_applicationMadeNs, NowNs());
    const int fd = std::atoi(fdText);
    if (write(fd, line, static_cast<std::size_t>(length)) == length) close(fd);
}

class ExposeWatcher : public QObject {
  public:
    using QObject::QObject;

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (reported_ || event->type() != QEvent::Expose) return false;
        auto* window = qobject_cast<QWindow*>(watched);
        if (window == nullptr || !window->isExposed()) return false;
        reported_ = true;
        // Queued, so it runs once this expose, and the paint it brings, has been handled.
        QMetaObject::invokeMethod(
            this,
            [] {
                WriteShownTime();
                QTimer::singleShot(kLingerMs, [] { QCoreApplication::exit(0); });
            },
            Qt::QueuedConnection);
        return false;
    }

  private:
    bool reported_ = false;
};

void InstallWatcher() {
    g_applicationMadeNs = NowNs();
    QCoreApplication* application = QCoreApplication::instance();
    application->installEventFilter(new ExposeWatcher(application));
}

}  // namespace

Q_COREAPP_STARTUP_FUNCTION(InstallWatcher)
