// The library's dialogs and property sheets on the screen: each case runs one twice with the same
// person-like actions, once through the scripted driver and once through real Qt events on the widgets,
// and compares the result, the members its data exchange wrote, the messages the model sent and the
// message boxes shown. The Qt run leaves a picture of each in the gallery.
#include <QAbstractButton>
#include <QAbstractItemView>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include <afx/afx.h>
#include <afx/ListCtrl.h>
#include <caddox/Choosers.h>
#include <caddox/TPropertySheet.h>
#include <tamsel/GeoAttributeDatabase.h>
#include <gtest/gtest.h>

#include <memory>
#include <sstream>

#include "ScreenTestSupport.h"
#include "platform/quenby/SampleSymbolLib.h"
#include "terrain/GeoDEM.h"
#include "core/GeoVectorLayer.h"
#include "core/GeoView.h"
#include "annotation/GeoAnno.h"
#include "core/PropertyParam.h"
#include "support/TempDir.h"
#include "support/UiFixtures.h"
#include "ui/ADBValueDlg.h"
#include "ui/GeoFormatDlg.h"
#include "ui/GeoRectDlg.h"
#include "ui/InsertCharDlg.h"
#include "ui/LayerPropSheet.h"
#include "ui/SchemaDesignDlg.h"
#include "ui/SchemaDesignFixture.h"
#include "ui/VectorObjectPropSheetEx.h"
#include "ui/resources/LayerDialogTemplates.h"
#include "ui/resources/SchemeDesignTemplates.h"
#include "ui/BilParamDlg.h"
#include "ui/FieldDefDlg.h"
#include "ui/FieldPropDlg.h"
#include "ui/GCInfoDlg.h"
#include "ui/GCPropSheet.h"
#include "ui/PickGCDlg.h"
#include "ui/SelectGCDlg.h"
#include "raster/GeoImage.h"
#include "raster/GeoMosaicPLine.h"
#include "ui/SDFieldPage.h"
#include "ui/StyleSheet.h"
#include "vector/GeoPoint.h"
#include "ui/DEMLevelDlg.h"
#include "ui/LevelCountDlg.h"
#include "ui/SymbolLibPickDlg.h"
#include "ui/SymbolPickDlg.h"
#include "ui/ValueInputDlg.h"
#include "ui/resources/DemDialogTemplates.h"
#include "ui/resources/FieldDialogTemplates.h"
#include "ui/resources/ClassDialogTemplates.h"
#include "ui/resources/ObjectDialogTemplates.h"

namespace {

// What a person does, named the same for both runs.
struct Act {
    enum Kind { Type, Click, Pick, Key, Row, Point, Item, Label } kind;
    int id = 0;
    std::string text;  // Type: the characters typed over the whole field (GBK); Item, Label: the item's text
    int index = 0;     // Pick: the item; Key: the virtual key; Row: the row
    CPoint pt;         // Point: a click at this client point of the window
    std::string label;  // Label: the new label typed over the old one, then Enter
};
Act Type(int id, const std::string& text) { return {Act::Type, id, text, 0, {}, {}}; }
Act Click(int id) { return {Act::Click, id, "", 0, {}, {}}; }
Act Pick(int id, int index) { return {Act::Pick, id, "", index, {}, {}}; }
Act Key(UINT vk) { return {Act::Key, 0, "", static_cast<int>(vk), {}, {}}; }
Act Row(int id, int row) { return {Act::Row, id, "", row, {}, {}}; }
Act Point(int id, CPoint pt) { return {Act::Point, id, "", 0, pt, {}}; }
Act Item(int id, const std::string& text) { return {Act::Item, id, text, 0, {}, {}}; }
// A tree item picked, F2 pressed and a new label typed over the old one, then Enter.
Act Label(int id, const std::string& item, const std::string& label) { return {Act::Label, id, item, 0, {}, label}; }
// A page of a sheet whose pages stand in a tree, picked there by its caption.
Act Page(const std::string& caption) { return Item(CADDOX_IDC_PAGE_TREE, caption); }

struct Case {
    const char* name;
    std::function<std::unique_ptr<CWnd>()> make;  // a dialog or a property sheet
    std::vector<Act> acts;
    std::vector<int> boxes;                     // the answers to the boxes, in order
    std::function<std::string(CWnd&)> members;  // what the exchange wrote, after DoModal
    // For a sheet that an object opens itself through its hook: make() gives the object's holder (a
    // window never created), open runs the hook on it and gives its result, and the acts go to the
    // sheet the hook opens.
    std::function<INT_PTR(CWnd&)> open = {};
    // Dialogs the acts open from the window, in the order they open (each met before any box), with what
    // the person does in each.
    struct Nested {
        UINT id;
        std::vector<Act> acts;
    };
    std::vector<Nested> nested = {};
    // For an object whose hook opens a dialog rather than a sheet: the dialog's template.
    UINT hooked = 0;
};

INT_PTR Modal(CWnd& w) {
    if (auto* sheet = dynamic_cast<CPropertySheet*>(&w)) return sheet->DoModal();
    return static_cast<CDialog&>(w).DoModal();
}

bool Ended(CWnd& w) {
    if (auto* sheet = dynamic_cast<CPropertySheet*>(&w)) return sheet->IsEnded() != FALSE;
    return static_cast<CDialog&>(w).IsEnded() != FALSE;
}

// A control of the dialog, or of a sheet's active page (else of the sheet itself: its buttons, its tree).
CWnd* Ctl(CWnd& top, int id) {
    if (auto* sheet = dynamic_cast<CPropertySheet*>(&top))
        if (CPropertyPage* page = sheet->GetActivePage())
            if (CWnd* c = page->GetDlgItem(id)) return c;
    return top.GetDlgItem(id);
}

HTREEITEM TreeItem(CTreeCtrl* tree, HTREEITEM from, const std::string& text) {
    for (HTREEITEM h = from; h; h = tree->GetNextSiblingItem(h)) {
        if (tree->GetItemText(h).str() == text) return h;
        if (HTREEITEM c = TreeItem(tree, tree->GetChildItem(h), text)) return c;
    }
    return nullptr;
}

// ---- the driver's run ------------------------------------------------------------------------------

// The person's select-all before typing over a field (Ctrl+A on the screen), which a desktop edit does
// without a message: the spy does not see it.
void SelectAll(CWnd* edit) {
    auto spy = win32::GetMessageSpy();
    win32::SetMessageSpy(nullptr);
    edit->SendMessage(EM_SETSEL, 0, -1);
    win32::SetMessageSpy(spy);
}

void DriverAct(CWnd& d, const Act& a) {
    CWnd* c = a.id ? Ctl(d, a.id) : nullptr;
    switch (a.kind) {
        case Act::Type:
            afxtest::SetFocus(c);
            SelectAll(c);
            afxtest::TypeChars(c, a.text);
            break;
        case Act::Click: afxtest::Click(c); break;
        case Act::Pick: afxtest::Select(c, a.index); break;
        case Act::Key: afxtest::Key(static_cast<UINT>(a.index)); break;
        case Act::Row:
            static_cast<CListCtrl*>(c)->EnsureVisible(a.index, FALSE);
            afxtest::ClickRow(static_cast<CListCtrl*>(c), a.index);
            break;
        case Act::Point:
            afxtest::Mouse(c, WM_LBUTTONDOWN, a.pt, MK_LBUTTON);
            afxtest::Mouse(c, WM_LBUTTONUP, a.pt, 0);
            break;
        case Act::Item:
        case Act::Label: {
            auto* tree = static_cast<CTreeCtrl*>(c);
            HTREEITEM h = TreeItem(tree, tree->GetRootItem(), a.text);
            tree->EnsureVisible(h);
            afxtest::ClickItem(tree, h);
            if (a.kind == Act::Item) break;
            afxtest::Key(VK_F2);
            CWnd* edit = tree->GetEditControl();
            if (!edit) {
                ADD_FAILURE() << "F2 started no label edit on " << a.text;
                break;
            }
            SelectAll(edit);
            afxtest::TypeChars(edit, a.label);
            afxtest::Key(VK_RETURN);
            break;
        }
    }
    AfxQtSync();  // a screen paints between a person's actions
}

// ---- the person's run on the screen ----------------------------------------------------------------

Qt::Key QtKey(UINT vk) {
    switch (vk) {
        case VK_RETURN: return Qt::Key_Return;
        case VK_ESCAPE: return Qt::Key_Escape;
        case VK_TAB: return Qt::Key_Tab;
        case VK_DELETE: return Qt::Key_Delete;
        case VK_BACK: return Qt::Key_Backspace;
        case VK_DOWN: return Qt::Key_Down;
        case VK_UP: return Qt::Key_Up;
        case VK_LEFT: return Qt::Key_Left;
        case VK_RIGHT: return Qt::Key_Right;
        case VK_SPACE: return Qt::Key_Space;
        default: return Qt::Key_unknown;
    }
}

// Keys of the characters (GBK) at the widget.
void TypeInto(QWidget* w, const std::string& gbk) {
    for (QChar ch : screentest::Q(gbk.c_str())) {
        if (ch.unicode() < 0x80) {
            QTest::keyClick(w, static_cast<char>(ch.unicode()));
        } else {
            // A character of an input method: a key press with only its text.
            QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(ch));
            QApplication::sendEvent(w, &press);
        }
    }
}

