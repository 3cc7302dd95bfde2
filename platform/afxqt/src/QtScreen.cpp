#include "afxqt/QtScreen.h"

#include <QApplication>
#include <QBitmap>
#include <QClipboard>
#include <QCursor>
#include <QEventLoop>
#include <QFileDialog>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QMessageBox>
#include <QPointer>
#include <QTimer>

#include <functional>
#include <map>
#include <set>
#include <vector>

#include <afx/Cursor.h>
#include <afx/CursorResource.h>
#include <afx/Dialog.h>
#include <afx/PropertySheet.h>
#include <afx/Screen.h>
#include <afx/StdCtrls.h>
#include <afx/WinApp.h>
#include <afx/afxtest.h>

#include "MirrorWidgets.h"
#include "ModelImage.h"
#include "QtText.h"
#include "win32/codepage.h"

namespace afxqt {
namespace {

// ---- keys --------------------------------------------------------------------------------------------

UINT VirtualKey(int key) {
    switch (key) {
        case Qt::Key_Return: case Qt::Key_Enter: return VK_RETURN;
        case Qt::Key_Escape: return VK_ESCAPE;
        case Qt::Key_Tab: case Qt::Key_Backtab: return VK_TAB;
        case Qt::Key_Backspace: return VK_BACK;
        case Qt::Key_Delete: return VK_DELETE;
        case Qt::Key_Insert: return VK_INSERT;
        case Qt::Key_Left: return VK_LEFT;
        case Qt::Key_Right: return VK_RIGHT;
        case Qt::Key_Up: return VK_UP;
        case Qt::Key_Down: return VK_DOWN;
        case Qt::Key_Home: return VK_HOME;
        case Qt::Key_End: return VK_END;
        case Qt::Key_PageUp: return VK_PRIOR;
        case Qt::Key_PageDown: return VK_NEXT;
        default: break;
    }
    if (key >= Qt::Key_F1 && key <= Qt::Key_F12) return static_cast<UINT>(VK_F1 + (key - Qt::Key_F1));
    return 0;
}

bool IsEditKind(HWND h) { return h && KindOf(h) == Kind::Edit; }

// While it lives, the message spy is away: what the screen reads of the model, and the bookkeeping a
// desktop edit does without any message, is neither the program's doing nor the person's.
class SpyAway {
public:
    SpyAway() : m_spy(win32::GetMessageSpy()) { win32::SetMessageSpy(nullptr); }
    ~SpyAway() { win32::SetMessageSpy(m_spy); }
    SpyAway(const SpyAway&) = delete;
    SpyAway& operator=(const SpyAway&) = delete;

private:
    std::function<void(const win32::SpyRecord&)> m_spy;
};

// The model edit's selection set to what the person selected on the widget (bytes of GBK text). A
// desktop edit moves its caret and selection itself, so the model hears no message of it.
void PushSelection(HWND h, QLineEdit* e) {
    SpyAway away;
    int a = e->hasSelectedText() ? e->selectionStart() : e->cursorPosition();
    int b = e->hasSelectedText() ? a + static_cast<int>(e->selectedText().size()) : a;
    const QString t = e->text();
    const int ba = ByteOfCharIndex(t, a), bb = ByteOfCharIndex(t, b);
    DWORD ma = 0, mb = 0;
    SendMessageA(h, EM_GETSEL, reinterpret_cast<WPARAM>(&ma), reinterpret_cast<LPARAM>(&mb));
    if (static_cast<int>(ma) != ba || static_cast<int>(mb) != bb) SendMessageA(h, EM_SETSEL, static_cast<WPARAM>(ba), bb);
}

// The window a person was working in before a box or a file dialog took over gets the keyboard back
// when it closes, as the desktop gives it back: without that, clicks on its fields would not move the
// focus and keys would go nowhere.
class Reactivate {
public:
    Reactivate() : m_window(QApplication::activeWindow()) {}
    ~Reactivate() {
        if (m_window && m_window->isVisible()) m_window->activateWindow();
    }
    Reactivate(const Reactivate&) = delete;
    Reactivate& operator=(const Reactivate&) = delete;

private:
    QPointer<QWidget> m_window;
};

// ---- the screen ----------------------------------------------------------------------------------------

class QtScreen : public QObject, public CWndScreen {
public:
    QtScreen() { qApp->installEventFilter(this); }
    ~QtScreen() override {
        qApp->removeEventFilter(this);
        for (auto& e : m_entries)
            if (e.second.widget && !e.second.widget->parentWidget()) delete e.second.widget.data();
    }

