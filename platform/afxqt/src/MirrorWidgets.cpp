#include "MirrorWidgets.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDialog>
#include <QFocusEvent>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QStyledItemDelegate>
#include <QTabBar>
#include <QTreeWidget>
#include <QWheelEvent>

#include <afx/DateTimeCtrl.h>
#include <afx/ListCtrl.h>
#include <afx/PropertySheet.h>
#include <afx/TreeCtrl.h>
#include <afx/afxtest.h>
#include <caddox/TPropertySheet.h>

#include "ModelImage.h"
#include "QtText.h"
#include "win32/gdirecord.h"

namespace afxqt {
namespace {

const char* const kHwndProperty = "afxqt_hwnd";

DWORD Style(HWND h) { return static_cast<DWORD>(GetWindowLongPtrA(h, GWL_STYLE)); }

std::string ClassOf(HWND h) {
    char buf[128] = "";
    GetClassNameA(h, buf, sizeof buf);
    std::string s = buf;
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

QRect ModelRect(HWND h) {
    RECT rc;
    GetWindowRect(h, &rc);
    if (HWND parent = GetParent(h)) {
        POINT o{0, 0};
        ClientToScreen(parent, &o);
        OffsetRect(&rc, -o.x, -o.y);
    }
    return QRect(rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top);
}

CWnd* Wnd(HWND h) { return CWnd::FromHandle(h); }

// The property sheet with a row of tabs (not the Caddox sheet, whose tree is a window of its own).
CPropertySheet* TabbedSheet(HWND h) {
    auto* sheet = dynamic_cast<CPropertySheet*>(CWnd::FromHandlePermanent(h));
    return sheet && !dynamic_cast<CTPropertySheet*>(sheet) ? sheet : nullptr;
}

void Tag(QWidget* w, HWND h) { w->setProperty(kHwndProperty, QVariant::fromValue(reinterpret_cast<quintptr>(h))); }

// Rows as tall as the model's rows, so a row a person sees is the row the model hit-tests.
class RowHeightDelegate : public QStyledItemDelegate {
public:
    RowHeightDelegate(int height, QObject* parent) : QStyledItemDelegate(parent), m_height(height) {}
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        QSize s = QStyledItemDelegate::sizeHint(option, index);
        s.setHeight(m_height);
        return s;
    }

private:
    int m_height;
};

// ---- windows that paint themselves -----------------------------------------------------------------

// Mouse messages of a person over a model window: to the window holding the capture when one does (at
// the same screen point), else to the window itself.
void SendMouse(HWND h, UINT msg, QPoint pos, Qt::MouseButtons buttons, Qt::KeyboardModifiers mods) {
    MirrorModifiers(mods);
    UINT flags = 0;
    if (buttons & Qt::LeftButton) flags |= MK_LBUTTON;
    if (buttons & Qt::RightButton) flags |= MK_RBUTTON;
    if (mods & Qt::ControlModifier) flags |= MK_CONTROL;
    if (mods & Qt::ShiftModifier) flags |= MK_SHIFT;
    HWND target = h;
    POINT pt{pos.x(), pos.y()};
    if (HWND cap = GetCapture(); cap && cap != h) {
        ClientToScreen(h, &pt);
        ScreenToClient(cap, &pt);
        target = cap;
    } else if (msg == WM_MOUSEMOVE && (!IsWindowEnabled(h) || !IsWindowVisible(h))) {
        return;
    }
    afxtest::Mouse(Wnd(target), msg, CPoint(pt.x, pt.y), flags);
    Settle();
}

// A QScrollBar standing for one of a window's own scroll bars (or a scroll-bar control): what the person
// does becomes the WM_VSCROLL / WM_HSCROLL the driver's Scroll sends.
class ModelScrollBar : public QScrollBar {
public:
    ModelScrollBar(HWND h, int bar, Qt::Orientation o, QWidget* parent) : QScrollBar(o, parent), m_h(h), m_bar(bar) {
        connect(this, &QAbstractSlider::actionTriggered, this, [this](int action) { OnAction(action); });
        connect(this, &QAbstractSlider::sliderReleased, this, [this] { Route(SB_THUMBPOSITION, sliderPosition()); });
    }
    void Refresh() {
        SCROLLINFO si{sizeof si, SIF_ALL, 0, 0, 0, 0, 0};
        GetScrollInfo(m_h, m_bar, &si);
        QSignalBlocker block(this);
        const int page = static_cast<int>(si.nPage);
        setRange(si.nMin, std::max(si.nMin, si.nMax - std::max(0, page - 1)));
        setPageStep(std::max(1, page));
        setSingleStep(1);
        setValue(si.nPos);
    }

private:
    void OnAction(int action) {
        UINT code;
        switch (action) {
            case SliderSingleStepAdd: code = SB_LINEDOWN; break;
            case SliderSingleStepSub: code = SB_LINEUP; break;
            case SliderPageStepAdd: code = SB_PAGEDOWN; break;
            case SliderPageStepSub: code = SB_PAGEUP; break;
            case SliderToMinimum: code = SB_TOP; break;
            case SliderToMaximum: code = SB_BOTTOM; break;
            case SliderMove: code = SB_THUMBTRACK; break;
            default: return;
        }
        Route(code, sliderPosition());
        // The model decides where the bar stands.
        setSliderPosition(GetScrollPos(m_h, m_bar));
    }
    void Route(UINT code, int pos) {
        if (m_bar == SB_CTL) afxtest::Scroll(Wnd(m_h), code, pos);
        else afxtest::Scroll(Wnd(m_h), code, pos, m_bar == SB_VERT);
        Settle();
    }
    HWND m_h;
    int m_bar;
};

class CanvasMirror : public QWidget {
public:
    CanvasMirror(HWND h, QWidget* parent) : QWidget(parent), m_h(h) {
        setMouseTracking(true);
        setAttribute(Qt::WA_OpaquePaintEvent);
    }
    HWND m_h;
    QImage m_image;
    ModelScrollBar* m_vbar = nullptr;
    ModelScrollBar* m_hbar = nullptr;