void PersonAct(CWnd& d, const Act& a) {
    QWidget* w = a.id ? AfxQtWidget(Ctl(d, a.id)->m_hWnd) : nullptr;
    if (a.id) {
        ASSERT_NE(w, nullptr) << "no widget for control " << a.id;
    }
    switch (a.kind) {
        case Act::Type:
            QTest::mouseClick(w, Qt::LeftButton, {}, screentest::Centre(w));
            QTest::keyClick(w, Qt::Key_A, Qt::ControlModifier);
            TypeInto(w, a.text);
            break;
        case Act::Click: QTest::mouseClick(w, Qt::LeftButton, {}, screentest::Centre(w)); break;
        case Act::Pick: {
            if (auto* list = qobject_cast<QListWidget*>(w)) {
                // A list box: the person clicks the row.
                list->scrollToItem(list->item(a.index));
                QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(a.index)).center());
                break;
            }
            auto* combo = qobject_cast<QComboBox*>(w);
            ASSERT_NE(combo, nullptr);
            QTest::mouseClick(combo, Qt::LeftButton, {}, screentest::Centre(combo));  // the list drops down
            // The offscreen platform does not place the drop-down list where a click can reach it: the
            // pick arrives as the list delivers it.
            combo->hidePopup();
            emit combo->activated(a.index);
            break;
        }
        case Act::Key: {
            QWidget* f = QApplication::focusWidget() ? QApplication::focusWidget() : AfxQtWidget(d.m_hWnd)->focusWidget();
            ASSERT_NE(f, nullptr);
            QTest::keyClick(f, QtKey(static_cast<UINT>(a.index)));
            break;
        }
        case Act::Row:
            if (auto* view = qobject_cast<QTreeWidget*>(w)) {
                QTest::mouseClick(view->viewport(), Qt::LeftButton, {},
                                  view->visualItemRect(view->topLevelItem(a.index)).center());
            } else {
                // A list that paints itself: the row where the model draws it.
                auto* list = static_cast<CListCtrl*>(Ctl(d, a.id));
                list->EnsureVisible(a.index, FALSE);
                AfxQtSync();
                RECT rc;
                list->GetItemRect(a.index, &rc, LVIR_LABEL);
                QTest::mouseClick(w, Qt::LeftButton, {}, QPoint((rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2));
            }
            break;
        case Act::Point: QTest::mouseClick(w, Qt::LeftButton, {}, QPoint(a.pt.x, a.pt.y)); break;
        case Act::Item:
        case Act::Label: {
            auto* view = qobject_cast<QTreeWidget*>(w);
            ASSERT_NE(view, nullptr);
            const QList<QTreeWidgetItem*> found = view->findItems(screentest::Q(a.text.c_str()), Qt::MatchExactly | Qt::MatchRecursive);
            ASSERT_FALSE(found.isEmpty()) << a.text;
            view->scrollToItem(found.front());
            QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualItemRect(found.front()).center());
            if (a.kind == Act::Item) break;
            QTest::keyClick(view, Qt::Key_F2);
            QWidget* editor = QApplication::focusWidget();
            ASSERT_NE(editor, nullptr) << "F2 started no label edit on " << a.text;
            QTest::keyClick(editor, Qt::Key_A, Qt::ControlModifier);
            TypeInto(editor, a.label);
            QTest::keyClick(editor, Qt::Key_Return);
            break;
        }
    }
}

// Answers every message box that shows with the next answer, as the person reads and presses it.
class BoxAnswerer {
public:
    explicit BoxAnswerer(std::vector<int> answers) : m_answers(std::move(answers)) {
        QObject::connect(&m_timer, &QTimer::timeout, [this] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box || !box->isVisible() || m_next >= m_answers.size()) return;
            const int a = m_answers[m_next++];
            const QMessageBox::StandardButton b = a == IDOK ? QMessageBox::Ok : a == IDCANCEL ? QMessageBox::Cancel
                                                  : a == IDYES ? QMessageBox::Yes : QMessageBox::No;
            QTest::mouseClick(box->button(b), Qt::LeftButton);
        });
        m_timer.start(5);
    }
    size_t Used() const { return m_next; }

private:
    std::vector<int> m_answers;
    size_t m_next = 0;
    QTimer m_timer;
};

struct Outcome {
    INT_PTR result = -2;
    std::string members;
    std::vector<std::string> messages;
    std::vector<std::string> boxes;
};

std::vector<std::string> Boxes() {
    std::vector<std::string> r;
    for (const AfxMessageRecord& m : AfxGetMessageLog())
        r.push_back(m.text.str() + " | " + std::to_string(m.nType) + " | " + std::to_string(m.nAnswer));
    return r;
}