    // CWndScreen.
    void OnWindowCreated(HWND h) override { Mark(h); }
    void OnWindowChanged(HWND h) override { Mark(h); }
    void OnWindowDestroyed(HWND h) override {
        m_pending.erase(h);
        auto it = m_entries.find(h);
        if (it == m_entries.end()) return;
        if (QWidget* w = it->second.widget) {
            w->hide();
            w->deleteLater();
        }
        m_entries.erase(it);
    }
    BOOL RunModalLoop(CWnd& wnd) override;
    int MessageBox(const CString& text, const CString& caption, UINT nType) override;
    int FileDialog(CFileDialog& dlg, CString& rPathName) override;
    UINT PopupMenu(HWND hOwner, const std::vector<MenuItemInfo>& items, POINT pt) override;
    BOOL WaitForMessage() override;
    void OnTimerChanged(HWND h, UINT_PTR id, UINT elapse) override;

    void Sync();
    QWidget* WidgetOf(HWND h) {
        Sync();
        auto it = m_entries.find(h);
        return it == m_entries.end() ? nullptr : it->second.widget.data();
    }

protected:
    bool eventFilter(QObject* obj, QEvent* ev) override;

private:
    struct Entry {
        Kind kind = Kind::Canvas;
        QPointer<QWidget> widget;
        DWORD lastSel = 0xFFFFFFFF;
    };
    struct Loop {
        QEventLoop* loop;
        std::function<bool()> ended;
    };

    void Mark(HWND h) {
        m_pending.insert(h);
        if (!m_queued) {
            m_queued = true;
            QTimer::singleShot(0, this, [this] { Sync(); });
        }
    }
    QWidget* Ensure(HWND h);
    bool RouteKey(HWND h, QWidget* target, QKeyEvent* e);
    QPoint GlobalOf(HWND owner, POINT pt);

    void ShowCursor();
    void ShowDragImage();
    void MouseMoved(QWidget* target, QMouseEvent* e);

