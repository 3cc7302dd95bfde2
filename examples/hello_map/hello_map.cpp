// hello_map: a map of one vector layer with a road, a lake and a name, saved, loaded back and drawn.
// Run it in an empty folder: it writes hello.map, lakes.LYR and hello.png there.
// Every string inside the library is GBK: the host's own text (UTF-8 here, as any compiler writes it)
// goes in through win32::Utf8ToGbk and comes out through win32::GbkToUtf8.
#include <annotation/GeoAnno.h>
#include <core/CorvaneModule.h>
#include <core/CorvaneVersion.h>
#include <core/DisplayState.h>
#include <core/GeoMap.h>
#include <core/GeoVectorLayer.h>
#include <vector/GeoLabelPoint.h>
#include <vector/GeoPLine.h>
#include <vector/GeoPolygon.h>
#include <win32/codepage.h>
#include <win32/gdirecord.h>

#include <cstdio>

#if !CORVANE_VERSION_CHECK(1, 38, 0)
#error "hello_map needs Corvane 1.38 or later"
#endif

int main() {
    // The library loaded at run time must be the one compiled against.
    if (GetCorvaneVersionNum() != CORVANE_VERSION_NUM) {
        std::printf("built against Corvane %s, running %s\n", CORVANE_VERSION_STRING, GetCorvaneVersionString());
        return 1;
    }
    CWinApp app("hello_map");  // the host's application object: profile, message log

    // A layer covering 0..10000 mm both ways (coordinates are millimetres, y pointing up).
    CRect bounds(0, 0, 10000, 10000);
    CGeoVectorLayer* layer = CreateVectorLayer(&bounds, nullptr, win32::Utf8ToGbk("湖泊").c_str(), "", 0);

    POINT road[] = {{500, 500}, {4000, 3000}, {9500, 2500}};
    layer->Add(new CGeoPLine(3, road, FALSE));  // the layer owns what it holds

    // An area is bounded by arcs of its layer: here one closed arc, then a label point for its style.
    POINT shore[] = {{2000, 5000}, {6000, 4500}, {8000, 8000}, {3000, 9000}, {2000, 5000}};
    CGeoPLine* arc = new CGeoPLine(5, shore, FALSE);
    layer->Add(arc);
    CGeoPolygon* lake = new CGeoPolygon;
    layer->Add(lake);
    CGeoKeyString keys;
    keys.Add(static_cast<LONG>(arc->GetID()));
    keys.Add(POLYGON_RING_END);
    lake->SetKeyString(keys);
    CGeoLabelPoint* label = new CGeoLabelPoint(CPoint(4500, 7000));
    layer->Add(label);
    lake->SetLabelPoint(label);

    // Text 400 mm high, anchored at its lower left corner (align type 0), not turned.
    layer->Add(new CGeoAnno(win32::Utf8ToGbk("明湖").c_str(), CPoint(4000, 6000), 400, 400, 0.0f, 0.0f, 0, 0, 1, 0, 0, 0, 0));

    // A map owns its layers. Saving the map writes each layer to its own file (and a layer with
    // attribute values its database beside it), so every layer needs a file name first.
    CGeoMap map;
    map.AddLayer(layer, -1);
    layer->SetFileName("lakes.LYR");
    {
        CFile file("hello.map", CFile::modeCreate | CFile::modeWrite);
        CArchive ar(&file, CArchive::store);
        map.Serialize(ar);
        ar.Close();
    }

    CGeoMap loaded;
    {
        CFile file("hello.map", CFile::modeRead);
        CArchive ar(&file, CArchive::load);
        loaded.Serialize(ar);
    }
    if (loaded.GetLayerCount() != 1) return 1;

    // Draw at 1:100: one device pixel is 0.1 mm on paper, so 1000 pixels show 10000 mm. The origin is
    // added to every point (in mm) before scaling: (0, -10000) puts the layer's top edge at pixel row 0.
    HDC hdc = win32::CreateImageDC(1000, 1000);
    CDC dc;
    dc.Attach(hdc);
    tagDisplayState ds{};
    ds.m_nDisplayAttr = DISPLAYATTR_SELF;
    ds.m_nShowMode = VISIBLE_ALL;
    RECT clip{0, 0, 1000, 1000};
    auto* drawn = static_cast<CGeoVectorLayer*>(loaded.FindLayer(0));
    drawn->Draw(&dc, &clip, 100, 100, CPoint(0, -10000), ds, 0, nullptr);
    BOOL ok = win32::WriteDCToPNG(dc.m_hDC, "hello.png");
    ::DeleteDC(dc.Detach());
    std::printf("Corvane %s: layer %s, %d objects loaded, picture %s\n", GetCorvaneVersionString(),
                win32::GbkToUtf8(drawn->GetObjectName().str()).c_str(), drawn->GetObjectCount(),
                ok ? "hello.png" : "not written");
    return ok ? 0 : 1;
}
