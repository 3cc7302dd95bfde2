// The screen on its own: a small dialog with the standard controls shown as widgets and used by a person
// through real Qt events; boxes, file dialogs and popup menus answered on the screen; code that changes
// the model shows on the widgets without a notification; timers, the cursor, the date control and drags
// as a person meets them.
#include <QCheckBox>
#include <QDir>
#include <QComboBox>
#include <QDateEdit>
#include <QTreeWidget>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTest>

#include <afx/afx.h>
#include <afx/Cursor.h>
#include <afx/DateTimeCtrl.h>
#include <afx/Menu.h>
#include <afx/StdCtrls.h>
#include <gtest/gtest.h>

#include <tuple>

#include "ScreenTestSupport.h"
#include "ui/SDFieldPage.h"
#include "win32/codepage.h"

namespace {

using screentest::Control;

enum { IDD_QT = 9401, IDC_Q_NAME = 100, IDC_Q_CHECK, IDC_Q_R1, IDC_Q_R2, IDC_Q_KIND, IDC_Q_LIST, IDC_Q_MENU, IDC_Q_LABEL, IDC_Q_COUNT };

const int kRegistered = [] {
    AfxRegisterDialogTemplate({IDD_QT, "屏幕测试", 200, 120, DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU,
                               {
                                   {IDC_Q_LABEL, "Static", "名称(&N):", SS_LEFT, 5, 7, 30, 8},
                                   {IDC_Q_NAME, "Edit", "", ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP, 40, 5, 80, 12},
                                   {IDC_Q_CHECK, "Button", "可编辑", BS_AUTOCHECKBOX | WS_TABSTOP, 5, 22, 50, 10},
                                   {IDC_Q_R1, "Button", "点", BS_AUTORADIOBUTTON | WS_GROUP | WS_TABSTOP, 5, 36, 30, 10},
                                   {IDC_Q_R2, "Button", "线", BS_AUTORADIOBUTTON, 40, 36, 30, 10},
                                   {IDC_Q_KIND, "ComboBox", "", CBS_DROPDOWNLIST | WS_TABSTOP | WS_GROUP, 130, 5, 60, 60, 0, false, "否\n是"},
                                   {IDC_Q_LIST, "ListBox", "", LBS_NOTIFY | WS_BORDER | WS_TABSTOP, 130, 25, 60, 50, 0, false, "甲\n乙\n丙"},
                                   {IDC_Q_MENU, "Button", "菜单", BS_PUSHBUTTON | WS_TABSTOP, 5, 60, 40, 14},
                                   {IDC_Q_COUNT, "Edit", "", WS_BORDER | WS_TABSTOP, 5, 80, 40, 12},
                                   {IDOK, "Button", "确定", BS_DEFPUSHBUTTON | WS_TABSTOP, 80, 100, 50, 14},
                                   {IDCANCEL, "Button", "取消", BS_PUSHBUTTON | WS_TABSTOP, 140, 100, 50, 14},
                               }});
    return 0;
}();

class QtDlg : public CDialog {
public:
    QtDlg() : CDialog(IDD_QT) {}
    CString m_name = "图层";
    int m_check = 0, m_radio = 0, m_kind = 0;
    UINT m_count = 7;
    std::vector<std::string> events;
    UINT chosen = 0;

protected:
    void DoDataExchange(CDataExchange* pDX) override {
        DDX_Text(pDX, IDC_Q_NAME, m_name);
        DDV_MaxChars(pDX, m_name, 6);
        DDX_Check(pDX, IDC_Q_CHECK, m_check);
        DDX_Radio(pDX, IDC_Q_R1, m_radio);
        DDX_CBIndex(pDX, IDC_Q_KIND, m_kind);
        DDX_Text(pDX, IDC_Q_COUNT, m_count);
        DDV_MinMaxUInt(pDX, m_count, 1, 99);
    }
    void OnName() { events.push_back("EN_CHANGE " + afxtest::Text(*this, IDC_Q_NAME)); }
    void OnCheck() { events.push_back("BN_CLICKED check " + std::to_string(IsDlgButtonChecked(IDC_Q_CHECK))); }
    void OnKind() { events.push_back("CBN_SELCHANGE"); }
    void OnList() { events.push_back("LBN_SELCHANGE"); }
    void OnMenu() {
        CMenu m;
        m.CreatePopupMenu();
        m.AppendMenu(MF_STRING, 501, "复制");
        m.AppendMenu(MF_SEPARATOR);
        m.AppendMenu(MF_STRING | MF_GRAYED, 502, "粘贴");
        m.AppendMenu(MF_STRING, 503, "删除");
        m.TrackPopupMenu(TPM_RIGHTBUTTON, 0, 0, this);
        events.push_back("menu returned");
    }
    void OnCmd(UINT id) {
        chosen = id;
        events.push_back("command " + std::to_string(id));
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(QtDlg, CDialog)
    ON_EN_CHANGE(IDC_Q_NAME, OnName)
    ON_BN_CLICKED(IDC_Q_CHECK, OnCheck)
    ON_CBN_SELCHANGE(IDC_Q_KIND, OnKind)
    ON_LBN_SELCHANGE(IDC_Q_LIST, OnList)
    ON_BN_CLICKED(IDC_Q_MENU, OnMenu)
    ON_COMMAND_RANGE(501, 503, OnCmd)
END_MESSAGE_MAP()

struct ScreenTest : ::testing::Test {
    void SetUp() override {
        screentest::App();
        AfxClearMessageLog();
    }
    void TearDown() override {
        EXPECT_EQ(screentest::DropWaiting(), 0) << "a window the test waited for never showed";
        win32::ResetWindowManager();
    }
};

bool IsMirrorOf(QWidget* w, CWnd& dlg) { return screentest::Mirrors(w, dlg.m_hWnd); }

TEST_F(ScreenTest, APersonTypesClicksAndPicksAndTheModelHearsItAsFromTheDriver) {
    QtDlg dlg;
    bool acted = false;
    screentest::When([&](QWidget* w) { return IsMirrorOf(w, dlg); }, [&](QWidget* top) {
        acted = true;
        // What the model holds shows: captions without their mnemonic marks, the member in the edit.
        EXPECT_EQ(top->windowTitle(), screentest::Q("屏幕测试"));
        auto* name = qobject_cast<QLineEdit*>(Control(dlg, IDC_Q_NAME));
        ASSERT_NE(name, nullptr);
        EXPECT_EQ(name->text(), screentest::Q("图层"));
        EXPECT_EQ(Control(dlg, IDC_Q_NAME)->geometry(), QRect(60, 7, 120, 18));  // 1.5 pixels per dialog unit
        EXPECT_TRUE(name->hasFocus());  // the first tab stop, as the model says

        // Typing replaces the selection: one EN_CHANGE per character, as the driver's TypeChars.
        QTest::mouseClick(name, Qt::LeftButton, {}, screentest::Centre(name));
        QTest::keyClick(name, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(name, "ab");
        EXPECT_EQ(afxtest::Text(dlg, IDC_Q_NAME), "ab");
        QTest::keyClick(name, Qt::Key_Backspace);
        EXPECT_EQ(afxtest::Text(dlg, IDC_Q_NAME), "a");
        EXPECT_EQ(name->text(), QString("a"));

        QTest::mouseClick(Control(dlg, IDC_Q_CHECK), Qt::LeftButton, {}, screentest::Centre(Control(dlg, IDC_Q_CHECK)));
        EXPECT_TRUE(qobject_cast<QCheckBox*>(Control(dlg, IDC_Q_CHECK))->isChecked());
        QTest::mouseClick(Control(dlg, IDC_Q_R2), Qt::LeftButton, {}, screentest::Centre(Control(dlg, IDC_Q_R2)));
        EXPECT_EQ(afxtest::CheckState(dlg, IDC_Q_R2), BST_CHECKED);
        EXPECT_EQ(afxtest::CheckState(dlg, IDC_Q_R1), BST_UNCHECKED);
        EXPECT_FALSE(qobject_cast<QRadioButton*>(Control(dlg, IDC_Q_R1))->isChecked());

        auto* kind = qobject_cast<QComboBox*>(Control(dlg, IDC_Q_KIND));
        ASSERT_NE(kind, nullptr);
        EXPECT_EQ(kind->count(), 2);
        emit kind->activated(1);  // the person's pick from the drop-down list
        auto* list = qobject_cast<QListWidget*>(Control(dlg, IDC_Q_LIST));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(2)).center());
        EXPECT_EQ(afxtest::Items(dlg, IDC_Q_LIST)[2], "*丙");
        EXPECT_EQ(static_cast<CListBox*>(dlg.GetDlgItem(IDC_Q_LIST))->GetCurSel(), 2);
        EXPECT_TRUE(list->item(2)->isSelected());

        // Code changes the model: the widget follows, and no handler hears of it.
        dlg.SetDlgItemText(IDC_Q_NAME, "代码");
        AfxQtSync();
        EXPECT_EQ(name->text(), screentest::Q("代码"));
        dlg.GetDlgItem(IDC_Q_MENU)->EnableWindow(FALSE);
        AfxQtSync();
        EXPECT_FALSE(Control(dlg, IDC_Q_MENU)->isEnabled());
        // A read-only edit is shown grey, as the desktop shows it, where a field to type in is white.
        dlg.GetDlgItem(IDC_Q_COUNT)->SendMessage(EM_SETREADONLY, TRUE, 0);
        AfxQtSync();
        auto* count = qobject_cast<QLineEdit*>(Control(dlg, IDC_Q_COUNT));
        ASSERT_NE(count, nullptr);
        EXPECT_TRUE(count->isReadOnly());
        const QImage readOnly = count->grab().toImage(), editable = name->grab().toImage();
        const QColor grey = readOnly.pixelColor(readOnly.width() - 4, readOnly.height() / 2);
        const QColor white = editable.pixelColor(editable.width() - 4, editable.height() / 2);
        EXPECT_LT(grey.lightness() + 20, white.lightness()) << grey.name().toStdString() << " " << white.name().toStdString();
        screentest::SaveShot(top, "screen_test_dialog");

        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);  // the default button: OK
    });
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_TRUE(acted);
    EXPECT_EQ(dlg.m_name, CString("代码"));
    EXPECT_EQ(dlg.m_check, 1);
    EXPECT_EQ(dlg.m_radio, 1);
    EXPECT_EQ(dlg.m_kind, 1);
    const std::vector<std::string> want = {"EN_CHANGE a", "EN_CHANGE ab", "EN_CHANGE a", "BN_CLICKED check 1",
                                           "CBN_SELCHANGE", "LBN_SELCHANGE"};
    EXPECT_EQ(dlg.events, want);
}

TEST_F(ScreenTest, AFailedExchangeShowsItsBoxOnTheScreenAndKeepsTheDialogOpen) {
    QtDlg dlg;
    screentest::When([&](QWidget* w) { return IsMirrorOf(w, dlg); }, [&](QWidget*) {
        // Typing stops at the limit the exchange set (DDV_MaxChars), as the model's edit does.
        auto* name = qobject_cast<QLineEdit*>(Control(dlg, IDC_Q_NAME));
        QTest::keyClick(name, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(name, "abcdefgh");
        EXPECT_EQ(name->text(), QString("abcdef"));
        auto* count = qobject_cast<QLineEdit*>(Control(dlg, IDC_Q_COUNT));
        QTest::mouseClick(count, Qt::LeftButton, {}, screentest::Centre(count));
        QTest::keyClick(count, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(count, "0");
        screentest::When([](QWidget* w) { return qobject_cast<QMessageBox*>(w) != nullptr; }, [&](QWidget* box) {
            auto* mb = static_cast<QMessageBox*>(box);
            EXPECT_FALSE(mb->text().isEmpty());
            screentest::SaveShot(box, "screen_test_validation_box");
            QTest::mouseClick(mb->button(QMessageBox::Ok), Qt::LeftButton);
        });
        QTest::mouseClick(Control(dlg, IDOK), Qt::LeftButton);
        // The box was answered inside the click; the field keeps the focus with its text selected.
        EXPECT_FALSE(dlg.IsEnded());
        EXPECT_EQ(afxtest::FocusId(), IDC_Q_COUNT);
        EXPECT_EQ(count->window()->focusWidget(), count);
        EXPECT_EQ(count->selectedText(), QString("0"));
        QTest::keyClicks(count, "12");
        QTest::keyClick(count, Qt::Key_Escape);
    });
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    ASSERT_EQ(AfxGetMessageLog().size(), 1u);
    EXPECT_EQ(AfxGetMessageLog()[0].nAnswer, IDOK);
    EXPECT_EQ(dlg.m_name, CString("abcdef"));  // read before the failing field
}

TEST_F(ScreenTest, APopupMenuIsAQMenuWhoseChoiceIsPostedToItsOwner) {
    QtDlg dlg;
    screentest::When([&](QWidget* w) { return IsMirrorOf(w, dlg); }, [&](QWidget*) {
        screentest::When([](QWidget* w) { return qobject_cast<QMenu*>(w) != nullptr; }, [&](QWidget* w) {
            auto* menu = static_cast<QMenu*>(w);
            QList<QAction*> acts = menu->actions();
            ASSERT_EQ(acts.size(), 4);
            EXPECT_TRUE(acts[1]->isSeparator());
            EXPECT_FALSE(acts[2]->isEnabled());
            EXPECT_EQ(acts[3]->text(), screentest::Q("删除"));
            screentest::SaveShot(menu, "screen_test_popup");
            menu->setActiveAction(acts[3]);
            QTest::keyClick(menu, Qt::Key_Return);
        });
        QTest::mouseClick(Control(dlg, IDC_Q_MENU), Qt::LeftButton);
        // The command came after the handler returned, as a posted WM_COMMAND does.
        const std::vector<std::string> want = {"menu returned", "command 503"};
        EXPECT_EQ(dlg.events, want);
        QTest::mouseClick(Control(dlg, IDCANCEL), Qt::LeftButton);
    });
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_EQ(dlg.chosen, 503u);
}

TEST_F(ScreenTest, BoxesAndFileDialogsAnswerWithTheWindowsButtonsAndFlags) {
    struct { UINT type; QMessageBox::StandardButton press; int answer; } boxes[] = {
        {MB_OK, QMessageBox::Ok, IDOK},
        {MB_OKCANCEL, QMessageBox::Cancel, IDCANCEL},
        {MB_YESNO | MB_ICONQUESTION, QMessageBox::No, IDNO},
        {MB_YESNOCANCEL, QMessageBox::Yes, IDYES},
    };
    for (const auto& b : boxes) {
        screentest::When([](QWidget* w) { return qobject_cast<QMessageBox*>(w) != nullptr; }, [&](QWidget* w) {
            auto* mb = static_cast<QMessageBox*>(w);
            EXPECT_EQ(mb->text(), screentest::Q("保存修改吗？"));
            QTest::mouseClick(mb->button(b.press), Qt::LeftButton);
        });
        EXPECT_EQ(AfxMessageBox("保存修改吗？", b.type), b.answer) << b.type;
    }

    const std::string dir = CORVANE_TEST_OUTPUT_DIR "/afxqt-files";
    QDir().mkpath(QString::fromStdString(dir));
    const std::string offered = dir + "/方案";
    CFileDialog save(FALSE, "sch", offered.c_str(), OFN_HIDEREADONLY, "Velmor方案文件(*.sch)|*.sch||");
    save.m_ofn.lpstrTitle = "保存方案";
    screentest::When([](QWidget* w) { return qobject_cast<QFileDialog*>(w) != nullptr; }, [&](QWidget* w) {
        auto* fd = static_cast<QFileDialog*>(w);
        EXPECT_EQ(fd->windowTitle(), screentest::Q("保存方案"));
        EXPECT_EQ(fd->nameFilters(), QStringList(screentest::Q("Velmor方案文件(*.sch) (*.sch)")));
        EXPECT_EQ(fd->defaultSuffix(), QString("sch"));
        EXPECT_TRUE(fd->testOption(QFileDialog::DontConfirmOverwrite));
        static_cast<QDialog*>(fd)->accept();
    });
    EXPECT_EQ(save.DoModal(), IDOK);
    EXPECT_EQ(save.GetPathName().str(), offered + ".sch");
}

}  // namespace

namespace {

enum { IDD_QT_DATE = 9402, IDC_Q_DATE = 120 };

const int kDateRegistered = [] {
    AfxRegisterDialogTemplate({IDD_QT_DATE, "日期", 160, 60, DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU,
                               {
                                   {IDC_Q_DATE, "SysDateTimePick32", "", WS_TABSTOP, 5, 5, 80, 14},
                                   {IDOK, "Button", "确定", BS_DEFPUSHBUTTON | WS_TABSTOP, 50, 40, 50, 14},
                                   {IDCANCEL, "Button", "取消", BS_PUSHBUTTON | WS_TABSTOP, 105, 40, 50, 14},
                               }});
    return 0;
}();

class DateDlg : public CDialog {
public:
    DateDlg() : CDialog(IDD_QT_DATE) {}
    std::vector<std::string> changes;

protected:
    BOOL OnInitDialog() override {
        CDialog::OnInitDialog();
        SYSTEMTIME st{};
        st.wYear = 2024;
        st.wMonth = 3;
        st.wDay = 9;
        static_cast<CDateTimeCtrl*>(GetDlgItem(IDC_Q_DATE))->SetTime(&st);
        return TRUE;
    }
    void OnDateChange(NMHDR* pNM, LRESULT* pResult) {
        const auto* nm = reinterpret_cast<const NMDATETIMECHANGE*>(pNM);
        char buf[32];
        std::snprintf(buf, sizeof buf, "%04d-%02d-%02d", nm->st.wYear, nm->st.wMonth, nm->st.wDay);
        changes.push_back(buf);
        *pResult = 0;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(DateDlg, CDialog)
    ON_NOTIFY(DTN_DATETIMECHANGE, IDC_Q_DATE, OnDateChange)
END_MESSAGE_MAP()

int g_fired = 0;
void CountTick(HWND, UINT, UINT_PTR, DWORD) { ++g_fired; }

}  // namespace

TEST_F(ScreenTest, TimersFireAsTheirPeriodPassesAndTheModelsCursorShows) {
    QtDlg dlg;
    screentest::When([&](QWidget* w) { return IsMirrorOf(w, dlg); }, [&](QWidget* top) {
        g_fired = 0;
        ASSERT_NE(SetTimer(dlg.m_hWnd, 7, 10, CountTick), 0u);
        QTest::qWait(200);
        EXPECT_GE(g_fired, 2);
        KillTimer(dlg.m_hWnd, 7);
        const int fired = g_fired;
        QTest::qWait(100);
        EXPECT_EQ(g_fired, fired) << "a killed timer stays quiet";

        // The model's cursor over the dialog, and the plain arrow again.
        SetCursor(LoadCursor(nullptr, IDC_SIZEWE));
        AfxQtSync();
        EXPECT_EQ(top->cursor().shape(), Qt::SizeHorCursor);
        SetCursor(LoadCursor(nullptr, IDC_ARROW));
        AfxQtSync();
        EXPECT_EQ(top->cursor().shape(), Qt::ArrowCursor);
        QTest::mouseClick(Control(dlg, IDCANCEL), Qt::LeftButton);
    });
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_FALSE(HasTimer(dlg.m_hWnd, 7));
}

TEST_F(ScreenTest, TypingIntoTheDateControlIsThePersonsDateChange) {
    DateDlg dlg;
    screentest::When([&](QWidget* w) { return IsMirrorOf(w, dlg); }, [&](QWidget* top) {
        auto* date = qobject_cast<QDateEdit*>(Control(dlg, IDC_Q_DATE));
        ASSERT_NE(date, nullptr);
        EXPECT_EQ(date->date(), QDate(2024, 3, 9));
        QTest::mouseClick(date, Qt::LeftButton, {}, QPoint(4, date->height() / 2));
        EXPECT_EQ(afxtest::FocusId(), IDC_Q_DATE);
        // The day: the caret to its end, the old digits away, two new ones typed.
        QTest::keyClick(date, Qt::Key_End);
        QTest::keyClick(date, Qt::Key_Backspace);
        QTest::keyClick(date, Qt::Key_Backspace);
        QTest::keyClicks(date, "15");
        QTest::keyClick(date, Qt::Key_Up);
        screentest::SaveShot(top, "screen_test_date");
        SYSTEMTIME st{};
        static_cast<CDateTimeCtrl*>(dlg.GetDlgItem(IDC_Q_DATE))->GetTime(&st);
        EXPECT_EQ(std::make_tuple(st.wYear, st.wMonth, st.wDay), std::make_tuple(WORD(2024), WORD(3), WORD(16)));
        QTest::keyClick(date, Qt::Key_Return);  // the dialog's key: OK
    });
    EXPECT_EQ(dlg.DoModal(), IDOK);
    ASSERT_FALSE(dlg.changes.empty());
    EXPECT_EQ(dlg.changes.back(), "2024-03-16");
}

TEST_F(ScreenTest, ARowDraggedOnTheScreenShowsItsDropTargetWhileItMoves) {
    CPropertySheet sheet("字段");
    CSDFieldPage page;
    {
        CPtrList fields;
        for (const char* n : {"A", "B", "C"}) {
            auto* f = new CDaoFieldInfo;
            f->m_strName = n;
            f->m_nType = dbText;
            f->m_lSize = 20;
            fields.AddTail(f);
        }
        page.SetData(&fields, nullptr, 0);
        for (POSITION p = fields.GetHeadPosition(); p;) delete static_cast<CDaoFieldInfo*>(fields.GetNext(p));
    }
    sheet.AddPage(&page);
    std::vector<UINT> dropTargets;
    screentest::When([&](QWidget* w) { return screentest::Mirrors(w, sheet.m_hWnd); }, [&](QWidget* top) {
        auto* view = qobject_cast<QTreeWidget*>(AfxQtWidget(page.m_ListCtrl.m_hWnd));
        ASSERT_NE(view, nullptr);
        auto centre = [&](int row) { return view->visualItemRect(view->topLevelItem(row)).center(); };
        auto dragImage = [&] { return top->findChild<QLabel*>(QStringLiteral("afxqt_drag_image")); };
        QTest::mousePress(view->viewport(), Qt::LeftButton, {}, centre(0));
        for (int row : {1, 2}) {
            QTest::mouseMove(view->viewport(), centre(row));
            dropTargets.push_back(page.m_ListCtrl.GetItemState(row, LVIS_DROPHILITED));
            EXPECT_TRUE(view->topLevelItem(row)->isSelected()) << "the drop target shows as the model marks it";
            // The dragged row's image rides with the mouse: its hot spot on the model's cursor, half seen
            // through, with the row's label drawn on it.
            QLabel* image = dragImage();
            ASSERT_NE(image, nullptr);
            EXPECT_TRUE(image->isVisible());
            const ImageListDragState d = ImageList_GetDragState();
            POINT cursor;
            GetCursorPos(&cursor);
            CRect sheetRect;
            sheet.GetWindowRect(&sheetRect);
            EXPECT_EQ(image->pos() + QPoint(d.hotSpot.x, d.hotSpot.y), QPoint(cursor.x - sheetRect.left, cursor.y - sheetRect.top));
            const QImage px = image->pixmap().toImage();
            ASSERT_FALSE(px.isNull());
            int dark = 0;
            for (int y = 0; y < px.height(); ++y)
                for (int x = 0; x < px.width(); ++x) {
                    const QColor c = px.pixelColor(x, y);
                    EXPECT_LT(c.alpha(), 255);
                    if (c.alpha() > 0 && c.value() < 200) ++dark;
                }
            EXPECT_GT(dark, 0) << "the row's label";
            if (row == 2) screentest::SaveShot(top, "screen_test_drag_image");
        }
        QTest::mouseRelease(view->viewport(), Qt::LeftButton, {}, centre(2));
        EXPECT_EQ(GetCapture(), nullptr);
        EXPECT_EQ(page.m_ListCtrl.GetItemState(2, LVIS_DROPHILITED), 0u);
        EXPECT_TRUE(!dragImage() || !dragImage()->isVisible()) << "the image goes with the drag";
        QTest::mouseClick(AfxQtWidget(sheet.GetDlgItem(IDOK)->m_hWnd), Qt::LeftButton);
    });
    EXPECT_EQ(sheet.DoModal(), IDOK);
    EXPECT_EQ(dropTargets, (std::vector<UINT>{LVIS_DROPHILITED, LVIS_DROPHILITED}));
    std::vector<std::string> order;
    for (POSITION p = page.m_FieldList.GetHeadPosition(); p;)
        order.push_back(static_cast<CDaoFieldInfo*>(page.m_FieldList.GetNext(p))->m_strName.str());
    EXPECT_EQ(order, (std::vector<std::string>{"B", "A", "C"}));
}

namespace {

enum { IDD_QT_CURSOR = 9403, IDC_Q_C_EDIT = 130, IDC_Q_C_BUTTON, IDC_Q_C_PAD };

const int kCursorRegistered = [] {
    WNDCLASS wc{};
    wc.lpfnWndProc = AfxWndProc;
    wc.lpszClassName = "ScreenPad";  // no class cursor: the dialog chooses one over it
    RegisterClassA(&wc);
    AfxRegisterDialogTemplate({IDD_QT_CURSOR, "光标", 160, 80, DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU,
                               {
                                   {IDC_Q_C_EDIT, "Edit", "", WS_BORDER | WS_TABSTOP, 5, 5, 60, 12},
                                   {IDC_Q_C_BUTTON, "Button", "按钮", BS_PUSHBUTTON | WS_TABSTOP, 5, 22, 50, 14},
                                   {IDC_Q_C_PAD, "ScreenPad", "", WS_VSCROLL, 80, 5, 60, 40},
                                   {IDCANCEL, "Button", "取消", BS_PUSHBUTTON | WS_TABSTOP, 105, 60, 50, 14},
                               }});
    return 0;
}();

// A window that paints its whole client area red, with a scroll bar of its own.
class Pad : public CWnd {
public:
    void OnPaint() {
        CPaintDC dc(this);
        CRect rc;
        GetClientRect(&rc);
        dc.FillSolidRect(&rc, RGB(255, 0, 0));
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(Pad, CWnd)
    ON_WM_PAINT()
END_MESSAGE_MAP()

// Over the pad's client area the dialog shows the sizing cursor; elsewhere the system chooses.
class CursorDlg : public CDialog {
public:
    CursorDlg() : CDialog(IDD_QT_CURSOR) {}
    Pad m_pad;
    std::vector<std::string> asked;

protected:
    void DoDataExchange(CDataExchange* pDX) override { DDX_Control(pDX, IDC_Q_C_PAD, m_pad); }
    BOOL OnInitDialog() override {
        CDialog::OnInitDialog();
        m_pad.SetScrollRange(SB_VERT, 0, 20, FALSE);
        return TRUE;
    }
    BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message) {
        asked.push_back(std::to_string(pWnd->GetDlgCtrlID()) + " " + std::to_string(nHitTest) + " " + std::to_string(message));
        if (pWnd == &m_pad && nHitTest == HTCLIENT) {
            ::SetCursor(LoadCursor(nullptr, IDC_SIZEALL));
            return TRUE;
        }
        return static_cast<BOOL>(Default());
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CursorDlg, CDialog)
    ON_WM_SETCURSOR()
END_MESSAGE_MAP()

}  // namespace

TEST_F(ScreenTest, TheMouseOverAWindowAsksTheModelForTheCursorAsTheDriversHoverDoes) {
    (void)kCursorRegistered;
    CursorDlg dlg;
    screentest::When([&](QWidget* w) { return IsMirrorOf(w, dlg); }, [&](QWidget* top) {
        QWidget* pad = AfxQtWidget(dlg.m_pad.m_hWnd);
        ASSERT_NE(pad, nullptr);
        // The pad's bar stands beside its client area, which is all the pad paints.
        CRect client, window;
        dlg.m_pad.GetClientRect(&client);
        dlg.m_pad.GetWindowRect(&window);
        ASSERT_EQ(window.Width() - client.Width(), GetSystemMetrics(SM_CXVSCROLL));
        auto* bar = pad->findChild<QScrollBar*>();
        ASSERT_NE(bar, nullptr);
        EXPECT_TRUE(bar->isVisible());
        EXPECT_EQ(bar->geometry(), QRect(client.Width(), 0, window.Width() - client.Width(), client.Height()));
        EXPECT_EQ(pad->grab().toImage().pixelColor(client.Width() - 2, 5), QColor(255, 0, 0));

        // Where the mouse goes: a widget of the screen, a point on it, and the model window and client point.
        struct Spot {
            QWidget* widget;
            QPoint at;
            CWnd* wnd;
            CPoint client;
            Qt::CursorShape shape;
        };
        const Spot spots[] = {
            {Control(dlg, IDC_Q_C_EDIT), {5, 5}, dlg.GetDlgItem(IDC_Q_C_EDIT), {5, 5}, Qt::IBeamCursor},  // its class
            {pad, {5, 5}, &dlg.m_pad, {5, 5}, Qt::SizeAllCursor},                                       // the dialog's choice
            {bar, {8, 20}, &dlg.m_pad, {client.Width() + 8, 20}, Qt::ArrowCursor},                      // the bar: the arrow
            {Control(dlg, IDC_Q_C_BUTTON), {5, 5}, dlg.GetDlgItem(IDC_Q_C_BUTTON), {5, 5}, Qt::ArrowCursor},
            {top, {3, 3}, &dlg, {3, 3}, Qt::ArrowCursor},                                              // the surface
        };
        // The driver's hovers, then the person's moves over the same points: what the dialog was asked
        // last at each (a pointer may pass a point more than once), and the cursor then.
        std::vector<std::string> byDriver, byPerson;
        std::vector<HCURSOR> driverCursors;
        for (const Spot& s : spots) {
            dlg.asked.clear();
            ASSERT_TRUE(afxtest::Hover(s.wnd, s.client));
            byDriver.push_back(dlg.asked.empty() ? "" : dlg.asked.back());
            driverCursors.push_back(GetCursor());
        }
        for (const Spot& s : spots) {
            dlg.asked.clear();
            QTest::mouseMove(s.widget, s.at);
            byPerson.push_back(dlg.asked.empty() ? "" : dlg.asked.back());
            EXPECT_EQ(s.widget->cursor().shape(), s.shape) << byPerson.back();
        }
        EXPECT_EQ(byPerson, byDriver);
        EXPECT_EQ(byDriver, (std::vector<std::string>{"130 1 512", "132 1 512", "132 7 512", "131 1 512", "0 1 512"}));
        EXPECT_EQ(driverCursors, (std::vector<HCURSOR>{LoadCursor(nullptr, IDC_IBEAM), LoadCursor(nullptr, IDC_SIZEALL),
                                                        LoadCursor(nullptr, IDC_ARROW), LoadCursor(nullptr, IDC_ARROW),
                                                        LoadCursor(nullptr, IDC_ARROW)}));
        screentest::SaveShot(top, "screen_test_cursor_pad");
        QTest::mouseClick(Control(dlg, IDCANCEL), Qt::LeftButton);
    });
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
}