    std::map<HWND, Entry> m_entries;
    std::map<std::pair<HWND, UINT_PTR>, QTimer*> m_timers;
    HCURSOR m_cursor = nullptr;
    QPointer<QWidget> m_hover, m_cursorOn;  // the widget under the mouse; the one that shows m_cursor
    QPointer<QLabel> m_dragImage;           // the image a drag carries, over the top-level widget
    std::pair<HIMAGELIST, int> m_dragShown{nullptr, -1};
    std::set<HWND> m_pending;
    std::vector<Loop> m_loops;
    bool m_queued = false;
    bool m_syncing = false;
};

QtScreen* g_screen = nullptr;

QWidget* QtScreen::Ensure(HWND h) {
    if (!h || !IsWindow(h)) return nullptr;
    const Kind kind = KindOf(h);
    auto it = m_entries.find(h);
    if (it != m_entries.end() && it->second.widget && it->second.kind == kind) return it->second.widget;
    QWidget* parent = nullptr;
    if (HWND p = GetParent(h)) {
        QWidget* pw = Ensure(p);
        if (!pw) return nullptr;
        parent = ChildHost(m_entries[p].kind, pw);
    }
    if (it != m_entries.end() && it->second.widget) {
        // The window shows differently now (it began painting itself): a new widget, and new ones for
        // its children, whose widgets went with the old one.
        delete it->second.widget.data();
    }
    QWidget* w = CreateMirror(kind, h, parent);
    Entry& e = m_entries[h];
    e.kind = kind;
    e.widget = w;
    e.lastSel = 0xFFFFFFFF;
    for (HWND c : GetChildWindows(h)) m_pending.insert(c);
    if (kind == Kind::Dialog) {
        CWnd* obj = CWnd::FromHandlePermanent(h);
        auto* dlg = dynamic_cast<CDialog*>(obj);
        if (dynamic_cast<CPropertySheet*>(obj) || (dlg && dlg->IsModal())) w->setWindowModality(Qt::ApplicationModal);
    }
    m_pending.insert(h);
    return w;
}

void QtScreen::Sync() {
    m_queued = false;
    if (m_syncing) return;
    m_syncing = true;
    // What the screen reads and paints is not what the program or the person caused.
    SpyAway away;
    // The model paints what it invalidated, as a screen's paint cycle does; windows that paint
    // themselves leave their pixels on their canvases.
    PaintDirtyWindows();
    for (int round = 0; round < 4 && !m_pending.empty(); ++round) {
        std::set<HWND> pending;
        pending.swap(m_pending);
        // Handles grow with creation, so parents and earlier siblings (the tab order) come first.
        for (HWND h : pending) {
            if (!IsWindow(h)) continue;
            QWidget* w = Ensure(h);
            if (!w) continue;
            m_pending.erase(h);
            RefreshMirror(m_entries[h].kind, h, w);
        }
    }
    // Top-level windows show as the model says (modal ones through their loop).
    for (auto& kv : m_entries) {
        if (kv.second.kind != Kind::Dialog || !kv.second.widget) continue;
        const bool visible = (GetWindowLongPtrA(kv.first, GWL_STYLE) & WS_VISIBLE) != 0;
        if (kv.second.widget->isVisible() != visible) kv.second.widget->setVisible(visible);
    }
    // The focus and the focused edit's selection follow the model.
    HWND focus = GetFocus();
    auto fit = m_entries.find(focus);
    if (fit != m_entries.end() && fit->second.widget) {
        QWidget* w = fit->second.widget;
        if (!w->hasFocus() && w->isVisible()) w->setFocus(Qt::OtherFocusReason);
        if (auto* e = qobject_cast<QLineEdit*>(w)) {
            DWORD a = 0, b = 0;
            SendMessageA(focus, EM_GETSEL, reinterpret_cast<WPARAM>(&a), reinterpret_cast<LPARAM>(&b));
            const DWORD sel = MAKELONG(a, b);
            if (sel != fit->second.lastSel) {
                fit->second.lastSel = sel;
                const std::string t = GetWindowTextRaw(focus);
                const int ca = CharIndexOfByte(t, static_cast<int>(a)), cb = CharIndexOfByte(t, static_cast<int>(b));
                if (ca == cb) e->setCursorPosition(ca);
                else e->setSelection(ca, cb - ca);
            }
        }
    }
    ShowDragImage();
    ShowCursor();
    m_syncing = false;
    if (!m_loops.empty() && m_loops.back().ended()) m_loops.back().loop->quit();
}

void QtScreen::OnTimerChanged(HWND h, UINT_PTR id, UINT elapse) {
    const auto key = std::make_pair(h, id);
    auto it = m_timers.find(key);
    if (elapse == 0) {
        if (it != m_timers.end()) {
            it->second->deleteLater();
            m_timers.erase(it);
        }
        return;
    }
    QTimer* t = it != m_timers.end() ? it->second : nullptr;
    if (!t) {
        t = new QTimer(this);
        m_timers[key] = t;
        // As the period passes, the model's WM_TIMER (or its TIMERPROC), as a driver's FireTimer.
        connect(t, &QTimer::timeout, this, [h, id] {
            if (!::HasTimer(h, id) || (h && !IsWindow(h))) return;
            ::FireTimer(h, id);
            afxtest::Pump();
            Settle();
        });
    }
    t->start(static_cast<int>(elapse));
}

namespace {
// A cursor of the model as Qt shows it: the standard ones by shape, a library's own from its masks.
QCursor CursorOf(HCURSOR c) {
    static const std::pair<LPCSTR, Qt::CursorShape> standard[] = {
        {IDC_ARROW, Qt::ArrowCursor},     {IDC_IBEAM, Qt::IBeamCursor},        {IDC_SIZENWSE, Qt::SizeFDiagCursor}, {IDC_SIZENESW, Qt::SizeBDiagCursor},
        {IDC_SIZEWE, Qt::SizeHorCursor},  {IDC_SIZENS, Qt::SizeVerCursor},     {IDC_SIZEALL, Qt::SizeAllCursor},
    };
    for (const auto& s : standard)
        if (c == LoadCursor(nullptr, s.first)) return QCursor(s.second);
    const CursorResource* r = AfxGetCursorResource(c);
    if (!r) return QCursor(Qt::ArrowCursor);
    // AND 0 / XOR 0 black, AND 0 / XOR 1 white, AND 1 / XOR 0 transparent; AND 1 / XOR 1 (inverting)
    // shows black, the nearest Qt has everywhere.
    QImage bits(32, 32, QImage::Format_Mono), mask(32, 32, QImage::Format_Mono);
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) {
            const int byte = y * 4 + x / 8, bit = 7 - x % 8;
            const bool andBit = (r->andMask[byte] >> bit) & 1, xorBit = (r->xorMask[byte] >> bit) & 1;
            bits.setPixel(x, y, (andBit == xorBit) ? 1 : 0);
            mask.setPixel(x, y, (!andBit || xorBit) ? 1 : 0);
        }
    return QCursor(QBitmap::fromImage(bits), QBitmap::fromImage(mask), r->xHotSpot, r->yHotSpot);
}
}  // namespace

void QtScreen::ShowCursor() {
    // The model's cursor (what SetCursor set last, through WM_SETCURSOR as the mouse moved or by the
    // program) over the widget under the mouse; before the mouse came over one, over every window shown.
    HCURSOR c = GetCursor();
    if (c == m_cursor && m_hover == m_cursorOn) return;
    m_cursor = c;
    m_cursorOn = m_hover;
    if (QWidget* over = m_hover.data()) {
        over->setCursor(c ? CursorOf(c) : QCursor(Qt::ArrowCursor));
        return;
    }
    const bool plain = !c || c == LoadCursor(nullptr, IDC_ARROW);
    const QCursor q = plain ? QCursor() : CursorOf(c);
    for (auto& kv : m_entries) {
        if (kv.second.kind != Kind::Dialog || !kv.second.widget) continue;
        if (plain) kv.second.widget->unsetCursor();
        else kv.second.widget->setCursor(q);
    }
}

void QtScreen::ShowDragImage() {
    // The drag image (ImageList_BeginDrag ... EndDrag) while the model shows it, at its position less
    // its hot spot, over the top-level window of the drag: the window holding the capture, else the one
    // the image was locked to. Translucent, and the mouse passes through it to the windows below.
    const ImageListDragState d = ImageList_GetDragState();
    HWND anchor = GetCapture();
    if (!anchor && d.lock != GetDesktopWindow()) anchor = d.lock;
    HWND top = anchor;
    while (top && GetParent(top)) top = GetParent(top);
    auto it = top ? m_entries.find(top) : m_entries.end();
    if (!d.dragging || !d.shown || it == m_entries.end() || !it->second.widget) {
        if (m_dragImage) m_dragImage->hide();
        return;
    }
    QWidget* host = it->second.widget;
    if (!m_dragImage || m_dragImage->parentWidget() != host) {
        delete m_dragImage.data();
        m_dragImage = new QLabel(host);
        m_dragImage->setObjectName(QStringLiteral("afxqt_drag_image"));
        m_dragImage->setAttribute(Qt::WA_TransparentForMouseEvents);
        m_dragShown = {nullptr, -1};
    }
    if (m_dragShown != std::make_pair(d.image, d.index)) {
        m_dragShown = {d.image, d.index};
        // Every pixel of the image at the same partial opacity (the model's pixels carry no alpha).
        const QImage img = ImageListImage(d.image, d.index);
        QImage faded(img.size(), QImage::Format_ARGB32);
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x) {
                const QRgb c = img.pixel(x, y);
                faded.setPixel(x, y, qRgba(qRed(c), qGreen(c), qBlue(c), 153));
            }
        m_dragImage->setPixmap(QPixmap::fromImage(faded));
        m_dragImage->resize(faded.size());
    }
    POINT at = d.pos;
    if (d.lock && d.lock != GetDesktopWindow()) ClientToScreen(d.lock, &at);
    RECT tr;
    GetWindowRect(top, &tr);
    m_dragImage->move(at.x - d.hotSpot.x - tr.left, at.y - d.hotSpot.y - tr.top);
    m_dragImage->show();
    m_dragImage->raise();
}