    void Refresh() {
        m_image = CanvasImage(m_h);
        const DWORD s = Style(m_h);
        PlaceBar(m_vbar, (s & WS_VSCROLL) != 0, SB_VERT, Qt::Vertical);
        PlaceBar(m_hbar, (s & WS_HSCROLL) != 0, SB_HORZ, Qt::Horizontal);
        PlaceSpill();
        update();
    }
    ~CanvasMirror() override { delete m_spill.data(); }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.fillRect(rect(), palette().window());
        if (!m_image.isNull()) p.drawImage(0, 0, m_image);
    }
    void mousePressEvent(QMouseEvent* e) override {
        if (IsButton() && e->button() == Qt::LeftButton) return;  // a button clicks on its release
        SendMouse(m_h, e->button() == Qt::RightButton ? WM_RBUTTONDOWN : WM_LBUTTONDOWN, e->pos(), e->buttons(), e->modifiers());
    }
    void mouseReleaseEvent(QMouseEvent* e) override {
        // A button that paints itself (a picker) is still a button: a left click on it is the driver's
        // click, as on any other button of the screen.
        if (IsButton() && e->button() == Qt::LeftButton) {
            if (rect().contains(e->pos())) {
                MirrorModifiers(e->modifiers());
                afxtest::Click(Wnd(m_h));
                Settle();
            }
            return;
        }
        SendMouse(m_h, e->button() == Qt::RightButton ? WM_RBUTTONUP : WM_LBUTTONUP, e->pos(), e->buttons(), e->modifiers());
    }
    void mouseDoubleClickEvent(QMouseEvent* e) override {
        SendMouse(m_h, e->button() == Qt::RightButton ? WM_RBUTTONDBLCLK : WM_LBUTTONDBLCLK, e->pos(), e->buttons(), e->modifiers());
    }
    void mouseMoveEvent(QMouseEvent* e) override { SendMouse(m_h, WM_MOUSEMOVE, e->pos(), e->buttons(), e->modifiers()); }
    void wheelEvent(QWheelEvent* e) override {
        MirrorModifiers(e->modifiers());
        const QPoint p = e->position().toPoint();
        afxtest::Wheel(Wnd(m_h), static_cast<short>(e->angleDelta().y()), CPoint(p.x(), p.y()));
        Settle();
    }
    // A window that paints itself takes the focus in its own mouse handlers, if it wants it.

private:
    bool IsButton() const {
        const DWORD type = Style(m_h) & BS_TYPEMASK;
        return ClassOf(m_h) == "button" && type != BS_GROUPBOX && IsWindowEnabled(m_h);
    }
    // A static paints with its parent's clipping: what it drew past its edges shows over the parent,
    // on a widget of the parent's that lets the mouse through and covers only that text.
    void PlaceSpill() {
        QRect where;
        const QImage img = ClassOf(m_h) == "static" && parentWidget()
                               ? SpilledText(m_h, &where, parentWidget()->palette().window().color())
                               : QImage();
        if (img.isNull() || !IsWindowVisible(m_h)) {
            if (m_spill) m_spill->hide();
            return;
        }
        if (!m_spill) {
            m_spill = new QLabel(parentWidget());
            m_spill->setAttribute(Qt::WA_TransparentForMouseEvents);
        }
        m_spill->setPixmap(QPixmap::fromImage(img));
        m_spill->setGeometry(where.translated(geometry().topLeft()));
        m_spill->setMask(QRegion(0, 0, where.width(), where.height()) - QRegion(rect().translated(-where.topLeft())));
        m_spill->show();
        m_spill->raise();
    }
    QPointer<QLabel> m_spill;

    void PlaceBar(ModelScrollBar*& bar, bool shown, int which, Qt::Orientation o) {
        if (!shown) {
            if (bar) bar->hide();
            return;
        }
        if (!bar) {
            bar = new ModelScrollBar(m_h, which, o, this);
            bar->setMouseTracking(true);
        }
        // Beside the client area, where the model leaves room for it.
        RECT client;
        GetClientRect(m_h, &client);
        if (o == Qt::Vertical) bar->setGeometry(client.right, 0, width() - client.right, client.bottom);
        else bar->setGeometry(0, client.bottom, client.right, height() - client.bottom);
        bar->Refresh();
        bar->show();
    }
};

// Dialogs and pages: a plain surface (the window's canvas under the controls when it paints itself).
template <class Base>
class SurfaceMirror : public Base {
public:
    SurfaceMirror(HWND h, QWidget* parent) : Base(parent), m_h(h) {}
    HWND m_h;
    QImage m_image;

protected:
    void paintEvent(QPaintEvent* e) override {
        Base::paintEvent(e);
        if (m_image.isNull()) return;
        QPainter p(this);
        p.drawImage(0, 0, m_image);
    }
};

class DialogMirror : public SurfaceMirror<QDialog> {
public:
    DialogMirror(HWND h) : SurfaceMirror<QDialog>(h, nullptr) {
        if (CPropertySheet* sheet = TabbedSheet(h)) {
            m_tabs = new QTabBar(this);
            m_tabs->setFocusPolicy(Qt::NoFocus);
            m_tabs->setDrawBase(true);
            QObject::connect(m_tabs, &QTabBar::tabBarClicked, m_tabs, [this, sheet](int i) {
                if (i >= 0) afxtest::ActivatePage(*sheet, i);
                Settle();
            });
        }
    }
    QTabBar* m_tabs = nullptr;

