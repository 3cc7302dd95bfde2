// What the screen's tests share: the application on Qt's offscreen platform, waiting for a window a
// person is about to meet, the gallery folder, and the transcript of what the model sent.
#pragma once

#include <QApplication>
#include <QWidget>

#include <functional>
#include <string>
#include <vector>

#include <afx/afxtest.h>
#include <afxqt/QtScreen.h>

namespace screentest {

// The application (made once, offscreen unless QT_QPA_PLATFORM says otherwise) with the screen installed.
QApplication& App();

// Runs act once a top-level widget that pred accepts is shown and active (a popup: shown) (checked every few milliseconds from the
// event loop, so it runs inside whatever modal loop is open then). Gives up after timeoutMs.
void When(std::function<bool(QWidget*)> pred, std::function<void(QWidget*)> act, int timeoutMs = 5000);
// The number of When calls still waiting, after dropping them (a test's end).
int DropWaiting();
// A shown window that mirrors the model window h.
bool Mirrors(QWidget* w, HWND h);

// A QString of a literal of the tests (GBK at run time).
QString Q(const char* gbk);

// The widget of a control of a model dialog.
QWidget* Control(CWnd& dlg, int id);
// The centre of a widget's rectangle.
QPoint Centre(const QWidget* w);

// Saves a picture of the widget as <build>/test-output/gallery/afxqt/<name>.png; the path.
std::string SaveShot(QWidget* w, const std::string& name);

// What the model sent while the spy lives, one line per message sent from inside a window procedure or
// posted (the program's and the model's doing, not the person's input itself), paint messages left out:
// "<to> WM_COMMAND <id> <code>", "<to> WM_NOTIFY <id> <code>", else "<to> 0x<msg> <wParam> <lParam>".
// Windows are named by their control id ("#1000", "#0" for a dialog), pointers as "ptr", so two runs
// compare line by line.
class Spy {
public:
    Spy();
    ~Spy();
    const std::vector<std::string>& Lines() const { return m_lines; }

private:
    std::vector<std::string> m_lines;
};

}  // namespace screentest