BOOL QtScreen::RunModalLoop(CWnd& wnd) {
    auto* sheet = dynamic_cast<CPropertySheet*>(&wnd);
    auto* dlg = dynamic_cast<CDialog*>(&wnd);
    if (!sheet && !dlg) return FALSE;
    Reactivate back;
    HWND h = wnd.m_hWnd;
    std::function<bool()> ended = [sheet, dlg, h] {
        if (!IsWindow(h)) return true;
        return sheet ? sheet->IsEnded() != FALSE : dlg->IsEnded() != FALSE;
    };
    Sync();
    QWidget* w = WidgetOf(h);
    if (!w) return FALSE;
    w->setWindowModality(Qt::ApplicationModal);
    w->show();
    w->raise();
    w->activateWindow();
    Sync();
    QEventLoop loop;
    m_loops.push_back(Loop{&loop, ended});
    if (!ended()) loop.exec(QEventLoop::DialogExec);
    m_loops.pop_back();
    if (IsWindow(h)) {
        if (QWidget* still = WidgetOf(h)) still->hide();
    }
    return TRUE;
}

int QtScreen::MessageBox(const CString& text, const CString& caption, UINT nType) {
    Reactivate back;
    QMessageBox box(QApplication::activeModalWidget() ? QApplication::activeModalWidget() : QApplication::activeWindow());
    box.setWindowTitle(FromGbk(caption.str()));
    box.setText(FromGbk(text.str()));
    box.setFont(DialogFont());
    // The icon bits.
    switch (nType & 0xF0u) {
        case MB_ICONHAND: box.setIcon(QMessageBox::Critical); break;
        case MB_ICONQUESTION: box.setIcon(QMessageBox::Question); break;
        case MB_ICONEXCLAMATION: box.setIcon(QMessageBox::Warning); break;
        case MB_ICONASTERISK: box.setIcon(QMessageBox::Information); break;
        default: break;
    }
    // The Windows button sets, in their order, with the answers they give.
    struct B { QMessageBox::StandardButton qt; int answer; };
    static const std::vector<B> sets[6] = {
        {{QMessageBox::Ok, IDOK}},
        {{QMessageBox::Ok, IDOK}, {QMessageBox::Cancel, IDCANCEL}},
        {{QMessageBox::Abort, IDABORT}, {QMessageBox::Retry, IDRETRY}, {QMessageBox::Ignore, IDIGNORE}},
        {{QMessageBox::Yes, IDYES}, {QMessageBox::No, IDNO}, {QMessageBox::Cancel, IDCANCEL}},
        {{QMessageBox::Yes, IDYES}, {QMessageBox::No, IDNO}},
        {{QMessageBox::Retry, IDRETRY}, {QMessageBox::Cancel, IDCANCEL}},
    };
    UINT kind = nType & MB_TYPEMASK;
    if (kind > 5) kind = 0;
    const std::vector<B>& set = sets[kind];
    QMessageBox::StandardButtons buttons;
    for (const B& b : set) buttons |= b.qt;
    box.setStandardButtons(buttons);
    const size_t def = std::min<size_t>((nType & MB_DEFMASK) >> 8, set.size() - 1);
    box.setDefaultButton(set[def].qt);
    // Escape answers as Windows does: Cancel when the box has one, OK for a lone OK.
    for (const B& b : set)
        if (b.answer == IDCANCEL || (set.size() == 1)) box.setEscapeButton(b.qt);
    box.exec();
    for (const B& b : set)
        if (box.clickedButton() == box.button(b.qt)) return b.answer;
    return set.size() == 1 ? IDOK : IDCANCEL;
}

