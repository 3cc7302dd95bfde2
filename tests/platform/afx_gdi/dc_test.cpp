// The class library's DC and GDI object wrappers: ownership of handles, SelectObject returning the
// previous object, window DCs, printer DCs and the helpers built on GDI.
#include <gtest/gtest.h>

#include <cstring>

#include "afx/Dc.h"
#include "win32/gdirecord.h"

namespace {

COLORREF Pixel(CDC& dc, int x, int y) { return dc.GetPixel(x, y); }

// A window object as the class library's windows are: it only needs to give its handle.
struct FakeWnd {
    HWND h;
    HWND GetSafeHwnd() const { return h; }
};

}  // namespace

TEST(AfxGdi, ObjectsOwnTheirHandlesAndSelectReturnsThePrevious) {
    CDC dc;
    ASSERT_TRUE(dc.Attach(win32::CreateImageDC(10, 10)));
    EXPECT_EQ(CDC::FromHandle(dc.GetSafeHdc()), &dc);
    HPEN hPen;
    {
        CPen pen(PS_SOLID, 1, RGB(255, 0, 0));
        CBrush brush(RGB(0, 0, 255));
        hPen = pen;
        CPen* oldPen = dc.SelectObject(&pen);
        CBrush* oldBrush = dc.SelectObject(&brush);
        ASSERT_NE(oldPen, nullptr);
        ASSERT_NE(oldBrush, nullptr);
        // The stock objects come back as temporary wrappers of the right class.
        EXPECT_TRUE(oldPen->IsKindOf(RUNTIME_CLASS(CPen)));
        EXPECT_EQ(oldPen->m_hObject, ::GetStockObject(BLACK_PEN));
        EXPECT_EQ(dc.GetCurrentPen(), &pen);
        dc.Rectangle(0, 0, 4, 4);
        EXPECT_EQ(Pixel(dc, 0, 0), RGB(255, 0, 0));
        EXPECT_EQ(Pixel(dc, 1, 1), RGB(0, 0, 255));
        EXPECT_EQ(dc.SelectObject(oldPen), &pen);
        dc.SelectObject(oldBrush);
        CGdiObject* prev = dc.SelectStockObject(NULL_BRUSH);
        EXPECT_EQ(prev->m_hObject, ::GetStockObject(WHITE_BRUSH));
    }
    EXPECT_EQ(::GetObjectType(hPen), 0u);  // the pen deleted its handle
    // Detach gives the handle up; Attach takes one.
    CBrush b;
    EXPECT_TRUE(b.CreateHatchBrush(HS_CROSS, 0));
    EXPECT_FALSE(b.CreateSolidBrush(0));  // already holds a handle
    HGDIOBJ h = b.Detach();
    EXPECT_EQ(b.m_hObject, nullptr);
    EXPECT_EQ(::GetObjectType(h), (DWORD)OBJ_BRUSH);
    CBrush other;
    other.Attach(h);
    LOGBRUSH lb;
    ASSERT_EQ(other.GetLogBrush(&lb), (int)sizeof lb);
    EXPECT_EQ(lb.lbStyle, (UINT)BS_HATCHED);
    EXPECT_EQ(CGdiObject::FromHandle(h), &other);
    EXPECT_THROW(CBrush(9, 0), CResourceException);
    CGdiObject::DeleteTempMap();
    CDC::DeleteTempMap();
}

