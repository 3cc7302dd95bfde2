#include "ScreenTestSupport.h"

#include <QDir>
#include <QTimer>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <set>

#include "win32/codepage.h"

// Qt and the font libraries keep caches for the life of the process; those are not the screen's leaks.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libQt6\nleak:libfontconfig\nleak:libfreetype\nleak:libglib\nleak:libdbus\nleak:libxkbcommon\n";
}

namespace screentest {

QApplication& App() {
    // Kept to the end of the process: Qt's own caches go with it and must not be torn down before it.
    static QApplication* app = [] {
        if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
        static int argc = 1;
        static char name[] = "afxqt_test";
        static char* argv[] = {name, nullptr};
        auto* a = new QApplication(argc, argv);
        AfxQtInstallScreen();
        return a;
    }();
    return *app;
}

namespace {
std::set<QTimer*>& Waiting() {
    static std::set<QTimer*> s;
    return s;
}
}  // namespace

int DropWaiting() {
    int n = static_cast<int>(Waiting().size());
    for (QTimer* t : Waiting()) {
        t->stop();
        t->deleteLater();
    }
    Waiting().clear();
    return n;
}

void When(std::function<bool(QWidget*)> pred, std::function<void(QWidget*)> act, int timeoutMs) {
    auto* timer = new QTimer();
    Waiting().insert(timer);
    auto left = std::make_shared<int>(timeoutMs / 5);
    timer->setInterval(5);
    QObject::connect(timer, &QTimer::timeout, [timer, pred, act, left] {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            const bool ready = w->isVisible() && (w->isActiveWindow() || QApplication::activePopupWidget() == w);
            if (ready && pred(w)) {
                Waiting().erase(timer);
                timer->stop();
                timer->deleteLater();
                act(w);
                return;
            }
        }
        if (--*left <= 0) {
            Waiting().erase(timer);
            timer->stop();
            timer->deleteLater();
            std::fprintf(stderr, "[screentest] the expected window never showed\n");
        }
    });
    timer->start();
}

QString Q(const char* gbk) { return QString::fromStdString(win32::GbkToUtf8(gbk)); }

bool Mirrors(QWidget* w, HWND h) { return AfxQtWindowOf(w) == h; }

QWidget* Control(CWnd& dlg, int id) { return AfxQtWidget(::GetDlgItem(dlg.m_hWnd, id)); }

QPoint Centre(const QWidget* w) { return w->rect().center(); }

std::string SaveShot(QWidget* w, const std::string& name) {
    const QString dir = QStringLiteral(CORVANE_TEST_OUTPUT_DIR "/gallery/afxqt");
    QDir().mkpath(dir);
    const QString path = dir + QLatin1Char('/') + QString::fromStdString(name) + QStringLiteral(".png");
    AfxQtSync();
    w->grab().save(path);
    return path.toStdString();
}

namespace {
std::string Param(uintptr_t v) {
    if (v > 0xFFFFFFFFu) return "ptr";
    HWND h = reinterpret_cast<HWND>(v);
    if (v >= 0x10000 && IsWindow(h)) return "#" + std::to_string(GetDlgCtrlID(h));
    return std::to_string(v);
}
}  // namespace

Spy::Spy() {
    win32::SetMessageSpy([this](const win32::SpyRecord& m) {
        if (!m.from && !m.posted) return;
        if (m.msg == WM_PAINT || m.msg == WM_ERASEBKGND || m.msg == WM_DRAWITEM || m.msg == WM_MEASUREITEM) return;
        std::string line = "#" + std::to_string(GetDlgCtrlID(m.to)) + " ";
        char buf[96];
        if (m.msg == WM_COMMAND) {
            std::snprintf(buf, sizeof buf, "WM_COMMAND %u %u", LOWORD(m.wParam), HIWORD(m.wParam));
        } else if (m.msg == WM_NOTIFY) {
            const NMHDR* h = reinterpret_cast<const NMHDR*>(m.lParam);
            std::snprintf(buf, sizeof buf, "WM_NOTIFY %u %d", h ? static_cast<unsigned>(h->idFrom) : 0u, h ? static_cast<int>(h->code) : 0);
        } else {
            std::snprintf(buf, sizeof buf, "0x%04x %s %s", m.msg, Param(m.wParam).c_str(), Param(static_cast<uintptr_t>(m.lParam)).c_str());
        }
        line += buf;
        if (m.posted) line += " posted";
        m_lines.push_back(line);
    });
}

Spy::~Spy() { win32::SetMessageSpy(nullptr); }

}  // namespace screentest