    void RefreshTabs() {
        CPropertySheet* sheet = TabbedSheet(m_h);
        if (!m_tabs || !sheet) return;
        QSignalBlocker block(m_tabs);
        while (m_tabs->count() > sheet->GetPageCount()) m_tabs->removeTab(m_tabs->count() - 1);
        for (int i = 0; i < sheet->GetPageCount(); ++i) {
            QString caption = WithoutMnemonic(FromGbk(sheet->GetPage(i)->GetCaption().str()));
            if (i < m_tabs->count()) m_tabs->setTabText(i, caption);
            else m_tabs->addTab(caption);
        }
        m_tabs->setCurrentIndex(sheet->GetActiveIndex());
        // Over the page area, where the model leaves room for the row of tabs.
        m_tabs->setGeometry(7, 7, width() - 14, 22);
    }

protected:
    void closeEvent(QCloseEvent* e) override {
        // The close box is the model's WM_CLOSE (a dialog answers it as Cancel).
        e->ignore();
        if (IsWindow(m_h)) {
            ::SendMessageA(m_h, WM_CLOSE, 0, 0);
            afxtest::Pump();
        }
        Settle();
    }
    void reject() override {}
    void accept() override {}
};

class PanelMirror : public SurfaceMirror<QWidget> {
public:
    using SurfaceMirror<QWidget>::SurfaceMirror;
};

// ---- edits -------------------------------------------------------------------------------------------

class EditMirror : public QLineEdit {
public:
    EditMirror(HWND h, QWidget* parent) : QLineEdit(parent), m_h(h) { setContextMenuPolicy(Qt::NoContextMenu); }
    HWND m_h;

protected:
    void focusInEvent(QFocusEvent* e) override {
        QLineEdit::focusInEvent(e);
        if (e->reason() == Qt::MouseFocusReason) TakeFocus();
    }
    // A click puts the model's focus here even when the widget had the keyboard focus already, or its
    // window is not (yet) the active one.
    void mousePressEvent(QMouseEvent* e) override {
        QLineEdit::mousePressEvent(e);
        if (e->button() == Qt::LeftButton) TakeFocus();
    }

private:
    void TakeFocus() {
        if (GetFocus() == m_h || !IsWindowEnabled(m_h)) return;
        afxtest::SetFocus(Wnd(m_h));
        Settle();
    }
};

// ---- buttons and statics ------------------------------------------------------------------------------

template <class Button>
class ButtonMirror : public Button {
public:
    ButtonMirror(HWND h, QWidget* parent) : Button(parent), m_h(h) {
        QObject::connect(this, &QAbstractButton::clicked, this, [this] {
            afxtest::Click(Wnd(m_h));
            Settle();
        });
    }
    HWND m_h;

    // The focus comes with the click: the model's button takes it itself, as the driver's click does.
};

class LabelMirror : public QLabel {
public:
    LabelMirror(HWND h, QWidget* parent) : QLabel(parent), m_h(h) {}
    HWND m_h;

protected:
    void mousePressEvent(QMouseEvent*) override {
        if (Style(m_h) & SS_NOTIFY) {
            afxtest::Click(Wnd(m_h));
            Settle();
        }
    }
};

// ---- combo and list boxes ------------------------------------------------------------------------------

bool OwnerDrawn(HWND h, bool combo) {
    const DWORD s = Style(h);
    return combo ? (s & (CBS_OWNERDRAWFIXED | CBS_OWNERDRAWVARIABLE)) != 0 : (s & (LBS_OWNERDRAWFIXED | LBS_OWNERDRAWVARIABLE)) != 0;
}

std::string ItemText(HWND h, bool combo, int i) {
    int len = static_cast<int>(SendMessageA(h, combo ? CB_GETLBTEXTLEN : LB_GETTEXTLEN, static_cast<WPARAM>(i), 0));
    if (len <= 0) return std::string();
    std::string t(static_cast<size_t>(len) + 1, '\0');
    SendMessageA(h, combo ? CB_GETLBTEXT : LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&t[0]));
    t.resize(static_cast<size_t>(len));
    return t;
}

class ComboMirror : public QComboBox {
public:
    ComboMirror(HWND h, QWidget* parent) : QComboBox(parent), m_h(h) {
        connect(this, QOverload<int>::of(&QComboBox::activated), this, [this](int i) {
            afxtest::Select(Wnd(m_h), i);
            Settle();
        });
    }
    HWND m_h;

    void Refresh() {
        QSignalBlocker block(this);
        const int n = static_cast<int>(SendMessageA(m_h, CB_GETCOUNT, 0, 0));
        const bool owner = OwnerDrawn(m_h, true);
        const bool editable = (Style(m_h) & 3) == CBS_DROPDOWN || (Style(m_h) & 3) == CBS_SIMPLE;
        setEditable(editable);
        if (editable && lineEdit() && !m_editHooked) {
            m_editHooked = true;
            connect(lineEdit(), &QLineEdit::textEdited, this, [this](const QString& t) {
                afxtest::Type(Wnd(m_h), ToGbk(t));
                Settle();
            });
        }
        clear();
        const QSize icon(std::max(16, width() - 28), 14);
        if (owner) setIconSize(icon);
        for (int i = 0; i < n; ++i) {
            if (owner) addItem(QIcon(QPixmap::fromImage(OwnerDrawnItem(m_h, ODT_COMBOBOX, i, icon.width(), icon.height(), false))), QString());
            else addItem(FromGbk(ItemText(m_h, true, i)));
        }
        setCurrentIndex(static_cast<int>(SendMessageA(m_h, CB_GETCURSEL, 0, 0)));
        if (editable && lineEdit()) {
            QString t = FromGbk(GetWindowTextRaw(m_h));
            if (lineEdit()->text() != t) lineEdit()->setText(t);
        }
    }

protected:
    void focusInEvent(QFocusEvent* e) override {
        QComboBox::focusInEvent(e);
        if (e->reason() == Qt::MouseFocusReason && GetFocus() != m_h) afxtest::SetFocus(Wnd(m_h));
    }

private:
    bool m_editHooked = false;
};

class ListBoxMirror : public QListWidget {
public:
    ListBoxMirror(HWND h, QWidget* parent) : QListWidget(parent), m_h(h) {
        setUniformItemSizes(true);
        setItemDelegate(new RowHeightDelegate(16, this));
    }
    HWND m_h;