TEST(AfxGdi, FontsRegionsAndBitmaps) {
    CDC dc;
    dc.Attach(win32::CreateImageDC(40, 40));
    CFont font;
    ASSERT_TRUE(font.CreatePointFont(90, "宋体"));
    LOGFONT lf;
    font.GetLogFont(&lf);
    EXPECT_EQ(lf.lfHeight, -12);
    EXPECT_STREQ(lf.lfFaceName, "宋体");
    dc.SetMapMode(MM_LOMETRIC);
    CFont metric;
    metric.CreatePointFont(90, "黑体", &dc);  // 12 pixels in tenths of a millimetre
    metric.GetLogFont(&lf);
    EXPECT_EQ(lf.lfHeight, -32);
    dc.SetMapMode(MM_TEXT);
    CFont* old = dc.SelectObject(&font);
    EXPECT_EQ(dc.GetTextExtent(CString("图层ab")), CSize(36, 12));
    CString face;
    dc.GetTextFace(face);
    EXPECT_EQ(face, CString("宋体"));
    dc.SelectObject(old);

    CRgn a, b;
    a.CreateRectRgn(0, 0, 10, 10);
    b.CreateEllipticRgn(5, 5, 20, 20);
    EXPECT_EQ(a.CombineRgn(&a, &b, RGN_OR), COMPLEXREGION);
    CRect box;
    a.GetRgnBox(&box);
    EXPECT_EQ(box, CRect(0, 0, 20, 20));
    EXPECT_TRUE(a.PtInRegion(CPoint(1, 1)));
    CBrush red(RGB(255, 0, 0));
    dc.FillRgn(&a, &red);
    EXPECT_EQ(Pixel(dc, 1, 1), RGB(255, 0, 0));
    dc.BeginPath();
    dc.Rectangle(0, 0, 5, 5);
    dc.EndPath();
    CRgn fromPath;
    ASSERT_TRUE(fromPath.CreateFromPath(&dc));
    fromPath.GetRgnBox(&box);
    EXPECT_EQ(box, CRect(0, 0, 4, 4));

    // A bitmap in a compatible memory DC, copied onto the first.
    CDC mem;
    ASSERT_TRUE(mem.CreateCompatibleDC(&dc));
    CBitmap bmp;
    ASSERT_TRUE(bmp.CreateCompatibleBitmap(&dc, 4, 4));
    BITMAP bm;
    bmp.GetBitmap(&bm);
    EXPECT_EQ(bm.bmBitsPixel, 32);
    CBitmap* oldBmp = mem.SelectObject(&bmp);
    mem.FillSolidRect(0, 0, 4, 4, RGB(0, 255, 0));
    EXPECT_EQ(mem.GetBkColor(), RGB(0, 255, 0));  // FillSolidRect leaves the background colour set
    dc.BitBlt(30, 30, 4, 4, &mem, 0, 0, SRCCOPY);
    EXPECT_EQ(Pixel(dc, 33, 33), RGB(0, 255, 0));
    EXPECT_FALSE(bmp.DeleteObject());  // still selected
    mem.SelectObject(oldBmp);
    EXPECT_TRUE(bmp.DeleteObject());
    dc.Draw3dRect(20, 0, 5, 4, RGB(255, 255, 0), RGB(0, 0, 128));
    EXPECT_EQ(Pixel(dc, 20, 0), RGB(255, 255, 0));
    EXPECT_EQ(Pixel(dc, 23, 0), RGB(255, 255, 0));
    EXPECT_EQ(Pixel(dc, 24, 0), RGB(0, 0, 128));
    EXPECT_EQ(Pixel(dc, 20, 3), RGB(0, 0, 128));
    CGdiObject::DeleteTempMap();
}

TEST(AfxGdi, WindowAndPrinterDCs) {
    HWND hwnd = reinterpret_cast<HWND>(0x1234);
    win32::AttachWindowCanvas(hwnd, 20, 10);
    FakeWnd wnd{hwnd};
    {
        CClientDC dc(&wnd);
        EXPECT_EQ(dc.m_hWnd, hwnd);
        EXPECT_FALSE(dc.IsPrinting());
        dc.MoveTo(0, 5);
        dc.LineTo(20, 5);
    }
    {
        CPaintDC dc(&wnd);
        EXPECT_EQ(dc.m_ps.rcPaint.right, 20);
        EXPECT_EQ(dc.m_ps.rcPaint.bottom, 10);
        EXPECT_EQ(dc.GetPixel(7, 5), 0u);  // the client DC drew on the canvas
        dc.SetPixel(1, 1, RGB(1, 2, 3));
    }
    HDC probe = ::CreateCompatibleDC(nullptr);
    HGDIOBJ old = ::SelectObject(probe, win32::GetWindowCanvas(hwnd));
    EXPECT_EQ(old, nullptr);  // the canvas belongs to the window, not to memory DCs
    ::DeleteDC(probe);
    win32::DetachWindowCanvas(hwnd);
    {
        // The screen: no pixels, but text still measures.
        CClientDC screen(nullptr);
        EXPECT_EQ(screen.GetDeviceCaps(BITSPIXEL), 32);
        EXPECT_EQ(screen.GetDeviceCaps(LOGPIXELSY), 96);
        EXPECT_EQ(screen.GetTextExtent("ab", 2).cy, 12);
        EXPECT_EQ(screen.GetPixel(0, 0), CLR_INVALID);
    }
    CDC printer;
    printer.Attach(win32::CreatePrinterDC(100, 100, 300));
    EXPECT_TRUE(printer.IsPrinting());
    EXPECT_EQ(printer.GetDeviceCaps(LOGPIXELSX), 300);
    CDC* temp = CDC::FromHandle(printer.Detach());
    EXPECT_TRUE(temp->IsPrinting());
    ::DeleteDC(temp->GetSafeHdc());
    CDC::DeleteTempMap();
}
