// The library's dialogs on the screen: each case runs a dialog twice with the same person-like actions,
// once through the scripted driver and once through real Qt events on the widgets, and compares the
// dialog's result, the members its data exchange wrote, the messages the model sent and the message boxes
// shown. The Qt run leaves a picture of each dialog in the gallery.
#include <QAbstractButton>
#include <QAbstractItemView>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include <afx/afx.h>
#include <afx/ListCtrl.h>
#include <gtest/gtest.h>

#include <memory>
#include <sstream>

#include "ScreenTestSupport.h"
#include "platform/quenby/SampleSymbolLib.h"
#include "terrain/GeoDEM.h"
#include "ui/BilParamDlg.h"
#include "ui/DEMLevelDlg.h"
#include "ui/LevelCountDlg.h"
#include "ui/SymbolLibPickDlg.h"
#include "ui/SymbolPickDlg.h"
#include "ui/ValueInputDlg.h"
#include "ui/resources/DemDialogTemplates.h"

namespace {

// What a person does, named the same for both runs.
struct Act {
    enum Kind { Type, Click, Pick, Key, Row, Point } kind;
    int id = 0;
    std::string text;  // Type: the characters typed over the whole field (GBK)
    int index = 0;     // Pick: the item; Key: the virtual key; Row: the row
    CPoint pt;         // Point: a click at this client point of the window
};
Act Type(int id, const std::string& text) { return {Act::Type, id, text, 0, {}}; }
Act Click(int id) { return {Act::Click, id, "", 0, {}}; }
Act Pick(int id, int index) { return {Act::Pick, id, "", index, {}}; }
Act Key(UINT vk) { return {Act::Key, 0, "", static_cast<int>(vk), {}}; }
Act Row(int id, int row) { return {Act::Row, id, "", row, {}}; }
Act Point(int id, CPoint pt) { return {Act::Point, id, "", 0, pt}; }

struct Case {
    const char* name;
    std::function<std::unique_ptr<CDialog>()> make;
    std::vector<Act> acts;
    std::vector<int> boxes;                       // the answers to the boxes, in order
    std::function<std::string(CDialog&)> members;  // what the exchange wrote, after DoModal
};

// ---- the driver's run ------------------------------------------------------------------------------

void DriverAct(CDialog& d, const Act& a) {
    CWnd* c = a.id ? d.GetDlgItem(a.id) : nullptr;
    switch (a.kind) {
        case Act::Type:
            afxtest::SetFocus(c);
            c->SendMessage(EM_SETSEL, 0, -1);
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
        case VK_DOWN: return Qt::Key_Down;
        case VK_UP: return Qt::Key_Up;
        default: return Qt::Key_unknown;
    }
}

void PersonAct(CDialog& d, const Act& a) {
    QWidget* w = a.id ? screentest::Control(d, a.id) : nullptr;
    if (a.id) {
        ASSERT_NE(w, nullptr) << "no widget for control " << a.id;
    }
    switch (a.kind) {
        case Act::Type:
            QTest::mouseClick(w, Qt::LeftButton, {}, screentest::Centre(w));
            QTest::keyClick(w, Qt::Key_A, Qt::ControlModifier);
            for (QChar ch : screentest::Q(a.text.c_str())) {
                if (ch.unicode() < 0x80) {
                    QTest::keyClick(w, static_cast<char>(ch.unicode()));
                } else {
                    // A character of an input method: a key press with only its text.
                    QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(ch));
                    QApplication::sendEvent(w, &press);
                }
            }
            break;
        case Act::Click: QTest::mouseClick(w, Qt::LeftButton, {}, screentest::Centre(w)); break;
        case Act::Pick: {
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
                auto* list = static_cast<CListCtrl*>(d.GetDlgItem(a.id));
                list->EnsureVisible(a.index, FALSE);
                AfxQtSync();
                RECT rc;
                list->GetItemRect(a.index, &rc, LVIR_LABEL);
                QTest::mouseClick(w, Qt::LeftButton, {}, QPoint((rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2));
            }
            break;
        case Act::Point: QTest::mouseClick(w, Qt::LeftButton, {}, QPoint(a.pt.x, a.pt.y)); break;
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
    std::unique_ptr<CDialog> dlg = c.make();
    afxtest::Session s;
    s.SetFailureHandler([&c](const std::string& m) { ADD_FAILURE() << c.name << ": " << m; });
    s.ExpectDialog(dlg->GetTemplateID(), [&](CDialog& d) {
        for (const Act& a : c.acts)
            if (!d.IsEnded()) DriverAct(d, a);
    });
    for (int answer : c.boxes) s.ExpectMessageBox("", answer);
    {
        screentest::Spy spy;
        o.result = dlg->DoModal();
        o.messages = spy.Lines();
    }
    EXPECT_TRUE(s.Verify()) << c.name;
    o.members = c.members(*dlg);
    o.boxes = Boxes();
    return o;
}

Outcome RunScreen(const Case& c) {
    AfxClearMessageLog();
    Outcome o;
    std::unique_ptr<CDialog> dlg = c.make();
    CDialog* d = dlg.get();
    BoxAnswerer answers(c.boxes);
    bool acted = false;
    screentest::When([d](QWidget* w) { return screentest::Mirrors(w, d->m_hWnd); }, [&](QWidget* top) {
        acted = true;
        screentest::SaveShot(top, std::string("dialog_") + c.name);
        for (const Act& a : c.acts)
            if (!d->IsEnded()) PersonAct(*d, a);
        if (!d->IsEnded()) ADD_FAILURE() << c.name << ": the actions left the dialog open";
    });
    // A case that never reaches its end must not hold the modal loop for ever.
    QTimer watchdog;
    watchdog.setSingleShot(true);
    QObject::connect(&watchdog, &QTimer::timeout, [&] {
        ADD_FAILURE() << c.name << ": still open after 20 s";
        while (QWidget* m = QApplication::activeModalWidget()) {
            if (AfxQtWindowOf(m)) break;
            m->close();
        }
        d->EndDialog(IDCANCEL);
        AfxQtSync();
    });
    watchdog.start(20000);
    {
        screentest::Spy spy;
        o.result = dlg->DoModal();
        o.messages = spy.Lines();
    }
    EXPECT_TRUE(acted) << c.name;
    EXPECT_EQ(answers.Used(), c.boxes.size()) << c.name;
    o.members = c.members(*dlg);
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
    auto valueMembers = [](CDialog& d) {
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
    auto demMembers = [](CDialog& d) {
        auto& l = static_cast<CDEMLevelDlg&>(d);
        std::ostringstream s;
        s << l.GetClassCount() << ":";
        for (int i = 0; i < l.GetBreaks().GetSize(); ++i) s << l.GetBreaks()[i] << ",";
        for (int i = 0; i < l.GetColors().GetSize(); ++i) s << std::hex << l.GetColors()[i] << std::dec << ",";
        return s.str();
    };
    return {
        {"value_input_integer", valueInput(1), {Type(6000, "25"), Click(IDOK)}, {}, valueMembers},
        {"value_input_refused_then_enter", valueInput(1),
         {Type(6000, "5"), Key(VK_RETURN), Type(6000, "12"), Key(VK_RETURN)}, {IDOK}, valueMembers},
        {"value_input_not_a_number_escape", valueInput(0), {Type(6001, "x"), Click(IDOK), Key(VK_ESCAPE)}, {IDOK}, valueMembers},
        {"level_count", [] { auto d = std::make_unique<CLevelCountDlg>(); d->m_nCount = 4; return std::unique_ptr<CDialog>(std::move(d)); },
         {Type(IDC_LEVEL_COUNT, "17"), Click(IDOK), Type(IDC_LEVEL_COUNT, "6"), Click(IDOK)}, {IDOK},
         [](CDialog& d) { return std::to_string(static_cast<CLevelCountDlg&>(d).m_nCount); }},
        {"dem_level_add_and_delete", demLevel,
         {Row(IDC_DEM_CLASS_LIST, 3), Click(IDC_DEM_ADD), Row(IDC_DEM_CLASS_LIST, 0), Click(IDC_DEM_DELETE), Key(VK_ESCAPE)},
         {}, demMembers},
        {"symbol_pick", [] { return std::unique_ptr<CDialog>(std::make_unique<CSymbolPickDlg>(&SampleLib(), 2, 0xE000, nullptr)); },
         {Type(1048, "1"), Click(1049), Point(9999, CPoint(20, 15)), Click(IDOK)}, {},
         [](CDialog& d) { return std::to_string(static_cast<CSymbolPickDlg&>(d).GetSelSymbol()); }},
        {"symbol_lib_pick", [] { return std::unique_ptr<CDialog>(std::make_unique<CSymbolLibPickDlg>("", nullptr)); },
         {Pick(1035, 2), Type(1034, "图库"), Click(IDCANCEL)}, {},
         [](CDialog& d) { return static_cast<CSymbolLibPickDlg&>(d).GetLibFileName().str(); }},
    };
}

struct DialogTable : ::testing::Test {
    void SetUp() override { screentest::App(); }
    void TearDown() override {
        EXPECT_EQ(screentest::DropWaiting(), 0);
        win32::ResetWindowManager();
    }
};

TEST_F(DialogTable, APersonOnTheScreenAndTheDriverGetTheSameDialog) {
    for (const Case& c : Cases()) {
        SCOPED_TRACE(c.name);
        std::fprintf(stderr, "[ case ] %s\n", c.name);
        const Outcome driver = RunDriver(c);
        win32::ResetWindowManager();
        const Outcome screen = RunScreen(c);
        win32::ResetWindowManager();
        EXPECT_EQ(screen.result, driver.result);
        EXPECT_EQ(screen.members, driver.members);
        EXPECT_EQ(screen.boxes, driver.boxes);
        EXPECT_EQ(screen.messages, driver.messages);
        EXPECT_FALSE(driver.messages.empty());
    }
}

}  // namespace