    void Refresh() {
        QSignalBlocker block(this);
        const bool multi = (Style(m_h) & (LBS_MULTIPLESEL | LBS_EXTENDEDSEL)) != 0;
        setSelectionMode(multi ? QAbstractItemView::MultiSelection : QAbstractItemView::SingleSelection);
        const int n = static_cast<int>(SendMessageA(m_h, LB_GETCOUNT, 0, 0));
        const bool owner = OwnerDrawn(m_h, false);
        clear();
        for (int i = 0; i < n; ++i) {
            auto* it = new QListWidgetItem(this);
            if (owner) {
                setIconSize(QSize(std::max(16, viewport()->width() - 4), 14));
                it->setIcon(QIcon(QPixmap::fromImage(OwnerDrawnItem(m_h, ODT_LISTBOX, i, iconSize().width(), 14, false))));
            } else {
                it->setText(FromGbk(ItemText(m_h, false, i)));
            }
            it->setSelected(SendMessageA(m_h, LB_GETSEL, static_cast<WPARAM>(i), 0) > 0);
        }
        const int cur = static_cast<int>(SendMessageA(m_h, LB_GETCURSEL, 0, 0));
        if (cur >= 0 && cur < n) scrollToItem(item(cur));
    }

protected:
    void mousePressEvent(QMouseEvent* e) override {
        MirrorModifiers(e->modifiers());
        const int row = indexAt(e->pos()).row();
        if (row >= 0 && e->button() == Qt::LeftButton) afxtest::Select(Wnd(m_h), row);
        else if (GetFocus() != m_h) afxtest::SetFocus(Wnd(m_h));
        Settle();
    }
    void mouseDoubleClickEvent(QMouseEvent* e) override {
        const int row = indexAt(e->pos()).row();
        if (row < 0 || e->button() != Qt::LeftButton) return;
        // The second click of a double click: the model's own double-click message at the row.
        static_cast<CListBox*>(Wnd(m_h))->SetTopIndex(row);
        RECT rc;
        SendMessageA(m_h, LB_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&rc));
        afxtest::Mouse(Wnd(m_h), WM_LBUTTONDBLCLK, CPoint((rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2), MK_LBUTTON);
        Settle();
    }
    void mouseMoveEvent(QMouseEvent*) override {}
    void mouseReleaseEvent(QMouseEvent*) override {}
};

// ---- date pickers ---------------------------------------------------------------------------------------

// The person types into the date's fields or steps them with the arrow keys as the widget allows; every
// whole date the widget then holds is the driver's SetDate (DTN_DATETIMECHANGE), and the widget shows
// what the model took.
class DateMirror : public QDateEdit {
public:
    DateMirror(HWND h, QWidget* parent) : QDateEdit(parent), m_h(h) {
        setDisplayFormat("yyyy-MM-dd");
        connect(this, &QDateEdit::dateChanged, this, [this](QDate d) {
            if (!d.isValid()) return;
            SYSTEMTIME st{};
            st.wYear = static_cast<WORD>(d.year());
            st.wMonth = static_cast<WORD>(d.month());
            st.wDay = static_cast<WORD>(d.day());
            afxtest::SetDate(Wnd(m_h), &st);
            Settle();
        });
    }
    HWND m_h;

    void Refresh() {
        QSignalBlocker block(this);
        SYSTEMTIME st{};
        if (static_cast<CDateTimeCtrl*>(Wnd(m_h))->GetTime(&st) == GDT_VALID) {
            setSpecialValueText(QString());
            setDate(QDate(st.wYear, st.wMonth, st.wDay));
        } else {
            setSpecialValueText(" ");
            setDate(minimumDate());
        }
    }

protected:
    void focusInEvent(QFocusEvent* e) override {
        QDateEdit::focusInEvent(e);
        if (e->reason() == Qt::MouseFocusReason && GetFocus() != m_h) {
            afxtest::SetFocus(Wnd(m_h));
            Settle();
        }
    }
};

// ---- list views and trees -----------------------------------------------------------------------------

CListCtrl* ListOf(HWND h) { return static_cast<CListCtrl*>(Wnd(h)); }
CTreeCtrl* TreeOf(HWND h) { return static_cast<CTreeCtrl*>(Wnd(h)); }

// The model's client point under a point of a view's viewport, for a drag that has left the items: the
// widget stands at the model's window rectangle, whose top left corner is the client area's.
POINT ModelClientPoint(const QAbstractScrollArea* view, QPoint viewportPos) {
    const QPoint w = view->viewport()->mapTo(view, viewportPos);
    return POINT{w.x(), w.y()};
}

// A press, a drag and a release on the rows of a list view or the items of a tree, as a person makes
// them: the press clicks (left or right, with the modifiers held); moving past the drag distance starts
// the control's drag at the pressed item, every further move is the model's WM_MOUSEMOVE over the item
// (or point) under the mouse, so the model's drop highlight follows the person, and the release drops.
template <class View, class ItemRef>
class ItemViewMirror : public View {
public:
    ItemViewMirror(HWND h, QWidget* parent) : View(parent), m_h(h) {}
    HWND m_h;

protected:
    virtual ItemRef RefAt(QPoint pos) const = 0;
    virtual ItemRef NoItem() const = 0;
    // Scrolls the model so that the item lies in its client area, where the model hit-tests.
    virtual void ShowInModel(ItemRef ref) = 0;
    virtual void Click(ItemRef ref, bool right) = 0;
    virtual void DoubleClick(ItemRef ref) = 0;
    virtual bool BeginDrag(ItemRef from, bool right) = 0;
    virtual void DragOver(ItemRef over, bool right) = 0;
    virtual void Drop(ItemRef at, bool right) = 0;
    virtual bool ClickedButton(QPoint) { return false; }