int QtScreen::FileDialog(CFileDialog& dlg, CString& rPathName) {
    Reactivate back;
    QFileDialog fd(QApplication::activeModalWidget());
    fd.setOption(QFileDialog::DontUseNativeDialog);
    const bool open = dlg.IsOpenDialog() != FALSE;
    fd.setAcceptMode(open ? QFileDialog::AcceptOpen : QFileDialog::AcceptSave);
    const DWORD flags = dlg.m_ofn.Flags;
    fd.setFileMode(open && (flags & OFN_FILEMUSTEXIST) ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    if (!open && !(flags & OFN_OVERWRITEPROMPT)) fd.setOption(QFileDialog::DontConfirmOverwrite);
    fd.setWindowTitle(dlg.GetTitle().IsEmpty() ? QString::fromUtf8(open ? "打开" : "另存为") : FromGbk(dlg.GetTitle().str()));
    // "Text (*.a;*.b)|*.a;*.b|...||": description and patterns in pairs.
    QStringList filters;
    const QStringList parts = FromGbk(dlg.GetFilter().str()).split(QLatin1Char('|'));
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        if (parts[i].isEmpty()) break;
        QString pats = parts[i + 1];
        pats.replace(QLatin1Char(';'), QLatin1Char(' '));
        filters << parts[i] + QStringLiteral(" (") + pats + QLatin1Char(')');
    }
    if (!filters.isEmpty()) fd.setNameFilters(filters);
    if (!dlg.GetDefExt().IsEmpty()) fd.setDefaultSuffix(FromGbk(dlg.GetDefExt().str()));
    if (!dlg.GetInitialFileName().IsEmpty())
        fd.selectFile(QString::fromStdString(win32::GbkPathToNative(dlg.GetInitialFileName().str())));
    if (fd.exec() != QDialog::Accepted || fd.selectedFiles().isEmpty()) return IDCANCEL;
    rPathName = CString(win32::NativePathToGbk(fd.selectedFiles().front().toStdString()));
    return IDOK;
}

