// A map of polylines saved as layer files and a map record, loaded into a new map and drawn through the
// layers: the picture of the loaded map is the picture of the map that was saved, pixel for pixel.
#include "PLineSampleMap.h"

#include "core/VMSymbolLibIO.h"
#include "platform/quenby/SampleSymbolLib.h"
#include "support/TempDir.h"

#include <win32/gdirecord.h>

#include <gtest/gtest.h>

#include <string>

namespace {

size_t CountColour(HDC hdc, COLORREF colour) {
    size_t n = 0;
    for (int y = 0; y < plinesample::kPictureSize; ++y)
        for (int x = 0; x < plinesample::kPictureSize; ++x)
            if (::GetPixel(hdc, x, y) == colour) ++n;
    return n;
}

TEST(PLineMapRoundTrip, TheLoadedMapDrawsTheSamePicture) {
    testsupport::TempDir dir("corvane-plinemap");
    CVMSymbolLibIO lib;
    quenbytest::AddSampleSymbols(lib);

    CGeoMap map;
    ASSERT_EQ(map.AddLayer(plinesample::BuildRivers(), -1), 1);
    ASSERT_EQ(map.AddLayer(plinesample::BuildRoads(), -1), 1);
    map.FindLayer(0)->SetFileName(CString(dir("rivers.LYR").c_str()));
    map.FindLayer(1)->SetFileName(CString(dir("roads.LYR").c_str()));
    HDC before = plinesample::DrawMap(map, &lib);
    {
        CFile f(CString(dir("map.rec").c_str()), CFile::modeCreate | CFile::modeWrite);
        CArchive ar(&f, CArchive::store);
        map.Serialize(ar);
        ar.Close();
    }

    CGeoMap loaded;
    {
        CFile f(CString(dir("map.rec").c_str()), CFile::modeRead);
        CArchive ar(&f, CArchive::load);
        loaded.Serialize(ar);
    }
    ASSERT_EQ(loaded.GetLayerCount(), 2);
    HDC after = plinesample::DrawMap(loaded, &lib);
    EXPECT_TRUE(plinesample::Pixels(before) == plinesample::Pixels(after));
    win32::WriteDCToPNG(after, (std::string(CORVANE_TEST_OUTPUT_DIR) + "/plinemap.png").c_str());

    // The picture holds what the map says: the river in its class colour where it runs, the twin-line
    // symbol of the motorways in the symbol's own colours, the dashed canal drawn plainly.
    EXPECT_EQ(::GetPixel(after, 120, 260), RGB(0, 90, 220));  // (15000, 67500) on the river
    EXPECT_GT(CountColour(after, RGB(0, 0, 255)), 100u);      // the symbol's blue twin lines
    EXPECT_GT(CountColour(after, RGB(255, 0, 0)), 100u);      // and its red centre dashes
    EXPECT_GT(CountColour(after, RGB(0, 150, 90)), 100u);     // the canal
    EXPECT_EQ(CountColour(after, RGB(200, 0, 0)), 0u);        // the motorways' plain colour: no fallback
    ::DeleteDC(before);
    ::DeleteDC(after);
}

}  // namespace