    void mousePressEvent(QMouseEvent* e) override {
        MirrorModifiers(e->modifiers());
        m_pressPos = e->pos();
        m_pressed = RefAt(e->pos());
        m_dragging = false;
        m_right = e->button() == Qt::RightButton;
        if (!ClickedButton(e->pos())) {
            ShowInModel(m_pressed);
            Click(m_pressed, m_right);
        }
        Settle();
    }
    void mouseMoveEvent(QMouseEvent* e) override {
        if (!(e->buttons() & (Qt::LeftButton | Qt::RightButton)) || m_pressed == NoItem()) return;
        MirrorModifiers(e->modifiers());
        if (!m_dragging) {
            if ((e->pos() - m_pressPos).manhattanLength() < QApplication::startDragDistance()) return;
            ShowInModel(m_pressed);
            m_dragging = BeginDrag(m_pressed, m_right);
        }
        if (m_dragging) Step(e->pos(), false);
        Settle();
    }
    void mouseReleaseEvent(QMouseEvent* e) override {
        if (!m_dragging) return;
        m_dragging = false;
        MirrorModifiers(e->modifiers());
        Step(e->pos(), true);
        Settle();
    }
    void mouseDoubleClickEvent(QMouseEvent* e) override {
        if (e->button() != Qt::LeftButton) return;
        MirrorModifiers(e->modifiers());
        const ItemRef ref = RefAt(e->pos());
        ShowInModel(ref);
        DoubleClick(ref);
        Settle();
    }

private:
    // Over an item (or the empty space below the last) of this view, the model's point of that item;
    // outside the view, the point itself.
    void Step(QPoint pos, bool release) {
        if (this->viewport()->rect().contains(pos)) {
            const ItemRef ref = RefAt(pos);
            if (release) Drop(ref, m_right);
            else DragOver(ref, m_right);
            return;
        }
        const POINT pt = ModelClientPoint(this, pos);
        if (release) afxtest::Drop(Wnd(m_h), CPoint(pt.x, pt.y), m_right);
        else afxtest::DragOver(Wnd(m_h), CPoint(pt.x, pt.y), m_right);
    }

    QPoint m_pressPos;
    ItemRef m_pressed{};
    bool m_dragging = false;
    bool m_right = false;
};

QIcon ListIcon(HWND h, int image) {
    CImageList* il = ListOf(h)->GetImageList(LVSIL_SMALL);
    if (!il || image < 0) return QIcon();
    QImage img = ImageListImage(il->GetSafeHandle(), image);
    return img.isNull() ? QIcon() : QIcon(QPixmap::fromImage(img));
}

// The rows of a list view in either view: what a person does on a row, and what the model says a row
// shows (its text, image and highlight), one piece of code for the report and the list view.
template <class View>
class ListRowsMirror : public ItemViewMirror<View, int> {
public:
    using ItemViewMirror<View, int>::ItemViewMirror;

protected:
    // Row i's text of column c, image and highlight handed to show (selected or drop target).
    template <class Show>
    void ForEachRow(int columns, Show show) {
        CListCtrl* list = ListOf(this->m_h);
        for (int i = 0; i < list->GetItemCount(); ++i) {
            QStringList texts;
            for (int c = 0; c < columns; ++c) texts << FromGbk(list->GetItemText(i, c).str());
            const UINT st = list->GetItemState(i, LVIS_SELECTED | LVIS_DROPHILITED);
            show(i, texts, ListIcon(this->m_h, list->GetItemImage(i)), (st & (LVIS_SELECTED | LVIS_DROPHILITED)) != 0);
        }
    }
    int RefAt(QPoint pos) const override { return this->indexAt(pos).isValid() ? this->indexAt(pos).row() : -1; }
    int NoItem() const override { return -1; }
    void ShowInModel(int row) override {
        if (row < 0) return;
        RECT rc, client;
        GetClientRect(this->m_h, &client);
        CListCtrl* list = ListOf(this->m_h);
        if (!list->GetItemRect(row, &rc, LVIR_BOUNDS) || rc.top < 0 || rc.bottom > client.bottom || rc.left < 0 ||
            rc.right > client.right + kListColumnWidth)
            list->EnsureVisible(row, FALSE);
    }
    void Click(int row, bool right) override {
        if (right) afxtest::RightClickRow(ListOf(this->m_h), row);
        else afxtest::ClickRow(ListOf(this->m_h), row);
    }
    void DoubleClick(int row) override { afxtest::DoubleClickRow(ListOf(this->m_h), row); }
    bool BeginDrag(int from, bool right) override { return afxtest::BeginDrag(ListOf(this->m_h), from, right); }
    void DragOver(int row, bool right) override {
        ShowInModel(row);
        afxtest::DragOver(ListOf(this->m_h), row, right);
    }
    void Drop(int row, bool right) override {
        ShowInModel(row);
        afxtest::Drop(ListOf(this->m_h), row, right);
    }
};

class ListReportMirror : public ListRowsMirror<QTreeWidget> {
public:
    ListReportMirror(HWND h, QWidget* parent) : ListRowsMirror<QTreeWidget>(h, parent) {
        setRootIsDecorated(false);
        setUniformRowHeights(true);
        setItemDelegate(new RowHeightDelegate(kListRowHeight, this));
        setSelectionMode(QAbstractItemView::MultiSelection);
        header()->setSectionsClickable(true);
        header()->setFixedHeight(kListHeaderHeight);
        header()->setStretchLastSection(false);
        // The columns fill the model's client area; the widget's frame must not push a horizontal bar
        // over the last row.
        setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        connect(header(), &QHeaderView::sectionClicked, this, [this](int col) {
            // A click on the model's header at the column's middle.
            int x = 0;
            for (int c = 0; c < col; ++c) x += ListOf(m_h)->GetColumnWidth(c);
            x += ListOf(m_h)->GetColumnWidth(col) / 2;
            afxtest::Mouse(Wnd(m_h), WM_LBUTTONDOWN, CPoint(x, kListHeaderHeight / 2), MK_LBUTTON);
            afxtest::Mouse(Wnd(m_h), WM_LBUTTONUP, CPoint(x, kListHeaderHeight / 2), 0);
            Settle();
        });
    }

