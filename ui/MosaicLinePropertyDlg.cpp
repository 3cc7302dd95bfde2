#include "ui/MosaicLinePropertyDlg.h"

#include "core/GeoLayer.h"
#include "raster/GeoMosaicPLine.h"
#include "ui/resources/RasterDialogTemplates.h"

#include <afx/Dc.h>

IMPLEMENT_DYNAMIC(CMosaicLinePropertyDlg, CDialog)

CMosaicLinePropertyDlg::CMosaicLinePropertyDlg(CWnd* pParent) : CDialog(IDD, pParent)
{
    RegisterRasterDialogTemplates();
}

void CMosaicLinePropertyDlg::SetMosaicLine(CGeoMosaicPLine* line)
{
    m_pLine = line;
    m_strLayer.Empty();
    m_strHead.Empty();
    m_strTail.Empty();
    m_nPoints = 0;
    if (!line) return;
    if (CGeoLayer* layer = line->GetLayer()) m_strLayer = layer->GetObjectName();
    m_strHead = line->GetHeadNodeName();
    m_strTail = line->GetTailNodeName();
    m_nPoints = line->GetPoints();
}

void CMosaicLinePropertyDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_MOSAIC_POINTS, m_ListCtrl);
    DDX_Text(pDX, IDC_MOSAIC_LAYER, m_strLayer);
    DDX_Text(pDX, IDC_MOSAIC_HEAD, m_strHead);
    DDX_Text(pDX, IDC_MOSAIC_COUNT, m_nPoints);
    DDX_Text(pDX, IDC_MOSAIC_TAIL, m_strTail);
}

BOOL CMosaicLinePropertyDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    if (!m_pLine) return TRUE;
    m_ListCtrl.DeleteAllItems();
    while (m_ListCtrl.DeleteColumn(0)) {
    }
    m_ListCtrl.SetExtendedStyle(LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT);
    CRect client;
    m_ListCtrl.GetClientRect(&client);
    const char* const headings[5] = {"索引号", "象点坐标X (象素)", "象点坐标Y (象素)", "东坐标X", "北坐标Y"};
    // Each column as wide as its heading needs, the room left shared out evenly, so that no heading is
    // cut; when the headings do not fit side by side, each column takes a fifth of the width.
    int widths[5];
    int needed = 0;
    {
        // Measured on a memory DC: a DC of the list itself would give it a canvas of its own.
        CDC dc;
        dc.CreateCompatibleDC(nullptr);
        CFont* pOld = m_ListCtrl.GetFont() ? dc.SelectObject(m_ListCtrl.GetFont()) : nullptr;
        for (int c = 0; c < 5; ++c) needed += widths[c] = dc.GetTextExtent(CString(headings[c])).cx + 16;
        if (pOld) dc.SelectObject(pOld);
        dc.DeleteDC();
    }
    for (int c = 0; c < 5; ++c)
        widths[c] = needed <= client.Width() ? widths[c] + (client.Width() - needed) / 5 : client.Width() / 5;
    for (int c = 0; c < 5; ++c) m_ListCtrl.InsertColumn(c, headings[c], LVCFMT_LEFT, widths[c]);
    const std::vector<stMosaicPoint>& points = m_pLine->GetMosaicPointArray();
    for (int i = 0; i < static_cast<int>(points.size()); ++i) {
        CString text;
        text.Format("%d", i);
        const int row = m_ListCtrl.InsertItem(i, text);
        const double values[4] = {points[i].x, points[i].y, points[i].E, points[i].N};
        for (int c = 0; c < 4; ++c) {
            text.Format("%.3f", values[c]);
            m_ListCtrl.SetItemText(row, c + 1, text);
        }
    }
    return TRUE;
}