Outcome RunDriver(const Case& c) {
    AfxClearMessageLog();
    Outcome o;
    std::unique_ptr<CWnd> top = c.make();
    afxtest::Session s;
    s.SetFailureHandler([&c](const std::string& m) { ADD_FAILURE() << c.name << ": " << m; });
    auto act = [&](CWnd& d) {
        for (const Act& a : c.acts)
            if (!Ended(d)) DriverAct(d, a);
    };
    if (c.hooked) s.ExpectDialog(c.hooked, act);
    else if (c.open || dynamic_cast<CPropertySheet*>(top.get())) s.ExpectSheet("", act);
    else s.ExpectDialog(static_cast<CDialog&>(*top).GetTemplateID(), act);
    for (const Case::Nested& n : c.nested)
        s.ExpectDialog(n.id, [&n](CDialog& d) {
            for (const Act& a : n.acts)
                if (!Ended(d)) DriverAct(d, a);
        });
    for (int answer : c.boxes) s.ExpectMessageBox("", answer);
    {
        screentest::Spy spy;
        o.result = c.open ? c.open(*top) : Modal(*top);
        o.messages = spy.Lines();
    }
    EXPECT_TRUE(s.Verify()) << c.name;
    o.members = c.members(*top);
    o.boxes = Boxes();
    return o;
}

// Every shown control of the window lies inside the widget it stands on, none cut off at an edge.
void ExpectNothingCutOff(QWidget* top, const std::string& name) {
    for (QWidget* c : top->findChildren<QWidget*>()) {
        if (!AfxQtWindowOf(c) || !c->isVisibleTo(top) || !c->parentWidget()) continue;
        const QRect area = c->parentWidget()->rect();
        EXPECT_TRUE(area.contains(c->geometry())) << name << ": control " << GetDlgCtrlID(AfxQtWindowOf(c)) << " at ("
                                                  << c->x() << "," << c->y() << " " << c->width() << "x" << c->height()
                                                  << ") cut off by its parent's " << area.width() << "x" << area.height();
    }
}

// The model window behind a top-level widget, when it is a dialog or a property sheet.
CWnd* DialogOf(QWidget* w) {
    HWND h = AfxQtWindowOf(w);
    if (!h || !IsWindow(h)) return nullptr;
    CWnd* wnd = CWnd::FromHandle(h);
    return dynamic_cast<CPropertySheet*>(wnd) || dynamic_cast<CDialog*>(wnd) ? wnd : nullptr;
}

// Waits for the nested dialogs of the case from the i-th on, one after another, and acts in each.
void PersonInNested(const Case& c, size_t i) {
    if (i >= c.nested.size()) return;
    const Case::Nested& n = c.nested[i];
    screentest::When(
        [&n](QWidget* w) {
            auto* d = dynamic_cast<CDialog*>(DialogOf(w));
            return d && !dynamic_cast<CPropertyPage*>(d) && d->GetTemplateID() == n.id;
        },
        [&c, &n, i](QWidget* w) {
            CWnd* d = DialogOf(w);
            screentest::SaveShot(w, std::string("dialog_") + c.name + "_nested" + std::to_string(i));
            ExpectNothingCutOff(w, c.name);
            PersonInNested(c, i + 1);
            for (size_t k = 0; k < n.acts.size() && !Ended(*d); ++k) PersonAct(*d, n.acts[k]);
            if (!Ended(*d)) ADD_FAILURE() << c.name << ": the actions left nested dialog " << n.id << " open";
        });
}

Outcome RunScreen(const Case& c) {
    AfxClearMessageLog();
    Outcome o;
    std::unique_ptr<CWnd> top = c.make();
    // The window acted on: the dialog made, or the sheet the hook opens once it shows.
    HWND shown = nullptr;
    CWnd* made = c.open ? nullptr : top.get();
    BoxAnswerer answers(c.boxes);
    PersonInNested(c, 0);
    bool acted = false;
    auto meets = [made, &c](QWidget* w) {
        if (made) return screentest::Mirrors(w, made->m_hWnd);
        if (c.hooked) {
            auto* d = dynamic_cast<CDialog*>(DialogOf(w));
            return d && !dynamic_cast<CPropertyPage*>(d) && d->GetTemplateID() == c.hooked;
        }
        return dynamic_cast<CPropertySheet*>(DialogOf(w)) != nullptr;
    };
    screentest::When(meets, [&](QWidget* w) {
        acted = true;
        CWnd* d = DialogOf(w);
        shown = d->m_hWnd;
        screentest::SaveShot(w, std::string("dialog_") + c.name);
        ExpectNothingCutOff(w, c.name);
        for (size_t i = 0; i < c.acts.size() && !Ended(*d); ++i) {
            PersonAct(*d, c.acts[i]);
            // Every page a sheet opens gets its picture too.
            if (c.acts[i].kind == Act::Item && !Ended(*d)) {
                screentest::SaveShot(w, std::string("dialog_") + c.name + "_page" + std::to_string(i));
                ExpectNothingCutOff(w, c.name);
            }
        }
        if (!Ended(*d)) ADD_FAILURE() << c.name << ": the actions left the dialog open";
    });
    // A case that never reaches its end must not hold the modal loop for ever: after 20 s every box
    // that shows is closed and the dialog ended, again and again, until the case gets out.
    QTimer watchdog;
    bool expired = false;
    QObject::connect(&watchdog, &QTimer::timeout, [&] {
        if (!expired) ADD_FAILURE() << c.name << ": still open after 20 s";
        expired = true;
        watchdog.setInterval(50);
        while (QWidget* m = QApplication::activeModalWidget()) {
            if (AfxQtWindowOf(m)) break;
            m->close();
        }
        if (made) shown = made->m_hWnd;
        if (shown && IsWindow(shown)) {
            CWnd* d = CWnd::FromHandle(shown);
            if (auto* sheet = dynamic_cast<CPropertySheet*>(d)) sheet->EndDialog(IDCANCEL);
            else if (auto* dlg = dynamic_cast<CDialog*>(d)) dlg->EndDialog(IDCANCEL);
        }
        AfxQtSync();
    });
    watchdog.start(20000);
    {
        screentest::Spy spy;
        o.result = c.open ? c.open(*top) : Modal(*top);
        o.messages = spy.Lines();
    }
    EXPECT_TRUE(acted) << c.name;
    EXPECT_EQ(answers.Used(), c.boxes.size()) << c.name;
    o.members = c.members(*top);
    o.boxes = Boxes();
    return o;
}

// ---- the dialogs ---------------------------------------------------------------------------------------

std::string Str(const std::initializer_list<std::string>& parts) {
    std::string r;
    for (const auto& p : parts) r += p + ";";
    return r;
}

CGeoClassificationParameter FourClasses() {
    CGeoClassificationParameter p;
    CArray<DWORD, DWORD> colors;
    CArray<double, double> thresholds;
    for (COLORREF c : {0x217500u, 0x07DFBCu, 0x185AADu, 0xFFFFFFu}) colors.Add(c);
    for (double t : {100.0, 200.0, 300.0}) thresholds.Add(t);
    p.SetArrange(0.0, 400.0);
    p.SetColorArray(colors);
    p.SetThresholdArray(thresholds);
    return p;
}

CSymbolLibIO& SampleLib() {
    static CSymbolLibIO* lib = [] {
        auto* l = new CSymbolLibIO();
        quenbytest::AddSampleSymbols(*l);
        return l;
    }();
    return *lib;
}

// Dialogs made by type, handed over as the windows the table runs.
template <class D, class... Args>
std::function<std::unique_ptr<CWnd>()> Make(Args... args) {
    return [args...] { return std::unique_ptr<CWnd>(std::make_unique<D>(args...)); };
}
template <class D>
D& As(CWnd& w) {
    return static_cast<D&>(w);
}