    void Refresh() {
        QSignalBlocker block(this);
        CListCtrl* list = ListOf(m_h);
        const int cols = std::max(1, list->GetColumnCount());
        setColumnCount(cols);
        setHeaderHidden((Style(m_h) & LVS_NOCOLUMNHEADER) != 0);
        QStringList heads;
        for (int c = 0; c < cols; ++c) heads << FromGbk(list->GetColumnText(c).str());
        setHeaderLabels(heads);
        for (int c = 0; c < cols; ++c) setColumnWidth(c, list->GetColumnWidth(c));
        clear();
        const bool owner = (Style(m_h) & LVS_OWNERDRAWFIXED) != 0;
        m_rows.clear();
        ForEachRow(cols, [&](int i, const QStringList& texts, const QIcon& icon, bool selected) {
            auto* it = new QTreeWidgetItem(this, texts);
            it->setIcon(0, icon);
            it->setSelected(selected);
            // An owner-drawn row shows what the list's own drawing code paints for it.
            if (owner) m_rows.push_back(OwnerDrawnRow(m_h, i));
        });
        const int n = list->GetItemCount();
        if (n > 0) scrollToItem(topLevelItem(std::min(n - 1, std::max(0, list->GetTopIndex()))), PositionAtTop);
        viewport()->update();
    }

protected:
    void drawRow(QPainter* p, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        const int row = index.row();
        if (m_rows.empty() || index.parent().isValid() || row < 0 || row >= static_cast<int>(m_rows.size()) || m_rows[row].isNull()) {
            QTreeWidget::drawRow(p, option, index);
            return;
        }
        // The model's row starts at the first column's left edge.
        p->fillRect(QRect(0, option.rect.top(), viewport()->width(), option.rect.height()), Qt::white);
        p->drawImage(QPoint(-header()->offset(), option.rect.top()), m_rows[row]);
    }

private:
    std::vector<QImage> m_rows;  // the owner-drawn rows, empty for a list that the view draws
};

class ListIconsMirror : public ListRowsMirror<QListWidget> {
public:
    ListIconsMirror(HWND h, QWidget* parent) : ListRowsMirror<QListWidget>(h, parent) {
        // Columns of rows, top to bottom then left to right, as wide and tall as the model's.
        setFlow(QListView::TopToBottom);
        setWrapping(true);
        setResizeMode(QListView::Adjust);
        setGridSize(QSize(kListColumnWidth, kListRowHeight));
        setSelectionMode(QAbstractItemView::MultiSelection);
    }

    void Refresh() {
        QSignalBlocker block(this);
        clear();
        ForEachRow(1, [&](int, const QStringList& texts, const QIcon& icon, bool selected) {
            (new QListWidgetItem(icon, texts.front(), this))->setSelected(selected);
        });
    }
};

HTREEITEM ItemOf(const QTreeWidgetItem* it) {
    return it ? reinterpret_cast<HTREEITEM>(it->data(0, Qt::UserRole).value<quintptr>()) : nullptr;
}

class TreeMirror : public ItemViewMirror<QTreeWidget, HTREEITEM> {
public:
    TreeMirror(HWND h, QWidget* parent) : ItemViewMirror<QTreeWidget, HTREEITEM>(h, parent) {
        setHeaderHidden(true);
        setUniformRowHeights(true);
        setIndentation(kTreeIndent);
        setItemDelegate(new RowHeightDelegate(kTreeRowHeight, this));
        setSelectionMode(QAbstractItemView::MultiSelection);
        setExpandsOnDoubleClick(false);
        setItemsExpandable(true);
    }

    void Refresh() {
        QSignalBlocker block(this);
        CTreeCtrl* tree = TreeOf(m_h);
        const DWORD s = Style(m_h);
        setRootIsDecorated((s & TVS_LINESATROOT) != 0);
        clear();
        m_icons = tree->GetImageList(TVSIL_NORMAL);
        for (HTREEITEM h = tree->GetRootItem(); h; h = tree->GetNextSiblingItem(h)) Add(tree, h, nullptr);
        verticalScrollBar()->setValue(GetScrollPos(m_h, SB_VERT));
    }

protected:
    HTREEITEM RefAt(QPoint pos) const override { return ItemOf(itemAt(pos)); }
    HTREEITEM NoItem() const override { return nullptr; }
    void ShowInModel(HTREEITEM item) override {
        if (!item) return;
        RECT rc, client;
        GetClientRect(m_h, &client);
        if (!TreeOf(m_h)->GetItemRect(item, &rc, FALSE) || rc.top < 0 || rc.bottom > client.bottom) TreeOf(m_h)->EnsureVisible(item);
    }
    bool ClickedButton(QPoint pos) override {
        QTreeWidgetItem* it = itemAt(pos);
        if (!it || it->childCount() == 0 || pos.x() >= visualItemRect(it).left()) return false;
        // The model's expand button: one indent left of the item's label (and image).
        HTREEITEM h = ItemOf(it);
        ShowInModel(h);
        RECT rc;
        if (!TreeOf(m_h)->GetItemRect(h, &rc, TRUE)) return true;
        CPoint pt(rc.left - (m_icons ? 18 : 0) - kTreeIndent / 2, (rc.top + rc.bottom) / 2);
        afxtest::Mouse(Wnd(m_h), WM_LBUTTONDOWN, pt, MK_LBUTTON);
        afxtest::Mouse(Wnd(m_h), WM_LBUTTONUP, pt, 0);
        return true;
    }
    void Click(HTREEITEM item, bool right) override {
        if (right) afxtest::RightClick(TreeOf(m_h), item);
        else afxtest::ClickItem(TreeOf(m_h), item);
    }
    void DoubleClick(HTREEITEM item) override { afxtest::DoubleClick(TreeOf(m_h), item); }
    bool BeginDrag(HTREEITEM from, bool right) override { return afxtest::BeginDrag(TreeOf(m_h), from, right); }
    void DragOver(HTREEITEM over, bool right) override {
        ShowInModel(over);
        afxtest::DragOver(TreeOf(m_h), over, right);
    }
    void Drop(HTREEITEM at, bool right) override {
        ShowInModel(at);
        afxtest::Drop(TreeOf(m_h), at, right);
    }

private:
    void Add(CTreeCtrl* tree, HTREEITEM h, QTreeWidgetItem* parent) {
        auto* it = parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(this);
        it->setData(0, Qt::UserRole, QVariant::fromValue(reinterpret_cast<quintptr>(h)));
        it->setText(0, FromGbk(tree->GetItemText(h).str()));
        const bool selected = tree->GetSelectedItem() == h;
        const UINT st = tree->GetItemState(h, TVIS_EXPANDED | TVIS_DROPHILITED);
        int image = 0, selImage = 0;
        if (m_icons && tree->GetItemImage(h, image, selImage)) {
            QImage img = ImageListImage(m_icons->GetSafeHandle(), selected ? selImage : image);
            if (!img.isNull()) it->setIcon(0, QIcon(QPixmap::fromImage(img)));
        }
        for (HTREEITEM c = tree->GetChildItem(h); c; c = tree->GetNextSiblingItem(c)) Add(tree, c, it);
        it->setExpanded((st & TVIS_EXPANDED) != 0);
        it->setSelected(selected || (st & TVIS_DROPHILITED));
    }
    CImageList* m_icons = nullptr;
};

