#include "ui/StylePageGroup.h"

void AddStylePages(CTPropertySheet& sheet, CSDStylePage& style, CPropageStylePoint& point, CPropageStyleLine& line,
                   CPropageStylePolygon& polygon, CPropageStyleAnno& anno, GEOVIEW* pView, CSymbolLibIO* pLib,
                   int bViewOnly, int bShowSize, UINT nWidth, UINT nHeight) {
    sheet.AddPage(&style);
    sheet.AddPage(&point, nullptr, 0, 0, &style);
    sheet.AddPage(&line, nullptr, 0, 0, &style);
    sheet.AddPage(&polygon, nullptr, 0, 0, &style);
    sheet.AddPage(&anno, nullptr, 0, 0, &style);
    style.SetData(*pView, pLib, 1);
    point.SetData(pView, pLib);
    point.SetViewOnly(bViewOnly);
    line.SetData(pView, pLib);
    line.SetViewOnly(bViewOnly);
    polygon.SetData(pView, pLib);
    polygon.SetViewOnly(bViewOnly);
    anno.SetData(pView, bShowSize, nWidth, nHeight);
    anno.SetViewOnly(bViewOnly);
}