GEOVIEW SampleStyle() {
    GEOVIEW v;
    v.m_nPointShape = 'A';
    v.m_crPointColor = 0x0000FF;
    v.m_nPointSize = 20;
    v.SetSymbol(SYMBOL_POINT, 2);
    v.m_nLineShape = 0x200 | 0x2000;
    v.m_crLineColor = 0x00FF00;
    v.m_fLineWidth = 3.7f;
    v.m_crFillColor = 0xFF0000;
    v.m_bTransparent = 0;
    v.SetSymbol(SYMBOL_FILL, 21);
    v.m_crAnnoColor = 0x112233;
    v.m_nBufferWidth = 7;
    return v;
}

std::string DumpStyle(const GEOVIEW& v) {
    CString s;
    s.Format("pt %d/%06x/%d/%d line %d/%06x/%g fill %d/%06x/%d/%d anno %s/%06x/%x/%d", v.m_nPointShape, v.m_crPointColor,
             v.m_nPointSize, v.GetSymbol(SYMBOL_POINT), v.m_nLineShape, v.m_crLineColor, v.m_fLineWidth, v.m_nFillShape,
             v.m_crFillColor, v.m_bTransparent, v.GetSymbol(SYMBOL_FILL), v.m_szFaceName, v.m_crAnnoColor, v.m_dwTextFlags,
             v.m_nBufferWidth);
    return s.str();
}

CDaoFieldInfo Field(const char* name, short type, LONG size = 0, BOOL required = FALSE) {
    CDaoFieldInfo f;
    f.m_strName = name;
    f.m_nType = type;
    f.m_lSize = size;
    f.m_bRequired = required;
    return f;
}

std::string DumpField(const CDaoFieldInfo& f) {
    return Str({f.m_strName.str(), std::to_string(f.m_nType), std::to_string(f.m_lSize), f.m_strDefaultValue.str(),
                std::to_string(f.m_bRequired)});
}

// The feature classes a new class must not repeat, and one class with three fields.
struct Classes {
    CObList others;
    CGeoGClass withFields;
    Classes() {
        for (auto [code, name] : {std::make_pair(1u, "道路"), std::make_pair(3u, "河流")}) {
            auto* gc = new CGeoGClass;
            gc->SetGCID(code);
            gc->SetGCName(name);
            others.AddTail(gc);
        }
        withFields.SetGCID(8);
        withFields.SetGCName("桥梁");
        for (const char* n : {"长度", "宽度", "名称"}) withFields.AddField(Field(n, dbText, 20), -2);
    }
};
Classes& SampleClasses() {
    static Classes* c = new Classes();
    return *c;
}

std::string DumpClass(CWnd& w) {
    auto& sheet = As<CGCPropSheet>(w);
    const CGeoGClass gc = sheet.GetEditedGClass();
    std::string fields;
    for (int i = 0; i < gc.GetFieldCount(); ++i) {
        CDaoFieldInfo f;
        gc.GetFieldInfo(i, f);
        fields += f.m_strName.str() + ",";
    }
    return Str({std::to_string(sheet.GetModifiedFlag()), std::to_string(gc.GetGCID()), gc.GetGCName().str(),
                std::to_string(gc.GetType()), fields});
}

// A layer whose class 5 holds a required name and a width, with one point of the class.
struct RoadLayer {
    CGeoVectorLayer layer;
    CGeoPoint* point = new CGeoPoint(1, 2);
    RoadLayer() {
        layer.m_Theme.AddField(Field("名称", dbText, 20, TRUE), -2);
        CGeoGClass gc;
        gc.SetGCID(5);
        gc.AddField(Field("W", dbLong), -2);
        layer.m_Theme.AddGC(gc, -2);
        point->SetObjectClassID(5);
        layer.Add(point);
    }
};

// A list whose column 0 holds the field names already used, in a window of its own.
struct NameList {
    CWnd host;
    CListCtrl list;
    NameList() {
        host.CreateEx(0, AfxRegisterWndClass(0), "host", WS_POPUP, CRect(0, 0, 400, 300), nullptr, 0);
        list.Create(LVS_REPORT, CRect(0, 0, 300, 200), &host, 1138);
        list.InsertColumn(0, "字段名");
        list.InsertItem(0, "NAME");
        list.InsertItem(1, "编码");
    }
};

// The field dialog for a new field of a table whose names the list holds.
struct NewFieldDlg : CFieldPropDlg {
    NameList names;
    NewFieldDlg() { SetData(&names.list, 1, nullptr); }
};

// The attribute values of the point of a fresh road layer.
struct RoadValuesDlg : CADBValueDlg {
    RoadLayer roads;
    RoadValuesDlg() { InitData(roads.point); }
};

// A layer "水系" of common fields 名称, 编号 and classes 5 河流, 6 道路, 9 湖泊 (unused), with a river
// and a road, whose sheet the layer opens itself.
struct WaterLayer : CWnd {
    CGeoVectorLayer layer;
    WaterLayer() {
        layer.SetObjectName("水系");
        layer.m_Theme.AddField(Field("名称", dbText, 20), -2);
        layer.m_Theme.AddField(Field("编号", dbText, 20), -2);
        for (auto [code, name] : {std::make_pair(5u, "河流"), std::make_pair(6u, "道路"), std::make_pair(9u, "湖泊")}) {
            CGeoGClass gc;
            gc.SetGCID(code);
            gc.SetGCName(name);
            layer.m_Theme.AddGC(gc, -2);
        }
        for (UINT code : {5u, 6u}) {
            auto* p = new CGeoPoint(code, 1);
            p->SetObjectClassID(code);
            layer.Add(p);
        }
    }
};

std::string DumpLayer(CWnd& w) {
    CGeoVectorLayer& l = As<WaterLayer>(w).layer;
    std::string fields, codes;
    CDaoFieldInfo f;
    for (int i = 0; i < l.m_Theme.GetFieldCount() && l.m_Theme.GetFieldInfo(i, f); ++i) fields += f.m_strName.str() + ",";
    CGeoGClass gc;
    for (int i = 0; i < l.m_Theme.GetGCCount() && l.m_Theme.GetGC(i, gc); ++i) codes += std::to_string(gc.GetGCID()) + ",";
    return Str({l.GetObjectName().str(), std::to_string(l.CanBeEdited()), std::to_string(l.GetLayerType()), fields, codes,
                DumpStyle(l.m_Theme.GetGeoView()), std::to_string(l.IsModified())});
}

// A spot height of class 9 (directed, with elevations) in a layer, whose sheet the object opens itself.
struct SpotHeight : CWnd {
    CGeoVectorLayer layer;
    CGeoPoint* spot = new CGeoPoint(1, 2);
    SpotHeight() {
        layer.m_Theme.AddGC(fixtures::SpotHeightClass(), -2);
        spot->SetObjectClassID(9);
        spot->SetObjectName("测点");
        layer.Add(spot);
    }
};

std::string DumpSpot(CWnd& w) {
    const CGeoPoint& p = *As<SpotHeight>(w).spot;
    std::ostringstream s;
    s << p.GetObjectName().str() << ";" << p.GetZ(0) << ";" << DumpStyle(p.GetGeoView());
    return s.str();
}

