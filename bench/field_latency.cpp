// Measures the calculator window with long texts in its expression field, on whatever display
// Qt is given (run it on Xvfb): for each length and kind of text, the time from a key to the
// repainted window, from Enter to the shown answer and for a double-click, then the CPU time
// the window spends while idle with the field focused, and the peak resident size.
// Usage: quorvel-field-latency [IDLE_SECONDS] [LENGTH...]   (default 10; 1024 4096 16384 65536)
#include <sys/resource.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QRandomGenerator>
#include <QtTest>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "window/dialog_template.h"
#include "window/quorvel_app.h"
#include "window/quorvel_dlg.h"

namespace {

QString Ascii(int length) {
    return QStringLiteral("1+").repeated(length / 2 + 1).left(length);
}

// Latin, CJK, Arabic, Devanagari, Thai and emoji in turn: every shaping path at once.
QString MixedScripts(int length) {
    const QString pieces = QString::fromUtf8("x+年-عر*कि/ไทย😀 ");
    return pieces.repeated(length / int(pieces.size()) + 1).left(length);
}

// Random bytes read as UTF-8: replacement characters among whatever the bytes spell.
QString RandomBytes(int length) {
    QByteArray bytes(length * 2, '\0');
    for (char& byte : bytes)
        byte = static_cast<char>(QRandomGenerator::global()->bounded(256));
    QString text = QString::fromUtf8(bytes).left(length);
    text.replace(u'\n', u'?').replace(u'\r', u'?').replace(QChar(0), u'?');
    return text;
}

double CpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec +
           (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

long PeakResidentKb() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmHWM:", 0) == 0) return std::atol(line.c_str() + 6);
    }
    return -1;
}

// The slowest of a few runs of step, each followed by a repaint of the whole window, in ms.
template <typename Step>
double SlowestMs(QWidget& window, Step step) {
    double slowest = 0;
    for (int run = 0; run < 5; ++run) {
        QElapsedTimer timer;
        timer.start();
        step();
        window.repaint();
        QApplication::processEvents();
        slowest = std::max(slowest, timer.nsecsElapsed() / 1e6);
    }
    return slowest;
}

}  // namespace

int main(int argc, char** argv) {
    CQuorvelApp app(argc, argv);
    const int idleSeconds = argc > 1 ? std::atoi(argv[1]) : 10;
    std::vector<int> lengths;
    for (int index = 2; index < argc; ++index)
        lengths.push_back(std::atoi(argv[index]));
    if (lengths.empty()) lengths = {1024, 4096, 16384, 65536};
    const struct {
        const char* name;
        QString (*make)(int);
    } kinds[] = {{"ascii", Ascii}, {"mixed scripts", MixedScripts}, {"random bytes", RandomBytes}};

    std::printf("%-8s %-14s %9s %9s %12s %14s %9s\n", "length", "text", "key ms", "enter ms",
                "dblclick ms", "idle cpu s", "peak MiB");
    for (int length : lengths) {
        for (const auto& kind : kinds) {
            CQuorvelDlg dialog;
            dialog.show();
            dialog.activateWindow();
            // Only the active window blinks its cursor, which is what costs while idle.
            if (!QTest::qWaitForWindowActive(&dialog)) return 1;
            auto* field = qobject_cast<QLineEdit*>(dialog.Control(IDC_EXPRESSION));
            field->setMaxLength(std::max(field->maxLength(), length + 16));
            field->setFocus(Qt::OtherFocusReason);
            field->setText(kind.make(length));
            QApplication::processEvents();
            const double key = SlowestMs(dialog, [&] {
                QTest::keyClick(field, Qt::Key_A);
                QTest::keyClick(field, Qt::Key_Backspace);
            });
            const double enter = SlowestMs(dialog, [&] { QTest::keyClick(field, Qt::Key_Return); });
            const double doubleClick = SlowestMs(dialog, [&] {
                QTest::mouseDClick(field, Qt::LeftButton, {}, field->rect().center());
            });
            field->deselect();
            const double before = CpuSeconds();
            QTest::qWait(idleSeconds * 1000);
            const double idle = CpuSeconds() - before;
            std::printf("%-8d %-14s %9.1f %9.1f %12.1f %7.2f of %-3d %9.1f\n", length, kind.name,
                        key, enter, doubleClick, idle, idleSeconds, PeakResidentKb() / 1024.0);
            std::fflush(stdout);
        }
    }
    return 0;
}