// ---- common state --------------------------------------------------------------------------------------

void RefreshFrame(QFrame* f, HWND h) {
    const DWORD s = Style(h);
    const DWORD ex = static_cast<DWORD>(GetWindowLongPtrA(h, GWL_EXSTYLE));
    if ((s & SS_SUNKEN) || (ex & (WS_EX_CLIENTEDGE | WS_EX_STATICEDGE))) f->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    else if (s & WS_BORDER) f->setFrameStyle(QFrame::Box | QFrame::Plain);
    else f->setFrameStyle(QFrame::NoFrame);
}

}  // namespace

HWND MirroredWindow(const QWidget* widget) {
    if (!widget) return nullptr;
    QVariant v = widget->property(kHwndProperty);
    return v.isValid() ? reinterpret_cast<HWND>(v.value<quintptr>()) : nullptr;
}

Kind KindOf(HWND h) {
    const std::string cls = ClassOf(h);
    const DWORD s = Style(h);
    if (cls == "#32770") return GetParent(h) ? Kind::Panel : Kind::Dialog;
    if (win32::GetWindowCanvas(h)) return Kind::Canvas;
    if (cls == "button") {
        switch (s & BS_TYPEMASK) {
            case BS_GROUPBOX: return Kind::GroupBox;
            case BS_CHECKBOX: case BS_AUTOCHECKBOX: case BS_3STATE: case BS_AUTO3STATE: return Kind::CheckBox;
            case BS_RADIOBUTTON: case BS_AUTORADIOBUTTON: return Kind::Radio;
            case BS_OWNERDRAW: return Kind::Canvas;
            default: return Kind::PushButton;
        }
    }
    if (cls == "edit") return Kind::Edit;
    if (cls == "static") {
        const DWORD t = s & SS_TYPEMASK;
        if (t == SS_BITMAP || t == SS_ICON) return Kind::Picture;
        if (t == SS_ETCHEDHORZ || t == SS_ETCHEDVERT || t == SS_ETCHEDFRAME || (t >= SS_BLACKRECT && t <= SS_BLACKFRAME + 2))
            return Kind::Line;
        return Kind::Label;
    }
    if (cls == "combobox") return Kind::Combo;
    if (cls == "listbox") return Kind::ListBox;
    if (cls == "syslistview32") return (s & LVS_TYPEMASK) == LVS_REPORT ? Kind::ListReport : Kind::ListIcons;
    if (cls == "systreeview32") return Kind::Tree;
    if (cls == "scrollbar") return Kind::ScrollBar;
    if (cls == "sysdatetimepick32") return Kind::Date;
    return Kind::Canvas;
}

QWidget* CreateMirror(Kind kind, HWND h, QWidget* parent) {
    QWidget* w = nullptr;
    switch (kind) {
        case Kind::Dialog: {
            auto* d = new DialogMirror(h);
            d->setModal(false);
            w = d;
            break;
        }
        case Kind::Panel: w = new PanelMirror(h, parent); break;
        case Kind::Canvas: w = new CanvasMirror(h, parent); break;
        case Kind::Edit: w = new EditMirror(h, parent); break;
        case Kind::PushButton: {
            auto* b = new ButtonMirror<QPushButton>(h, parent);
            b->setAutoDefault(false);
            w = b;
            break;
        }
        case Kind::CheckBox: w = new ButtonMirror<QCheckBox>(h, parent); break;
        case Kind::Radio: {
            auto* r = new ButtonMirror<QRadioButton>(h, parent);
            r->setAutoExclusive(false);  // the model unchecks the rest of the group
            w = r;
            break;
        }
        case Kind::GroupBox: {
            auto* g = new QGroupBox(parent);
            g->setAttribute(Qt::WA_TransparentForMouseEvents);
            w = g;
            break;
        }
        case Kind::Label:
        case Kind::Picture: w = new LabelMirror(h, parent); break;
        case Kind::Line: {
            auto* f = new QFrame(parent);
            f->setAttribute(Qt::WA_TransparentForMouseEvents);
            w = f;
            break;
        }
        case Kind::Combo: w = new ComboMirror(h, parent); break;
        case Kind::ListBox: w = new ListBoxMirror(h, parent); break;
        case Kind::ListReport: w = new ListReportMirror(h, parent); break;
        case Kind::ListIcons: w = new ListIconsMirror(h, parent); break;
        case Kind::Tree: w = new TreeMirror(h, parent); break;
        case Kind::ScrollBar:
            w = new ModelScrollBar(h, SB_CTL, (Style(h) & SBS_VERT) ? Qt::Vertical : Qt::Horizontal, parent);
            break;
        case Kind::Date: w = new DateMirror(h, parent); break;
    }
    Tag(w, h);
    w->setFont(DialogFont());
    // Every move of the mouse reaches the model (WM_SETCURSOR), with no button down too.
    w->setMouseTracking(true);
    if (auto* area = qobject_cast<QAbstractScrollArea*>(w)) area->viewport()->setMouseTracking(true);
    const DWORD s = Style(h);
    const bool takesFocus = kind != Kind::Label && kind != Kind::Picture && kind != Kind::Line && kind != Kind::GroupBox &&
                            kind != Kind::Dialog && kind != Kind::Panel;
    if (takesFocus) w->setFocusPolicy((s & WS_TABSTOP) ? Qt::StrongFocus : Qt::ClickFocus);
    else w->setFocusPolicy(Qt::NoFocus);
    return w;
}