// An annotation whose sheet the annotation opens itself: plain single-point text 6 mm high and 5 wide
// (a size without a type-size name, so the size edits are open), box text with 12 mm margins, or
// formatted text ("1/2") with its spacing; at 1 : 1.
struct AnnoText : CWnd {
    enum Kind { Plain, Box, Formatted };
    std::unique_ptr<CGeoAnno> anno;
    tagPropertyParam param;
    explicit AnnoText(Kind kind) {
        if (kind == Box)
            anno = std::make_unique<CGeoAnno>(CString("方框注记"), CRect(0, 100, 200, 0), 5, 5, tagGEORECT{12, 12, 12, 12}, 0, 0, 0, 0);
        else if (kind == Formatted)
            anno = std::make_unique<CGeoAnno>(CString("1/2"), CPoint(0, 0), 5, 5, tagGEOFORMAT{10, 20, 30, 40, 2.0f}, 0.0f, 0.0f, 0, 0, 0);
        else
            anno = std::make_unique<CGeoAnno>(CString("注记"), CPoint(0, 0), 6, 5, 0.0f, 0.0f, 0, 0, 1, 0, 0, 0, 0);
    }
};

std::string DumpAnno(CWnd& w) {
    CGeoAnno& a = *As<AnnoText>(w).anno;
    const tagGEORECT m = a.GetGeoRect();
    const tagGEOFORMAT f = a.GetGeoFormat();
    std::ostringstream s;
    s << a.GetName().str() << ";" << a.GetCharHeight() << "x" << a.GetCharWidthA() << ";" << a.GetSpace() << ";"
      << a.GetAlignType() << ";" << a.GetPositionType() << ";" << a.GetEscapeAngle(0) << ";" << a.GetShowFrame() << ";"
      << static_cast<int>(a.GetMoveFlag()) << ";m" << m.left << "," << m.right << "," << m.top << "," << m.bottom << ";f"
      << f.hor << "," << f.ver << "," << f.fen_hor << "," << f.fen_ver << "," << f.fen_shu_width;
    return s.str();
}

INT_PTR OpenAnno(CWnd& w) {
    auto& a = As<AnnoText>(w);
    return a.anno->EditProperties(0, 0, &a.param);
}

// The scheme designer over one scheme file "water" of a layer 水系 (field 名称; classes 河流-5 with
// field 宽度, 湖泊-6); members: what the file holds after it closed.
struct WaterScheme : CSchemaDesignDlg {
    testsupport::TempDir dir;
    std::string path;
    WaterScheme() {
        path = sdtest::WriteScheme(dir("water.sch"), {sdtest::Theme("水系", {{5, "河流", {"宽度"}}, {6, "湖泊"}}, {"名称"})});
        InitData(path.c_str());
    }
};

std::string DumpScheme(CWnd& w) { return sdtest::DumpFile(As<WaterScheme>(w).path); }

std::string DumpMargins(CWnd& w) {
    const tagGEORECT m = As<CGeoRectDlg>(w).GetMargins();
    return Str({std::to_string(m.left), std::to_string(m.right), std::to_string(m.top), std::to_string(m.bottom)});
}

// An image of 40 x 30 pixels, "影像", at 400.7 by 300 dpi and 1 : 50 000, whose dialog the image opens
// itself.
struct ScannedImage : CWnd {
    tagRasterParameter param = fixtures::ScannedImageParameter();
    CGeoImage image{40, 30, 8, 0, 30, param};
    ScannedImage() { image.SetObjectName("影像"); }
};

std::string DumpImage(CWnd& w) {
    CGeoImage& i = As<ScannedImage>(w).image;
    const tagRasterParameter p = i.GetRasterParameter();
    std::ostringstream s;
    s << i.GetObjectName().str() << ";" << p.m_dXResolution << ";" << p.m_dYResolution << ";" << p.m_nScale;
    return s.str();
}

// A mosaic line of three points between nodes N1 and N2, whose dialog the line opens itself.
struct MosaicLine : CWnd {
    CGeoMosaicPLine line;
    MosaicLine() {
        line.AddPoint(10.5, 20.25, 1000.0, 2000.125);
        line.AddPoint(30.0, 40.0, 3000.5, 4000.0);
        line.AddPoint(55.0, 60.5, 5000.0, 6000.75);
        line.SetHeadNodeName("N1");
        line.SetTailNodeName("N2");
    }
};

// A point of class 9 高程点 in a layer that also holds class 5 河流; its sheet's general page opens the
// class picker, which starts listing names.
struct ClassedPoint : CWnd {
    CGeoVectorLayer layer;
    CGeoPoint* point = new CGeoPoint(1, 2);
    ClassedPoint() {
        for (auto [code, name] : {std::make_pair(5u, "河流"), std::make_pair(9u, "高程点")}) {
            CGeoGClass gc;
            gc.SetGCID(code);
            gc.SetGCName(name);
            layer.m_Theme.AddGC(gc, -2);
        }
        point->SetObjectClassID(9);
        layer.Add(point);
        CPickGCDlg::s_nListBy = 0;
    }
};

std::string DumpClassedPoint(CWnd& w) {
    auto& c = As<ClassedPoint>(w);
    return Str({std::to_string(c.point->GetObjectClassID()), std::to_string(CPickGCDlg::s_nListBy),
                std::to_string(c.layer.m_Theme.GetGCCount())});
}

// The class selection over two schemas: b (z 9, y 3) and a (x 4000000000).
struct TwoSchemas : CSelectGCDlg {
    CTypedPtrList<CObList, CGeoTheme*> themes;
    TwoSchemas() {
        themes.AddTail(fixtures::MakeTheme("b", {{9, "z"}, {3, "y"}}));
        themes.AddTail(fixtures::MakeTheme("a", {{4000000000u, "x"}}));
        SetSchemeList(&themes);
    }
    ~TwoSchemas() override {
        for (POSITION p = themes.GetHeadPosition(); p;) delete themes.GetNext(p);
    }
};

std::string DumpChosen(CWnd& w) {
    auto& d = As<TwoSchemas>(w);
    std::string r;
    for (POSITION p = d.GetEntryList()->GetHeadPosition(); p;) {
        auto* e = static_cast<tagGCEntry*>(d.GetEntryList()->GetNext(p));
        if (e->bChosen) r += e->strScheme.str() + "/" + e->strName.str() + ";";
    }
    return r;
}

// The class info dialog for class 3 "a" (no layer, the code focused), or for 河流 5 of layer 水系 (the
// name focused).
std::function<std::unique_ptr<CWnd>()> ClassInfo(const char* name, UINT code, const char* layer, int focus) {
    return [=] {
        auto d = std::make_unique<CGCInfoDlg>();
        d->SetData(name, code, layer);
        d->SetFocusField(focus);
        return std::unique_ptr<CWnd>(std::move(d));
    };
}

std::string DumpClassInfo(CWnd& w) {
    auto& d = As<CGCInfoDlg>(w);
    return Str({d.m_strName.str(), std::to_string(d.m_nCode)});
}