QPoint QtScreen::GlobalOf(HWND owner, POINT pt) {
    HWND top = owner;
    while (top && GetParent(top)) top = GetParent(top);
    auto it = m_entries.find(top);
    if (!top || it == m_entries.end() || !it->second.widget) return QCursor::pos();
    RECT rc;
    GetWindowRect(top, &rc);
    return it->second.widget->mapToGlobal(QPoint(pt.x - rc.left, pt.y - rc.top));
}

namespace {
void FillMenu(QMenu* menu, const std::vector<MenuItemInfo>& items) {
    for (const MenuItemInfo& it : items) {
        if (it.flags & MF_SEPARATOR || (it.id == 0 && !(it.flags & MF_POPUP) && it.text.empty())) {
            menu->addSeparator();
        } else if (it.flags & MF_POPUP) {
            FillMenu(menu->addMenu(FromGbk(it.text)), it.sub);
        } else {
            QAction* a = menu->addAction(FromGbk(it.text));
            a->setData(it.id);
            a->setEnabled(!(it.flags & (MF_GRAYED | MF_DISABLED)));
            if (it.flags & MF_CHECKED) {
                a->setCheckable(true);
                a->setChecked(true);
            }
        }
    }
}
}  // namespace

UINT QtScreen::PopupMenu(HWND hOwner, const std::vector<MenuItemInfo>& items, POINT pt) {
    Sync();
    QMenu menu;
    menu.setFont(DialogFont());
    FillMenu(&menu, items);
    QAction* chosen = menu.exec(GlobalOf(hOwner, pt));
    return chosen ? chosen->data().toUInt() : 0;
}

