// Preloaded into the window by batch_and_startup.sh. Once the first window has been exposed and
// that expose (with its paint) handled, it appends to the file QUORVEL_STARTUP_REPORT the
// milliseconds since QUORVEL_LAUNCH_NS (the wall clock in nanoseconds, `date +%s%N`, when the
// script launched the program), then ends the program a moment later, so that its peak memory
// covers the shown window.

#include <QCoreApplication>
#include <QEvent>
#include <QTimer>
#include <QWindow>
#include <cstdio>
#include <cstdlib>
#include <ctime>

namespace {

constexpr int kLingerMs = 200;

void ReportShown() {
    const char* launched = std::getenv("QUORVEL_LAUNCH_NS");
    const char* path = std::getenv("QUORVEL_STARTUP_REPORT");
    if (launched == nullptr || path == nullptr) return;
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    const double nowNs = static_cast<double>(now.tv_sec) * 1e9 + static_cast<double>(now.tv_nsec);
    if (std::FILE* report = std::fopen(path, "a")) {
        std::fprintf(report, "%.1f\n", (nowNs - std::strtod(launched, nullptr)) / 1e6);
        std::fclose(report);
    }
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
                ReportShown();
                QTimer::singleShot(kLingerMs, [] { QCoreApplication::exit(0); });
            },
            Qt::QueuedConnection);
        return false;
    }

  private:
    bool reported_ = false;
};

void InstallWatcher() {
    QCoreApplication* application = QCoreApplication::instance();
    application->installEventFilter(new ExposeWatcher(application));
}

}  // namespace

Q_COREAPP_STARTUP_FUNCTION(InstallWatcher)
