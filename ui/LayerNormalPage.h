// CLayerNormalPage: the general page ("常规属性", template 2030) of the layer property sheet, shown for
// every kind of layer. It shows the layer's file, name, kind, build date and number of objects, and lets
// the user rename the layer, switch its editable flag, switch bounds tracking of an image or DEM layer
// and set the data-type flags of a vector layer. It never changes the layer: the sheet fills it with
// SetData before the page has a window, and Apply sends the values to the sheet in
// WM_LAYERNORMAL_CHANGED (also in view-only mode, with the values unchanged).
//
// Data-type rules: at least one of "GIS数据" and "制图数据" stays ticked (untick the last one and the
// other is ticked); a symbolised layer ("符号化数据层") is cartographic data only, with both boxes
// disabled. The thematic box is shown for every kind of layer; the other data-type boxes only for a
// vector layer, the bounds-tracking box only for an image or DEM layer.
#pragma once

#include <afx/afx.h>
#include <afx/OleTypes.h>
#include <afx/PropertySheet.h>
#include <afx/StdCtrls.h>

// Page to sheet on Apply: wParam 0, lParam a tagLayerNormalData* (valid during the call only).
const UINT WM_LAYERNORMAL_CHANGED = 0x2665;

// Layer-type bits of a vector layer.
enum {
    LAYERTYPE_GIS = 1,
    LAYERTYPE_CARTO = 2,
    LAYERTYPE_SYMBOLIZED = 4,
    LAYERTYPE_THEMATIC = 8,
};

struct tagLayerNormalData {
    CString strName;
    int bEditable;
    int bAutoSize;   // bounds tracking (image and DEM layers)
    int nLayerType;  // LAYERTYPE_* bits
};

class CLayerNormalPage : public CPropertyPage {
    DECLARE_DYNCREATE(CLayerNormalPage)
public:
    enum { IDD = 2030 };

    // The page's caption; "图层常规属性" when empty.
    explicit CLayerNormalPage(CString strCaption = "");

    // nLayerKind: 1 another layer, 2 vector, 3 image, 4 DEM (CLayerPropSheet::GetLayerType). The rest
    // is shown as given; nLayerType holds the LAYERTYPE_* bits. Called before the page has a window.
    void SetData(int nLayerKind, CString strFileName, CString strName, COleDateTime buildTime, int bEditable,
                 int bViewOnly, UINT nObjectCount, int bAutoSize, int nLayerType);

    CButton m_btnAutoSize;
    int m_bAutoSize = 0;
    int m_bEditable = 0;
    CString m_strBuildDate;
    CString m_strFileName;
    CString m_strName;
    UINT m_nObjectCount = 0;
    CString m_strLayerType;
    int m_bGISData = 0;
    int m_bCartoData = 0;
    int m_bSymbolized = 0;
    int m_bThematic = 0;
    int m_nLayerKind = 0;
    int m_bViewOnly = 0;
    COleDateTime m_BuildTime;
    int m_nLayerType = 0;
    CString m_strCaption;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    BOOL OnApply() override;
    void OnChanged();
    void OnClickGIS();
    void OnClickCarto();
    void OnClickSymbolized();
    DECLARE_MESSAGE_MAP()

private:
    // Enables the data-type and editing controls after the view-only flag and the symbolised box.
    void UpdateEnabling();
};