BOOL QtScreen::WaitForMessage() {
    // The model's own loop waits for a person: events run until a message is queued for it.
    Sync();
    while (win32::GetQueueLength() == 0) {
        bool anyShown = false;
        for (auto& kv : m_entries)
            if (kv.second.kind == Kind::Dialog && kv.second.widget && kv.second.widget->isVisible()) anyShown = true;
        if (!anyShown) return FALSE;
        QApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    return TRUE;
}

bool QtScreen::RouteKey(HWND h, QWidget* target, QKeyEvent* e) {
    MirrorModifiers(e->modifiers());
    const int key = e->key();
    if (KindOf(h) == Kind::Date && key != Qt::Key_Return && key != Qt::Key_Enter && key != Qt::Key_Escape &&
        key != Qt::Key_Tab && key != Qt::Key_Backtab)
        return false;  // the date's own fields take the typing; the dialog keys go to the model
    auto* line = qobject_cast<QLineEdit*>(target);
    const bool edit = line && IsEditKind(h);
    if (line && !edit) return false;  // an editable combo's own field: its edits go through textEdited
    if (edit) {
        // Moving the caret and copying stay on the widget; the model learns the selection when the
        // person next changes the text.
        if (key == Qt::Key_Left || key == Qt::Key_Right || key == Qt::Key_Home || key == Qt::Key_End ||
            e->matches(QKeySequence::SelectAll) || e->matches(QKeySequence::Copy))
            return false;
        PushSelection(h, line);
        if (e->matches(QKeySequence::Paste)) {
            const std::string gbk = ToGbk(QApplication::clipboard()->text());
            if (!(GetWindowLongPtrA(h, GWL_STYLE) & ES_READONLY))
                static_cast<CEdit*>(CWnd::FromHandle(h))->ReplaceSel(gbk.c_str(), TRUE);
            afxtest::Pump();
            Settle();
            return true;
        }
        if (e->matches(QKeySequence::Cut)) {
            QApplication::clipboard()->setText(line->selectedText());
            afxtest::Key(VK_DELETE);
            Settle();
            return true;
        }
    }
    if (UINT vk = VirtualKey(key)) {
        if (key == Qt::Key_Backtab) SetKeyDown(VK_SHIFT, true);
        afxtest::Key(vk);
        Settle();
        return true;
    }
    const QString text = e->text();
    if (!text.isEmpty() && text[0].isPrint() && !(e->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
        HWND focus = GetFocus();
        if (IsEditKind(focus)) {
            afxtest::TypeChars(CWnd::FromHandle(focus), ToGbk(text));
        } else if (text.size() == 1 && text[0].unicode() < 0x80) {
            const char c = static_cast<char>(text[0].toUpper().unicode());
            afxtest::Key(c == ' ' ? VK_SPACE : static_cast<UINT>(static_cast<unsigned char>(c)));
        }
        Settle();
        return true;
    }
    return false;
}

void QtScreen::MouseMoved(QWidget* target, QMouseEvent* e) {
    QWidget* mirror = target;
    while (mirror && !MirroredWindow(mirror)) mirror = mirror->isWindow() ? nullptr : mirror->parentWidget();
    if (!mirror) return;
    HWND h = MirroredWindow(mirror);
    if (!IsWindow(h)) return;
    // The cursor the model chooses for this move shows over the widget under the mouse.
    m_hover = target;
    // A window that paints itself passes its own moves to the model; over the other widgets (and over a
    // canvas's scroll bars) a move with no button down is the driver's hover at the same point, whose
    // WM_SETCURSOR chooses the cursor. Presses and drags stay with the widgets, which act on them.
    if ((mirror == target && KindOf(h) == Kind::Canvas) || e->buttons() != Qt::NoButton || GetCapture()) return;
    const QPoint p = target->mapTo(mirror, e->position().toPoint());
    MirrorModifiers(e->modifiers());
    afxtest::Hover(CWnd::FromHandle(h), CPoint(p.x(), p.y()));
    Settle();
}

bool QtScreen::eventFilter(QObject* obj, QEvent* ev) {
    const QEvent::Type t = ev->type();
    if (t == QEvent::MouseMove) {
        if (auto* w = qobject_cast<QWidget*>(obj)) MouseMoved(w, static_cast<QMouseEvent*>(ev));
        return false;
    }
    if (t != QEvent::KeyPress && t != QEvent::ShortcutOverride && t != QEvent::InputMethod) return false;
    auto* target = qobject_cast<QWidget*>(obj);
    HWND h = nullptr;
    for (QWidget* w = target; w && !h; w = w->isWindow() && !MirroredWindow(w) ? nullptr : w->parentWidget())
        h = MirroredWindow(w);
    if (!h || !IsWindow(h)) return false;
    if (t == QEvent::ShortcutOverride) {
        // Keys go to the model, not to the widgets' own shortcuts.
        ev->accept();
        return true;
    }
    if (t == QEvent::InputMethod) {
        auto* im = static_cast<QInputMethodEvent*>(ev);
        if (im->commitString().isEmpty() || !IsEditKind(h)) return false;
        if (auto* line = qobject_cast<QLineEdit*>(target)) PushSelection(h, line);
        afxtest::TypeChars(CWnd::FromHandle(h), ToGbk(im->commitString()));
        Settle();
        return true;
    }
    return RouteKey(h, target, static_cast<QKeyEvent*>(ev));
}

}  // namespace

void Settle() {
    if (g_screen) g_screen->Sync();
}

void MirrorModifiers(Qt::KeyboardModifiers m) {
    SetKeyDown(VK_CONTROL, (m & Qt::ControlModifier) != 0);
    SetKeyDown(VK_SHIFT, (m & Qt::ShiftModifier) != 0);
    SetKeyDown(VK_MENU, (m & Qt::AltModifier) != 0);
}

}  // namespace afxqt