QWidget* ChildHost(Kind kind, QWidget* widget) {
    if (kind == Kind::ListReport || kind == Kind::ListIcons || kind == Kind::Tree)
        return static_cast<QAbstractScrollArea*>(widget)->viewport();
    return widget;
}

void RefreshMirror(Kind kind, HWND h, QWidget* w) {
    const DWORD s = Style(h);
    const std::string text = GetWindowTextRaw(h);
    QRect r = ModelRect(h);
    if (kind == Kind::Dialog) {
        w->setFixedSize(r.size());
        w->setWindowTitle(WithoutMnemonic(FromGbk(text)));
    } else {
        // A combo's template height includes its drop-down list; the field is one line high.
        if (kind == Kind::Combo) r.setHeight(std::min(r.height(), std::max(20, w->sizeHint().height())));
        w->setGeometry(r);
    }
    w->setEnabled(!(s & WS_DISABLED));
    switch (kind) {
        case Kind::Dialog: {
            auto* d = static_cast<DialogMirror*>(w);
            d->m_image = CanvasImage(h);
            d->RefreshTabs();
            d->update();
            break;
        }
        case Kind::Panel: {
            auto* p = static_cast<PanelMirror*>(w);
            p->m_image = CanvasImage(h);
            p->update();
            break;
        }
        case Kind::Canvas: static_cast<CanvasMirror*>(w)->Refresh(); break;
        case Kind::Edit: {
            auto* e = static_cast<EditMirror*>(w);
            const QString t = FromGbk(text);
            if (e->text() != t) {
                QSignalBlocker block(e);
                e->setText(t);
            }
            // A read-only edit looks like the desktop's: grey, with a plain frame and no focus ring, so that
            // nobody takes it for a field to type in.
            const bool readOnly = (s & ES_READONLY) != 0;
            if (e->isReadOnly() != readOnly || e->styleSheet().isEmpty() == readOnly) {
                e->setReadOnly(readOnly);
                e->setStyleSheet(readOnly ? QStringLiteral("QLineEdit { background: rgb(212, 208, 200); color: black;"
                                                           " border: 1px solid rgb(128, 128, 128); padding: 0 2px; }")
                                          : QString());
            }
            e->setEchoMode((s & ES_PASSWORD) ? QLineEdit::Password : QLineEdit::Normal);
            e->setAlignment((s & ES_RIGHT) ? Qt::AlignRight : (s & ES_CENTER) ? Qt::AlignHCenter : Qt::AlignLeft);
            break;
        }
        case Kind::PushButton:
        case Kind::CheckBox:
        case Kind::Radio: {
            auto* b = static_cast<QAbstractButton*>(w);
            b->setText(FromGbk(text));
            if (kind == Kind::PushButton) static_cast<QPushButton*>(b)->setDefault((s & BS_TYPEMASK) == BS_DEFPUSHBUTTON);
            else {
                QSignalBlocker block(b);
                const int check = static_cast<int>(SendMessageA(h, BM_GETCHECK, 0, 0));
                b->setCheckable(true);
                if (auto* cb = qobject_cast<QCheckBox*>(b)) {
                    cb->setTristate((s & BS_TYPEMASK) == BS_3STATE || (s & BS_TYPEMASK) == BS_AUTO3STATE);
                    cb->setCheckState(check == BST_CHECKED ? Qt::Checked : check == BST_INDETERMINATE ? Qt::PartiallyChecked : Qt::Unchecked);
                } else {
                    b->setChecked(check == BST_CHECKED);
                }
            }
            break;
        }
        case Kind::GroupBox: static_cast<QGroupBox*>(w)->setTitle(WithoutMnemonic(FromGbk(text))); break;
        case Kind::Label: {
            auto* l = static_cast<QLabel*>(w);
            l->setText(WithoutMnemonic(FromGbk(text)));
            l->setTextFormat(Qt::PlainText);
            const DWORD t = s & SS_TYPEMASK;
            Qt::Alignment a = t == SS_CENTER ? Qt::AlignHCenter : t == SS_RIGHT ? Qt::AlignRight : Qt::AlignLeft;
            l->setAlignment(a | ((s & SS_CENTERIMAGE) ? Qt::AlignVCenter : Qt::AlignTop));
            l->setWordWrap(t == SS_LEFT || t == SS_CENTER || t == SS_RIGHT);
            RefreshFrame(l, h);
            break;
        }
        case Kind::Picture: {
            auto* l = static_cast<QLabel*>(w);
            QImage img = ImageOfBitmap(reinterpret_cast<HBITMAP>(SendMessageA(h, STM_GETIMAGE, IMAGE_BITMAP, 0)));
            l->setPixmap(img.isNull() ? QPixmap() : QPixmap::fromImage(img));
            l->setAlignment(Qt::AlignLeft | Qt::AlignTop);
            RefreshFrame(l, h);
            break;
        }
        case Kind::Line: {
            auto* f = static_cast<QFrame*>(w);
            const DWORD t = s & SS_TYPEMASK;
            f->setFrameStyle((t == SS_ETCHEDHORZ ? QFrame::HLine : t == SS_ETCHEDVERT ? QFrame::VLine : QFrame::Box) | QFrame::Sunken);
            break;
        }
        case Kind::Combo: static_cast<ComboMirror*>(w)->Refresh(); break;
        case Kind::ListBox: static_cast<ListBoxMirror*>(w)->Refresh(); break;
        case Kind::ListReport: static_cast<ListReportMirror*>(w)->Refresh(); break;
        case Kind::ListIcons: static_cast<ListIconsMirror*>(w)->Refresh(); break;
        case Kind::Tree: static_cast<TreeMirror*>(w)->Refresh(); break;
        case Kind::ScrollBar: static_cast<ModelScrollBar*>(w)->Refresh(); break;
        case Kind::Date: static_cast<DateMirror*>(w)->Refresh(); break;
    }
    // Visibility last: a widget shows once it holds its state.
    if (kind != Kind::Dialog) w->setVisible((s & WS_VISIBLE) != 0);
}

}  // namespace afxqt