std::vector<Case> Cases() {
    auto valueInput = [](int type) {
        return [type]() -> std::unique_ptr<CDialog> {
            auto d = std::make_unique<CValueInputDlg>();
            d->SetPrompt("设置符号属性", "符号宽度", "0.01毫米");
            if (type == 1) d->SetValue(static_cast<LONG>(40));
            else d->SetValue(2.5f);
            d->SetValueField(static_cast<LONG>(10), static_cast<LONG>(99), 0);
            return d;
        };
    };
    auto valueMembers = [](CWnd& d) {
        auto& v = static_cast<CValueInputDlg&>(d);
        return Str({std::to_string(v.GetLongValue()), std::to_string(v.GetFloatValue())});
    };
    auto demLevel = []() -> std::unique_ptr<CDialog> {
        auto d = std::make_unique<CDEMLevelDlg>();
        d->m_Parameter = FourClasses();
        d->m_strUnit = "米";
        d->m_dMinimum = 0.0;
        d->m_dMaximum = 400.0;
        return d;
    };
    auto demMembers = [](CWnd& d) {
        auto& l = static_cast<CDEMLevelDlg&>(d);
        std::ostringstream s;
        s << l.GetClassCount() << ":";
        for (int i = 0; i < l.GetBreaks().GetSize(); ++i) s << l.GetBreaks()[i] << ",";
        for (int i = 0; i < l.GetColors().GetSize(); ++i) s << std::hex << l.GetColors()[i] << std::dec << ",";
        return s.str();
    };
    auto styleSheet = [] {
        auto s = std::make_unique<CStyleSheet>("显示风格设置", nullptr, 3);
        s->SetData(SampleStyle(), &SampleLib(), 1, 30, 40);
        return std::unique_ptr<CWnd>(std::move(s));
    };
    auto styleMembers = [](CWnd& w) {
        auto& s = As<CStyleSheet>(w);
        UINT width = 0, height = 0;
        s.GetAnnoSize(width, height);
        return Str({DumpStyle(s.GetGeoView()), std::to_string(width), std::to_string(height)});
    };
    auto newClass = [] {
        return std::unique_ptr<CWnd>(std::make_unique<CGCPropSheet>("地物属性", &SampleClasses().others, nullptr, nullptr, 0));
    };
    auto classWithFields = [] {
        return std::unique_ptr<CWnd>(std::make_unique<CGCPropSheet>("地物属性", nullptr, &SampleClasses().withFields, nullptr, 0));
    };
    auto fieldMembers = [](CWnd& d) { return DumpField(As<CFieldPropDlg>(d).GetFieldInfo()); };
    auto fieldDefMembers = [](CWnd& d) { return DumpField(As<CFieldDefDlg>(d).GetFieldInfo()); };
    auto valueMembersOfRoads = [](CWnd& d) {
        auto& v = As<CADBValueDlg>(d);
        std::string r = std::to_string(v.GetRetCode());
        for (int i = 0; i < 2; ++i)
            if (const COleVariant* x = v.GetValue(i)) r += "|" + std::to_string(x->vt) + ":" + (x->vt == VT_BSTR ? x->strVal.str() : std::to_string(x->lVal));
        return r;
    };
    // Points in the choosers' grids: a palette cell (24 x 21 pixels, 8 a row), a width row (18 pixels
    // high), a marker cell (45 x 45, 4 a row).
    auto colourCell = [](int i) { return CPoint((i % 8) * 24 + 12, (i / 8) * 21 + 10); };
    auto widthRow = [](int i) { return CPoint(80, i * 18 + 9); };
    auto markerCell = [](int i) { return CPoint((i % 4) * 45 + 22, (i / 4) * 45 + 22); };
    const int grid = CADDOX_IDC_CHOOSER_GRID;
    return {
        {"style_sheet_choosers", styleSheet,
         {Click(1063), Page("点风格"), Click(1121), Click(1063), Page("线风格"), Click(1043), Click(1063), Page("面风格"),
          Click(1063), Click(IDOK)},
         {IDOK}, styleMembers, {},
         {{CADDOX_IDD_COLOUR_CHOOSER, {Point(grid, colourCell(CColourChooser::PaletteIndex(0x0000FF))), Click(IDOK)}},
          {CADDOX_IDD_MARKER_CHOOSER, {Point(grid, markerCell(5)), Click(IDOK)}},
          {CADDOX_IDD_COLOUR_CHOOSER, {Type(CADDOX_IDC_CHOOSER_RED, "18"), Type(CADDOX_IDC_CHOOSER_GREEN, "52"),
                                       Type(CADDOX_IDC_CHOOSER_BLUE, "86"), Key(VK_RETURN)}},
          {CADDOX_IDD_WIDTH_CHOOSER, {Point(grid, widthRow(CLineWidthChooser::WidthIndex(1.5f))), Click(IDOK)}},
          {CADDOX_IDD_COLOUR_CHOOSER, {Point(grid, colourCell(CColourChooser::PaletteIndex(0x008000))), Key(VK_ESCAPE)}},
          {CADDOX_IDD_COLOUR_CHOOSER, {Type(CADDOX_IDC_CHOOSER_BLUE, "300"), Click(IDOK), Type(CADDOX_IDC_CHOOSER_BLUE, "255"),
                                       Click(IDOK)}}}},
        // A chooser worked with the keyboard alone: the arrows in the grid, then Enter.
        {"style_sheet_marker_by_keys", styleSheet, {Page("点风格"), Click(1121), Click(IDOK)},
         {}, styleMembers, {}, {{CADDOX_IDD_MARKER_CHOOSER, {Key(VK_RIGHT), Key(VK_DOWN), Key(VK_RETURN)}}}},
        {"style_sheet_width_typed", styleSheet, {Page("线风格"), Click(1043), Click(IDOK)}, {}, styleMembers, {},
         {{CADDOX_IDD_WIDTH_CHOOSER, {Type(CADDOX_IDC_CHOOSER_WIDTH, "0.35"), Click(IDOK)}}}},
        {"dem_level_class_colour", demLevel, {Row(IDC_DEM_CLASS_LIST, 1), Click(IDC_DEM_COLOUR), Click(IDC_DEM_CONFIRM)}, {},
         demMembers, {},
         {{CADDOX_IDD_COLOUR_CHOOSER, {Point(grid, colourCell(CColourChooser::PaletteIndex(0x8080FF))), Click(IDOK)}}}},
        {"style_sheet_all_pages", styleSheet,
         {Type(1047, "45"), Page("点风格"), Type(1068, "12"), Page("线风格"), Click(1054), Page("面风格"), Pick(1090, 5), Click(IDOK)},
         {}, styleMembers},
        {"style_sheet_cancel", styleSheet, {Page("线风格"), Click(1054), Key(VK_ESCAPE)}, {}, styleMembers},
        {"class_sheet_new_class", newClass,
         {Type(1098, "湖泊"), Click(IDOK), Type(1112, "4"), Click(1055), Click(IDOK)}, {IDOK}, DumpClass},
        {"class_sheet_field_page", classWithFields,
         {Page("属性信息"), Row(IDC_FIELDPAGE_LIST, 0), Click(IDC_FIELDPAGE_DOWN), Row(IDC_FIELDPAGE_LIST, 2), Click(IDC_FIELDPAGE_DELETE), Click(IDOK)},
         {}, DumpClass},
        {"field_prop", Make<NewFieldDlg>(),
         {Type(IDC_FIELD_NAME, "Name"), Click(IDOK), Type(IDC_FIELD_NAME, "面积"), Pick(IDC_FIELD_TYPE, 2), Click(IDOK)}, {IDOK},
         fieldMembers},
        {"field_def", Make<CFieldDefDlg>(),
         {Click(IDOK), Type(IDC_FIELDDEF_NAME, "面积"), Type(IDC_FIELDDEF_SIZE, "30"), Click(IDC_FIELDDEF_REQUIRED), Click(IDOK)},
         {IDOK}, fieldDefMembers},
        {"attribute_values", Make<RoadValuesDlg>(),
         {Type(1099, "12"), Click(IDOK), Type(1098, "一环路"), Type(1099, "1-2"), Click(IDOK), Type(1099, "-12"), Click(IDOK)},
         {IDOK, IDOK}, valueMembersOfRoads},
        {"bil_param", [] { return std::unique_ptr<CDialog>(std::make_unique<CBilParamDlg>()); },
         {Type(IDC_BIL_HZOOM, "0"), Click(IDOK), Type(IDC_BIL_HZOOM, "20"), Type(IDC_BIL_INVALID, "-9999"), Key(VK_RETURN)}, {IDOK},
         [](CWnd& d) { auto& b = static_cast<CBilParamDlg&>(d); return Str({std::to_string(b.m_nHzoom), std::to_string(b.m_lInvalid)}); }},
        {"value_input_integer", valueInput(1), {Type(6000, "25"), Click(IDOK)}, {}, valueMembers},
        {"value_input_refused_then_enter", valueInput(1),
         {Type(6000, "5"), Key(VK_RETURN), Type(6000, "12"), Key(VK_RETURN)}, {IDOK}, valueMembers},
        {"value_input_not_a_number_escape", valueInput(0), {Type(6001, "x"), Click(IDOK), Key(VK_ESCAPE)}, {IDOK}, valueMembers},
        {"level_count", [] { auto d = std::make_unique<CLevelCountDlg>(); d->m_nCount = 4; return std::unique_ptr<CDialog>(std::move(d)); },
         {Type(IDC_LEVEL_COUNT, "17"), Click(IDOK), Type(IDC_LEVEL_COUNT, "6"), Click(IDOK)}, {IDOK},
         [](CWnd& d) { return std::to_string(static_cast<CLevelCountDlg&>(d).m_nCount); }},
        {"dem_level_add_and_delete", demLevel,
         {Row(IDC_DEM_CLASS_LIST, 3), Click(IDC_DEM_ADD), Row(IDC_DEM_CLASS_LIST, 0), Click(IDC_DEM_DELETE), Key(VK_ESCAPE)},
         {}, demMembers},
        {"symbol_pick", [] { return std::unique_ptr<CDialog>(std::make_unique<CSymbolPickDlg>(&SampleLib(), 2, 0xE000, nullptr)); },
         {Type(1048, "1"), Click(1049), Point(9999, CPoint(20, 15)), Click(IDOK)}, {},
         [](CWnd& d) { return std::to_string(static_cast<CSymbolPickDlg&>(d).GetSelSymbol()); }},
        {"symbol_lib_pick", [] { return std::unique_ptr<CDialog>(std::make_unique<CSymbolLibPickDlg>("", nullptr)); },
         {Pick(1035, 2), Type(1034, "图库"), Click(IDCANCEL)}, {},
         [](CWnd& d) { return static_cast<CSymbolLibPickDlg&>(d).GetLibFileName().str(); }},
        {"layer_sheet_pages", Make<WaterLayer>(),
         {Type(IDC_LAYERN_NAME, "新水系"), Click(IDC_LAYERN_EDITABLE), Page("属性信息"), Row(IDC_FIELDPAGE_LIST, 0),
          Click(IDC_FIELDPAGE_DOWN), Page("地物类"), Row(IDC_LAYERGC_LIST, 2), Click(IDC_LAYERGC_DELETE), Page("线风格"),
          Click(1054), Click(IDOK)},
         {IDOK}, DumpLayer, [](CWnd& w) -> INT_PTR { return As<WaterLayer>(w).layer.EditProperties(0, 0, nullptr); }},
        {"layer_sheet_apply_then_escape", Make<WaterLayer>(),
         {Type(IDC_LAYERN_NAME, "别名"), Page("地物类"), Row(IDC_LAYERGC_LIST, 1), Click(IDC_LAYERGC_DELETE), Click(ID_APPLY_NOW),
          Key(VK_ESCAPE)},
         {IDOK}, DumpLayer, [](CWnd& w) -> INT_PTR { return As<WaterLayer>(w).layer.EditProperties(0, 0, nullptr); }},
        {"vector_object_sheet", Make<SpotHeight>(),
         {Type(1000, "水准点"), Type(1052, "12.5"), Page("点风格"), Type(1068, "12"), Page("线风格"), Click(1054), Click(IDOK)},
         {}, DumpSpot, [](CWnd& w) -> INT_PTR { return As<SpotHeight>(w).spot->EditProperties(0, 0, nullptr); }},
        {"vector_object_sheet_cancel", Make<SpotHeight>(),
         {Type(1000, "不要"), Page("面风格"), Pick(1090, 5), Click(IDCANCEL)},
         {}, DumpSpot, [](CWnd& w) -> INT_PTR { return As<SpotHeight>(w).spot->EditProperties(0, 0, nullptr); }},
        {"anno_text_page", Make<AnnoText>(AnnoText::Plain),
         {Page("文字"), Type(1001, "新注记"), Pick(1040, 4), Type(1034, "30"), Type(1030, "0"), Click(IDOK), Type(1030, "80"),
          Click(1057), Click(1469), Click(IDOK)},
         {IDOK}, DumpAnno, OpenAnno},
        {"anno_text_page_frame_colour", Make<AnnoText>(AnnoText::Box), {Page("文字"), Click(1055), Click(IDOK)}, {}, DumpAnno,
         OpenAnno, {{CADDOX_IDD_COLOUR_CHOOSER, {Point(CADDOX_IDC_CHOOSER_GRID, CPoint(5 * 24 + 12, 1 * 21 + 10)), Click(IDOK)}}}},
        {"anno_text_page_box_margins", Make<AnnoText>(AnnoText::Box),
         {Page("文字"), Click(1049), Click(1049), Click(IDOK)}, {}, DumpAnno, OpenAnno,
         {{2034, {Type(1042, "125"), Type(1045, "40"), Click(IDOK)}}, {2034, {Type(1043, "500"), Key(VK_ESCAPE)}}}},
        {"anno_text_page_format_then_box", Make<AnnoText>(AnnoText::Formatted),
         {Page("文字"), Click(1048), Click(1047), Pick(1066, 1), Click(1049), Click(IDOK)}, {}, DumpAnno, OpenAnno,
         {{2040, {Type(1501, "51"), Type(1504, "7"), Key(VK_RETURN)}}, {2034, {Type(1044, "30"), Click(IDOK)}}}},
        {"geo_rect", [] { auto d = std::make_unique<CGeoRectDlg>(); d->SetMargins(tagGEORECT{4, 6, 8, 10}, 2);
                          return std::unique_ptr<CWnd>(std::move(d)); },
         {Type(1042, "-1"), Click(IDOK), Type(1042, "15"), Type(1045, "7"), Click(IDOK)}, {IDOK}, DumpMargins},
        {"geo_format", Make<CGeoFormatDlg>(),
         {Type(1500, "12"), Type(1504, "x"), Key(VK_RETURN), Type(1504, "2.5"), Key(VK_RETURN)}, {IDOK},
         [](CWnd& d) { const tagGEOFORMAT& f = As<CGeoFormatDlg>(d).m_Format;
                       std::ostringstream s; s << f.hor << "," << f.ver << "," << f.fen_hor << "," << f.fen_ver << "," << f.fen_shu_width;
                       return s.str(); }},
        {"insert_char", Make<CInsertCharDlg>(),
         {Type(1067, "河流"), Type(1068, "400"), Click(IDOK), Type(1068, "45"), Click(IDOK)}, {IDOK},
         [](CWnd& d) { auto& i = As<CInsertCharDlg>(d); return Str({i.m_strText.str(), std::to_string(i.m_fAngle)}); }},
        {"insert_char_escape", Make<CInsertCharDlg>(), {Type(1067, "河"), Key(VK_ESCAPE)}, {},
         [](CWnd& d) { auto& i = As<CInsertCharDlg>(d); return Str({i.m_strText.str(), std::to_string(i.m_fAngle)}); }},
        {"scheme_designer_rename_and_save", Make<WaterScheme>(),
         {Item(IDC_SD_TREE, "水系"), Row(IDC_SD_FIELDS, 0), Label(IDC_SD_TREE, "水系", "河网"), Click(IDOK)}, {}, DumpScheme},
        {"scheme_designer_rename_then_quit", Make<WaterScheme>(),
         {Label(IDC_SD_TREE, "水系", "河网"), Click(IDCANCEL), Key(VK_ESCAPE)}, {IDNO, IDYES}, DumpScheme},
        {"image_properties", Make<ScannedImage>(),
         {Type(1007, "50"), Click(IDOK), Type(1001, "影像甲"), Type(1005, "600"), Type(1007, "25000"), Click(IDOK)}, {IDOK},
         DumpImage, [](CWnd& w) -> INT_PTR { return As<ScannedImage>(w).image.EditProperties(0, 0, nullptr); }, {}, 2001},
        {"image_properties_reset_then_escape", Make<ScannedImage>(),
         {Type(1001, "别名"), Type(1006, "150"), Click(1008), Type(1005, "72"), Key(VK_ESCAPE)}, {}, DumpImage,
         [](CWnd& w) -> INT_PTR { return As<ScannedImage>(w).image.EditProperties(0, 0, nullptr); }, {}, 2001},
        {"mosaic_line_properties", Make<MosaicLine>(), {Row(1011, 2), Row(1011, 0), Click(IDOK)}, {},
         [](CWnd& w) { auto& l = As<MosaicLine>(w).line; return Str({l.GetHeadNodeName().str(), l.GetTailNodeName().str()}); },
         [](CWnd& w) -> INT_PTR { return As<MosaicLine>(w).line.EditProperties(0, 0, nullptr); }, {}, 2014},
        {"pick_class_from_object_sheet", Make<ClassedPoint>(),
         {Click(IDC_VN_PICK_CLASS), Click(IDOK)}, {}, DumpClassedPoint,
         [](CWnd& w) -> INT_PTR { return As<ClassedPoint>(w).point->EditProperties(0, 0, nullptr); },
         {{IDD_PICK_GC, {Click(IDC_PICKGC_BY_CODE), Pick(IDC_PICKGC_LIST, 0), Click(IDOK)}}}},
        {"pick_class_escape", Make<ClassedPoint>(),
         {Click(IDC_VN_PICK_CLASS), Click(IDOK)}, {}, DumpClassedPoint,
         [](CWnd& w) -> INT_PTR { return As<ClassedPoint>(w).point->EditProperties(0, 0, nullptr); },
         {{IDD_PICK_GC, {Pick(IDC_PICKGC_LIST, 0), Key(VK_ESCAPE)}}}},
        {"select_classes", Make<TwoSchemas>(),
         {Pick(IDC_SELGC_AVAILABLE, 2), Click(IDC_SELGC_ADD), Click(IDC_SELGC_REMOVE), Click(IDC_SELGC_ADD_ALL),
          Pick(IDC_SELGC_CHOSEN, 0), Pick(IDC_SELGC_CHOSEN, 1), Click(IDC_SELGC_REMOVE), Click(IDOK)},
         {}, DumpChosen},
        {"class_info_refusals", ClassInfo("a", 3, "", 2),
         {Type(IDC_GCINFO_CODE, "0"), Click(IDOK), Type(IDC_GCINFO_CODE, "5"), Type(IDC_GCINFO_NAME, "x"), Key(VK_BACK),
          Key(VK_RETURN), Type(IDC_GCINFO_NAME, "湖泊"), Key(VK_RETURN)},
         {IDOK, IDOK}, DumpClassInfo},
        {"class_info_with_layer_escape", ClassInfo("河流", 5, "水系", 1),
         {Type(IDC_GCINFO_NAME, "湖"), Key(VK_ESCAPE)}, {}, DumpClassInfo},
    };
}