BOOL AfxQtInstallScreen() {
    if (afxqt::g_screen) return TRUE;
    if (!qobject_cast<QApplication*>(QCoreApplication::instance())) return FALSE;
    afxqt::g_screen = new afxqt::QtScreen();
    AfxSetScreen(afxqt::g_screen);
    // Windows made before the screen came show too.
    for (HWND h : GetTopLevelWindows()) {
        std::vector<HWND> stack{h};
        while (!stack.empty()) {
            HWND w = stack.back();
            stack.pop_back();
            afxqt::g_screen->OnWindowCreated(w);
            for (HWND c : GetChildWindows(w)) stack.push_back(c);
        }
    }
    return TRUE;
}

void AfxQtRemoveScreen() {
    if (!afxqt::g_screen) return;
    AfxSetScreen(nullptr);
    delete afxqt::g_screen;
    afxqt::g_screen = nullptr;
}

BOOL AfxQtIsScreenInstalled() { return afxqt::g_screen != nullptr; }

QWidget* AfxQtWidget(HWND hWnd) { return afxqt::g_screen ? afxqt::g_screen->WidgetOf(hWnd) : nullptr; }

HWND AfxQtWindowOf(const QWidget* pWidget) {
    for (const QWidget* w = pWidget; w; w = w->parentWidget())
        if (HWND h = afxqt::MirroredWindow(w)) return h;
    return nullptr;
}

void AfxQtSync() {
    if (afxqt::g_screen) afxqt::g_screen->Sync();
}
