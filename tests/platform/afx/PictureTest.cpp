// A picture of a live window: the standard controls drawn from the model, a self-painting window
// through its WM_PAINT, and the PNG file a person looks at.
#include <afx/afx.h>
#include <afx/WindowPicture.h>
#include <afx/afxtest.h>
#include <gtest/gtest.h>
#include <win32/gdirecord.h>

#include <fstream>

namespace {

enum { IDD_PICTURE = 9201, IDC_P_EDIT = 300, IDC_P_CHECK, IDC_P_LIST, IDC_P_SWATCH };

const int kRegistered = [] {
    AfxRegisterDialogTemplate({IDD_PICTURE, "图片", 160, 100, DS_MODALFRAME | WS_POPUP | WS_CAPTION,
                               {{IDC_STATIC, "Static", "名称:", SS_LEFT, 5, 7, 30, 8},
                                {IDC_P_EDIT, "Edit", "河流", WS_BORDER, 40, 5, 70, 12},
                                {IDC_P_CHECK, "Button", "可见", BS_AUTOCHECKBOX, 5, 22, 50, 10},
                                {IDC_P_LIST, "ListBox", "", WS_BORDER, 5, 36, 70, 40, 0, false, "一\n二\n三"},
                                {IDC_P_SWATCH, "Swatch", "", WS_BORDER, 90, 36, 40, 20},
                                {IDOK, "Button", "确定", BS_DEFPUSHBUTTON, 100, 80, 50, 14}}});
    WNDCLASS wc{};
    wc.lpfnWndProc = AfxWndProc;
    wc.lpszClassName = "Swatch";
    RegisterClassA(&wc);
    return 0;
}();

// A window of a registered class that paints itself red.
class Swatch : public CWnd {
public:
    int paints = 0;
    void OnPaint() {
        CPaintDC dc(this);
        CRect rc;
        GetClientRect(&rc);
        dc.FillSolidRect(&rc, RGB(255, 0, 0));
        ++paints;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(Swatch, CWnd)
    ON_WM_PAINT()
END_MESSAGE_MAP()

class PictureDlg : public CDialog {
public:
    PictureDlg() : CDialog(IDD_PICTURE) {}
    Swatch swatch;

protected:
    void DoDataExchange(CDataExchange* pDX) override { DDX_Control(pDX, IDC_P_SWATCH, swatch); }
};

}  // namespace

TEST(WindowPicture, DrawsTheLiveStateAndSelfPaintingWindows) {
    (void)kRegistered;
    win32::ResetWindowManager();
    afxtest::Session s;
    s.SetFailureHandler([](const std::string& m) { ADD_FAILURE() << m; });
    PictureDlg dlg;
    std::string path = std::string(CORVANE_TEST_OUTPUT_DIR) + "/window-picture.png";
    std::remove(path.c_str());
    s.ExpectDialog(IDD_PICTURE, [&](CDialog& d) {
        afxtest::Check(d, IDC_P_CHECK, true);
        afxtest::Select(d, IDC_P_LIST, 1);
        HDC pic = AfxDrawWindowPicture(d.m_hWnd);
        ASSERT_NE(pic, nullptr);
        CRect rc;
        d.GetClientRect(&rc);
        const int caption = 22;
        EXPECT_EQ(GetPixel(pic, 3, 3), RGB(10, 36, 106));  // caption bar
        CRect sw;
        d.GetDlgItem(IDC_P_SWATCH)->GetWindowRect(&sw);
        d.ScreenToClient(&sw);
        EXPECT_EQ(GetPixel(pic, sw.CenterPoint().x, sw.CenterPoint().y + caption), RGB(255, 0, 0));
        EXPECT_GE(dlg.swatch.paints, 1);
        // The selected list item is highlighted.
        CRect item;
        static_cast<CListBox*>(d.GetDlgItem(IDC_P_LIST))->GetItemRect(1, &item);
        CRect lr;
        d.GetDlgItem(IDC_P_LIST)->GetWindowRect(&lr);
        d.ScreenToClient(&lr);
        EXPECT_EQ(GetPixel(pic, lr.left + item.right - 6, lr.top + item.top + caption + 2), RGB(10, 36, 106));
        DeleteDC(pic);
        EXPECT_TRUE(AfxWriteWindowPicture(d.m_hWnd, path.c_str()));
        afxtest::Ok(d);
    });
    dlg.DoModal();
    std::ifstream png(path, std::ios::binary);
    char sig[4] = {};
    png.read(sig, 4);
    EXPECT_EQ(std::string(sig + 1, 3), "PNG");
}