// Where two transcripts part, with a few lines of each from there.
std::string FirstDifference(const std::vector<std::string>& a, const std::vector<std::string>& b) {
    size_t i = 0;
    while (i < a.size() && i < b.size() && a[i] == b[i]) ++i;
    std::ostringstream s;
    s << "first difference at line " << i << "\n";
    for (size_t k = i; k < i + 6; ++k)
        s << "  screen: " << (k < a.size() ? a[k] : "-") << "   driver: " << (k < b.size() ? b[k] : "-") << "\n";
    return s.str();
}

struct DialogTable : ::testing::TestWithParam<std::string> {
    void SetUp() override { screentest::App(); }
    void TearDown() override {
        EXPECT_EQ(screentest::DropWaiting(), 0);
        win32::ResetWindowManager();
    }
};

std::vector<std::string> CaseNames() {
    std::vector<std::string> names;
    for (const Case& c : Cases()) names.push_back(c.name);
    return names;
}

TEST_P(DialogTable, APersonOnTheScreenAndTheDriverGetTheSame) {
    for (const Case& c : Cases()) {
        if (c.name != GetParam()) continue;
        const Outcome driver = RunDriver(c);
        win32::ResetWindowManager();
        const Outcome screen = RunScreen(c);
        win32::ResetWindowManager();
        EXPECT_EQ(screen.result, driver.result);
        EXPECT_EQ(screen.members, driver.members);
        EXPECT_EQ(screen.boxes, driver.boxes);
        EXPECT_EQ(screen.messages, driver.messages) << FirstDifference(screen.messages, driver.messages);
        EXPECT_FALSE(driver.messages.empty());
    }
}

INSTANTIATE_TEST_SUITE_P(Dialogs, DialogTable, ::testing::ValuesIn(CaseNames()),
                         [](const ::testing::TestParamInfo<std::string>& info) { return info.param; });

}  // namespace
