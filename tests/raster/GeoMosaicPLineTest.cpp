#include "raster/GeoImage.h"
#include "raster/GeoMosaicPLine.h"
#include "raster/GeoMosaicReferenceBuffer.h"

#include "../support/AllocationWatch.h"

#include <gtest/gtest.h>

#include <cstring>

#include <memory>

namespace {

stMosaicPoint Mp(double x, double y, double e, double n) { return stMosaicPoint{x, y, e, n}; }

std::unique_ptr<CGeoMosaicPLine> Line(std::initializer_list<stMosaicPoint> points, const char* head = "A",
                                      const char* tail = "B")
{
    auto line = std::make_unique<CGeoMosaicPLine>();
    for (const stMosaicPoint& p : points) line->AddPoint(p.x, p.y, p.E, p.N);
    line->SetHeadNodeName(head);
    line->SetTailNodeName(tail);
    return line;
}

template <class T>
std::vector<BYTE> Store(T& object)
{
    CMemFile file;
    {
        CArchive ar(&file, CArchive::store);
        object.Serialize(ar);
    }
    std::vector<BYTE> bytes(static_cast<size_t>(file.GetLength()));
    file.SeekToBegin();
    file.Read(bytes.data(), static_cast<UINT>(bytes.size()));
    return bytes;
}

template <class T>
void Load(T& object, std::vector<BYTE>& bytes)
{
    CMemFile file(bytes.data(), static_cast<UINT>(bytes.size()));
    CArchive ar(&file, CArchive::load);
    object.Serialize(ar);
}

}  // namespace

TEST(GeoMosaicPLine, NamesAppendAndEquality)
{
    CGeoMosaicPLine line;
    EXPECT_EQ(line.AddMosaicPoint(POINT{0, 0}, Mp(0, 0, 0, 0), "A"), 1);
    EXPECT_EQ(line.AddMosaicPoint(POINT{10, 0}, Mp(10, 0, 10, 0), "B"), 1);
    EXPECT_EQ(line.AddMosaicPoint(POINT{20, 0}, Mp(20, 0, 20, 0), "A"), 1);
    EXPECT_EQ(line.GetHeadNodeName(), CString("A"));
    EXPECT_EQ(line.GetTailNodeName(), CString("B"));
    EXPECT_EQ(line.CanAutoRemoveByLayer(), 0);

    auto other = Line({Mp(0, 0, 1, 1), Mp(1, 1, 2, 2), Mp(2, 2, 3, 3)});
    CGeoMosaicPLine target;
    EXPECT_EQ(target.Append(other.get(), 1, 1), 2);
    EXPECT_EQ(target.GetMapE(0), 3);
    EXPECT_EQ(target.GetMapE(1), 2);
    EXPECT_EQ(target.GetPoints(), 0);  // mosaic points only
    CGeoMosaicPLine empty;
    EXPECT_EQ(target.Append(&empty, 0, 0), 0);

    auto a = Line({Mp(0, 0, 0, 0), Mp(5, 5, 50, 50), Mp(9, 9, 90, 90)});
    auto b = Line({Mp(0, 0, 7, 7), Mp(5, 5, 50.0005, 50), Mp(9, 9, 91, 91)});
    EXPECT_EQ(a->Equal(b.get()), 1);  // ends compare by name
    b->GetMosaicPointArray()[1].N = 50.01;
    EXPECT_EQ(a->Equal(b.get()), 0);
    b->GetMosaicPointArray()[1].N = 50;
    b->SetTailNodeName("C");
    EXPECT_EQ(a->Equal(b.get()), 0);
    a->SetTailNodeName("");
    EXPECT_EQ(a->Equal(a.get()), 0);
    CGeoMosaicPLine copy(*b, 0, 1);
    EXPECT_EQ(copy.GetMosaicPoints(), 3);
    EXPECT_TRUE(copy.GetHeadNodeName().IsEmpty());
    EXPECT_EQ(copy.Equal(b.get()), 0);

    auto half = Line({Mp(10.5, 3.2, 0, 0)});
    EXPECT_EQ(half->GetX(0), 11);
    POINT* px = half->GetPixelPoints(1.0);
    EXPECT_EQ(px[0].x, 10);
    delete[] px;
}

TEST(GeoMosaicPLine, EditingKeepsVerticesAndPointsTogether)
{
    auto line = Line({Mp(0, 0, 0, 0), Mp(1000, 0, 1, 0)});
    // Scale 10 makes the handle radius 7 device units 7 mm.
    EXPECT_EQ(line->FindInsertIndex(POINT{500, 0}, 10, 1), 1);
    EXPECT_EQ(line->FindInsertIndex(POINT{5, 0}, 10, 1), -1);  // on a node
    EXPECT_EQ(line->FindInsertIndex(POINT{2000, 0}, 10, 1), -1);
    EXPECT_EQ(line->InsertMosaicPoint(POINT{500, 3}, 10, Mp(500, 3, 0.5, 0), 1), 1);
    ASSERT_EQ(line->GetPoints(), 3);
    EXPECT_EQ(line->GetMapE(1), 0.5);
    EXPECT_EQ(line->FindInnerNodeIndex(CPoint(501, 4), 10), 1);
    line->MoveMosaicPointTo(0, POINT{9, 9}, Mp(9, 9, 9, 9));  // ends stay
    EXPECT_EQ(line->GetPoint(0), CPoint(0, 0));
    line->MoveMosaicPointTo(1, POINT{600, 3}, Mp(600, 3, 0.6, 0));
    EXPECT_EQ(line->GetPoint(1), CPoint(600, 3));
    EXPECT_EQ(line->GetMapE(1), 0.6);
    line->RemoveMosaicPointAt(1);
    EXPECT_EQ(line->GetPoints(), 2);
    EXPECT_EQ(line->GetMosaicPoints(), 2);
    line->ResetMosaicPLine();
    EXPECT_EQ(line->GetPoints(), 0);
    EXPECT_TRUE(line->GetHeadNodeName().IsEmpty());
}

TEST(GeoMosaicPLine, ShortNames)
{
    EXPECT_EQ(CGeoMosaicPLine::ShortNodeName("PT_0012"), CString("..0012"));
    EXPECT_EQ(CGeoMosaicPLine::ShortNodeName("ABCDEFGH"), CString("..EFGH"));
    EXPECT_EQ(CGeoMosaicPLine::ShortNodeName("ABC"), CString("ABC"));
    // Three two-byte characters then one byte: the last four bytes would start inside a character.
    EXPECT_EQ(CGeoMosaicPLine::ShortNodeName("接边点X"), CString("..点X"));
}

TEST(GeoMosaicPLine, RecordRoundTripAndLoadingInAnImage)
{
    auto line = Line({Mp(1, 2, 3, 4), Mp(5, 6, 7, 8)}, "N1", "N2");
    line->SetImagePosition(IMAGE_EAST);
    line->SetFocusNode(1);
    line->GetStandardHistogram()->GetHistogram()->Initialize(10, 1, 256);
    line->GetStandardHistogram()->GetHistogram()->GetH(0)[9] = 10;
    line->SetGeoStandardHistogram(CRect(1, 2, 3, 4));
    std::vector<BYTE> bytes = Store(*line);
    CGeoMosaicPLine back;
    Load(back, bytes);
    ASSERT_EQ(back.GetMosaicPoints(), 2);
    EXPECT_EQ(back.GetMapN(1), 8);
    EXPECT_EQ(back.GetMosaicPointArray()[1].x, 5);
    EXPECT_EQ(back.GetHeadNodeName(), CString("N1"));
    EXPECT_EQ(back.GetImagePosition(), IMAGE_EAST);
    EXPECT_EQ(back.GetFocusNode(), -1);
    EXPECT_EQ(back.GetStandardHistogram()->GetHistogram()->GetH(0)[9], 10);
    int t, l, b, r;
    back.GetStandardHistogram()->GetExtent(t, l, b, r);
    EXPECT_EQ(CRect(l, t, r, b), CRect(1, 2, 3, 4));

    // An image whose lists hold mosaic lines loads them back.
    tagRasterParameter p{50000, 0, 400.0, 400.0, 1.0};
    CGeoImage image(4, 4, 8, 0, 4, p);
    image.SetRasterFileName("x.tif");
    image.Modified(0);
    image.GetMosaicPLines()->AddTail(new CGeoMosaicPLine(*line, 0, 1));
    CMemFile file;
    {
        CArchive ar(&file, CArchive::store);
        ar << static_cast<CObject*>(&image);
    }
    file.SeekToBegin();
    CArchive ar(&file, CArchive::load);
    CObject* o = nullptr;
    ar >> o;
    std::unique_ptr<CObject> hold(o);
    ASSERT_TRUE(o && o->IsKindOf(RUNTIME_CLASS(CGeoImage)));
    EXPECT_EQ(static_cast<CGeoImage*>(o)->GetMosaicPLines()->GetCount(), 1);
}

TEST(ReferenceBuffer, StripAlongAVerticalSeam)
{
    // A 20 x 10 ramp, pixel value 10 + column * 10 (every row alike), rows from the top.
    tagRasterParameter p{50000, 0, 400.0, 400.0, 1.0};
    CGeoImage image(20, 10, 8, 0, 10, p);
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 20; ++x) image.SetPixelValue(10 + 10 * x, x, y);
    // Seam at column 16.5 from the bottom row to the top; position 0: the strip runs east from it.
    auto line = Line({Mp(16.5, 0, 0, 0), Mp(16.5, 9, 0, 9)});
    line->SetImagePosition(IMAGE_WEST);
    CGeoMosaicReferenceBuffer& buffer = *line->GetReferenceBuffer();
    ASSERT_EQ(buffer.Create(&image, line.get(), 5), 1);
    EXPECT_EQ(buffer.GetBegin(), 0);
    EXPECT_EQ(buffer.GetEnd(), 9);
    BYTE* rec = buffer.GetBuffer(0.5);
    ASSERT_NE(rec, nullptr);
    // Working vertices are rounded: the seam sits at column 17 (X = 17, f = 0): 180, 190, 200, then the
    // last column 19 = 200 copied and the record ends.
    EXPECT_EQ(rec[0], 180);
    EXPECT_EQ(rec[1], 190);
    EXPECT_EQ(rec[2], 200);
    EXPECT_EQ(rec[3], 0);
    EXPECT_EQ(buffer.GetBuffer(0, 0.5, 0.0)[1], 190);

    std::vector<BYTE> bytes = Store(buffer);
    CGeoMosaicReferenceBuffer back;
    Load(back, bytes);
    EXPECT_EQ(back.GetPointNum(), 2);
    EXPECT_EQ(back.GetBits(), 8);
    EXPECT_EQ(back.GetBuffer(0.5)[1], 190);
    EXPECT_EQ(back.GetBuffer(0, 0.5), nullptr);  // no segment table until the line rebuilds it

    // A corrected side builds nothing; an empty buffer hands out no records.
    line->SetImagePosition(IMAGE_EAST);
    EXPECT_EQ(buffer.Create(&image, line.get(), 5), 0);
    EXPECT_EQ(buffer.GetWidth(), 0);
    EXPECT_EQ(buffer.GetPointNum(), 0);
    EXPECT_EQ(buffer.GetBuffer(0.5), nullptr);
    EXPECT_EQ(buffer.GetBuffer(0, 0.5, 0.0), nullptr);

    // Zero points are stored as the marker -1; an old record (count, no bits) loads as 8 bits.
    CGeoMosaicReferenceBuffer none;
    std::vector<BYTE> zero = Store(none);
    ASSERT_GE(zero.size(), 32u);
    EXPECT_EQ(zero[28], 0xFF);
    std::vector<BYTE> old = {4, 0, 0, 0, 4, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    CGeoMosaicReferenceBuffer legacy;
    Load(legacy, old);
    EXPECT_EQ(legacy.GetBits(), 8);
}

TEST(ReferenceBuffer, LineBufferFollowsTheSeam)
{
    // Vertical seam 10.4 cells east of the west edge, from 2 to 8 cells south of the north edge.
    // Mosaic map coordinates are millimetres; the extent is in metres (north in the bottom field).
    const double cell = 2.0;
    auto line = Line({Mp(0, 0, (100 + 10.4 * cell) * 1000, (500 - 8 * cell) * 1000),
                      Mp(0, 0, (100 + 10.4 * cell) * 1000, (500 - 2 * cell) * 1000)});
    line->SetImagePosition(IMAGE_WEST);
    CGeoPLineBuffer buffer;
    ASSERT_EQ(buffer.Create(line.get(), CRect(100, 0, 300, 500), cell), 1);
    int start = 0, end = 0;
    buffer.GetRange(start, end);
    EXPECT_EQ(start, 2);
    EXPECT_EQ(end, 8);
    // Rows 3 to 8 are crossed going north from the southern end; the northern end row is not reached.
    EXPECT_EQ(buffer.GetPosition()[0], buffer.GetInvalidPosition());
    for (int i = 1; i <= end - start; ++i) EXPECT_EQ(buffer.GetPosition()[i], 10) << i;
    EXPECT_EQ(buffer.Create(line.get(), CRect(100, 0, 300, 500), 0.0), 0);
    line->SetImagePosition(IMAGE_EAST);
    EXPECT_EQ(buffer.Create(line.get(), CRect(100, 0, 300, 500), cell), 0);
}

TEST(MosaicNetwork, RingsUnionLinesAndNearestNodes)
{
    tagRasterParameter p{50000, 0, 400.0, 400.0, 1.0};
    CGeoImage image(10, 8, 8, 0, 8, p);
    // Without lines: the four pixel corners.
    std::unique_ptr<CGeoMosaicPLine> frame(image.GetUnionMosaicLine());
    ASSERT_TRUE(frame);
    ASSERT_EQ(frame->GetMosaicPoints(), 4);
    EXPECT_EQ(frame->GetMosaicPointArray()[2].x, 9);
    EXPECT_EQ(frame->GetMosaicPointArray()[2].y, 7);
    EXPECT_EQ(frame->IsClosed(), 1);

    // A (P->Q), B (R->Q), C (R->P): B joins reversed by its tail.
    auto* a = Line({Mp(0, 0, 0, 0), Mp(5, 0, 5, 0)}, "P", "Q").release();
    auto* b = Line({Mp(5, 5, 5, 5), Mp(6, 2, 6, 2), Mp(5, 0, 5, 0)}, "R", "Q").release();
    auto* c = Line({Mp(5, 5, 5, 5), Mp(0, 0, 0, 0)}, "R", "P").release();
    image.GetMosaicLines()->AddTail(a);
    image.GetMosaicLines()->AddTail(b);
    image.GetMosaicLines()->AddTail(c);
    CTypedPtrList<CObList, CGeoMosaicPLine*> chain;
    ASSERT_EQ(image.IsMosaicLinesClosed(&chain), 1);
    ASSERT_EQ(chain.GetCount(), 3);
    EXPECT_EQ(chain.GetHead(), a);
    EXPECT_EQ(chain.GetTail(), c);
    std::unique_ptr<CGeoMosaicPLine> ring(image.GetUnionMosaicLine());
    ASSERT_TRUE(ring);
    EXPECT_EQ(ring->GetMosaicPoints(), 1 + 3 + 2);
    EXPECT_EQ(ring->GetMosaicPointArray()[2].x, 6);  // B reversed: Q, (6, 2), R

    CPoint vertex;
    double px = 0, py = 0, e = 0, n = 0;
    CString name = "x";
    ASSERT_EQ(image.GetNearestMosaicNode(6.2, 2.1, vertex, px, py, e, n, name, 1), 1);
    EXPECT_EQ(px, 6);
    EXPECT_TRUE(name.IsEmpty());
    ASSERT_EQ(image.GetNearestMosaicNode(0.1, 0.1, vertex, px, py, e, n, name, 1), 1);
    EXPECT_EQ(name, CString("P"));  // A's head comes first among equals

    // Sharing only one node does not close.
    c->SetTailNodeName("S");
    EXPECT_EQ(image.IsMosaicLinesClosed(nullptr), 0);
    EXPECT_EQ(image.GetUnionMosaicLine(), nullptr);
}

TEST(MosaicNetwork, MatchFindsAPlantedTemplate)
{
    // A 30 x 30 window of pseudo-random bytes; the template is its 7 x 9 block at (3, 5).
    std::vector<BYTE> window(30 * 30);
    unsigned s = 12345;
    for (BYTE& v : window) v = BYTE((s = s * 1103515245u + 12345u) >> 24);
    std::vector<BYTE> tmpl(7 * 9);
    for (int k = 0; k < 9; ++k)
        for (int i = 0; i < 7; ++i) tmpl[k * 7 + i] = window[(5 + k) * 30 + 3 + i];
    std::vector<BYTE*> wr(30), tr(9);
    for (int k = 0; k < 30; ++k) wr[k] = &window[k * 30];
    for (int k = 0; k < 9; ++k) tr[k] = &tmpl[k * 7];
    StGeoImageBuf t{tr.data(), 8, 0, 0, 7, 9}, w{wr.data(), 8, 100, 200, 30, 30};
    double mx = 0, my = 0, r = 0;
    ASSERT_EQ(CGeoImage::Match(t, w, mx, my, r), 1);
    EXPECT_NEAR(r, 1.0, 1e-9);
    EXPECT_EQ(mx, 3 + 100 + 3);
    EXPECT_EQ(my, 5 + 200 + 4);

    // A constant template has no spread: no positive coefficient.
    std::vector<BYTE> flat(7 * 9, 200);
    for (int k = 0; k < 9; ++k) tr[k] = &flat[k * 7];
    ASSERT_EQ(CGeoImage::Match(t, w, mx, my, r), 1);
    EXPECT_EQ(r, 0.0);

    // A 60 x 60 template of bright pixels: sums far beyond 32 bits.
    std::vector<BYTE> big(80 * 80), bt(60 * 60);
    for (size_t i = 0; i < big.size(); ++i) big[i] = BYTE(200 + (i * 7919 % 55));
    for (int k = 0; k < 60; ++k)
        for (int i = 0; i < 60; ++i) bt[k * 60 + i] = big[(10 + k) * 80 + 4 + i];
    std::vector<BYTE*> br(80), btr(60);
    for (int k = 0; k < 80; ++k) br[k] = &big[k * 80];
    for (int k = 0; k < 60; ++k) btr[k] = &bt[k * 60];
    StGeoImageBuf T{btr.data(), 8, 0, 0, 60, 60}, W{br.data(), 8, 0, 0, 80, 80};
    ASSERT_EQ(CGeoImage::Match(T, W, mx, my, r), 1);
    EXPECT_NEAR(r, 1.0, 1e-9);
    EXPECT_EQ(mx, 4 + 30);
    EXPECT_EQ(my, 10 + 30);
    StGeoImageBuf colour{btr.data(), 24, 0, 0, 60, 60};
    EXPECT_EQ(CGeoImage::Match(colour, W, mx, my, r), 0);
}

// A stored reference buffer whose strip (rows x bytes per row) would not fit is refused before anything
// is allocated, and without the size arithmetic overflowing on the way.
TEST(ReferenceBuffer, RecordsWithImpossibleStripsAreRefused) {
    const struct {
        LONG width, begin, end, bits;
    } cases[] = {
        {0x7FFFFFFF, 0, 0, 24},                  // one row of 6 GB
        {1, -0x7FFFFFFF - 1, 0x7FFFFFFF, 8},     // 2^32 rows
        {0x7FFFFFFF, -0x7FFFFFFF - 1, 0x7FFFFFFF, 24},  // both: the product overflowed 64 bits
        {16, 0, 3, 12},                          // a depth the buffer does not know
    };
    for (const auto& c : cases) {
        CMemFile file;
        {
            CArchive ar(&file, CArchive::store);
            ar << LONG(100) << LONG(100) << 1.0 << c.width << c.begin << c.end << LONG(~0) << c.bits;
            ar.Close();
        }
        file.SeekToBegin();
        CArchive ar(&file, CArchive::load);
        CGeoMosaicReferenceBuffer buffer;
        EXPECT_THROW(buffer.Serialize(ar), CArchiveException) << c.width << " " << c.begin << " " << c.end;
    }
}

// A mosaic line record of a few hundred bytes whose reference buffer claims a wide strip: nothing the
// reader allocates may outweigh the bytes the archive still holds.
TEST(ReferenceBuffer, ClaimedStripsAreWeighedAgainstTheArchive) {
    if (!testsupport::AllocationWatch::Available()) GTEST_SKIP() << "no allocation hook in this build";
    const struct {
        LONG width, begin, end;
        bool loads;
    } cases[] = {
        {1 << 20, 0, 255, false},  // 256 rows of 1 MiB: 256 MiB the record does not hold
        {1 << 28, 1, 0, true},     // no rows, but a 256 MiB row width
    };
    for (const auto& c : cases) {
        auto line = Line({Mp(1, 1, 1000, 1000), Mp(1, 5, 1000, 5000)});
        CMemFile file;
        {
            CArchive ar(&file, CArchive::store);
            ar << static_cast<CObject*>(line.get());
            ar.Close();
        }
        std::vector<BYTE> bytes(static_cast<size_t>(file.GetLength()));
        file.SeekToBegin();
        file.Read(bytes.data(), static_cast<UINT>(bytes.size()));
        // The reference buffer ends the record, and a line never balanced stores only its eight header
        // fields: width, begin and end sit 20, 16 and 12 bytes from the end.
        const size_t at = bytes.size() - 20;
        std::memcpy(&bytes[at], &c.width, 4);
        std::memcpy(&bytes[at + 4], &c.begin, 4);
        std::memcpy(&bytes[at + 8], &c.end, 4);
        bool loaded = false;
        const size_t largest = testsupport::AllocationWatch::LargestDuring([&] {
            CMemFile in(bytes.data(), static_cast<UINT>(bytes.size()));
            CArchive ar(&in, CArchive::load);
            CObject* ob = nullptr;
            try {
                ar >> ob;
                loaded = true;
            } catch (CArchiveException&) {
            }
            delete ob;
        });
        EXPECT_EQ(loaded, c.loads) << c.width;
        EXPECT_LT(largest, 1u << 16) << c.width;
    }
}

// The strip covers only the rows of the seam that lie on the image: a seam running far off a small image
// costs a few records, and the rows off the image read as empty records, as they always held nothing.
TEST(ReferenceBuffer, StripOfASeamFarOffTheImageCoversTheImageOnly) {
    tagRasterParameter p{50000, 0, 400.0, 400.0, 1.0};
    CGeoImage image(10, 10, 8, 0, 10, p);
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 10; ++x) image.SetPixelValue(10 + 10 * x, x, y);
    // From the top row down to ten million rows below the image, at column 4.
    auto line = Line({Mp(4, 9, 0, 0), Mp(4, -1e7, 0, 0)});
    line->SetImagePosition(IMAGE_WEST);
    CGeoMosaicReferenceBuffer& buffer = *line->GetReferenceBuffer();
    int made = 0;
    const size_t largest = testsupport::AllocationWatch::LargestDuring([&] { made = buffer.Create(&image, line.get(), 100); });
    ASSERT_EQ(made, 1);
    if (testsupport::AllocationWatch::Available()) {
        EXPECT_LT(largest, 1u << 16);
    }
    EXPECT_EQ(buffer.GetBegin(), 0);
    EXPECT_EQ(buffer.GetEnd(), 9);
    // Along the seam: its top rows hold the image's pixels from column 4 east, rows off the image hold
    // nothing.
    const BYTE* top = buffer.GetBuffer(0, 0.0);
    ASSERT_NE(top, nullptr);
    EXPECT_EQ(top[0], 50);
    EXPECT_EQ(top[1], 60);
    for (double t : {0.5, 1.0}) {
        for (const BYTE* rec : {buffer.GetBuffer(0, t), buffer.GetBuffer(0, t, 0.0)}) {
            ASSERT_NE(rec, nullptr) << t;
            EXPECT_EQ(rec[0], 0) << t;
            EXPECT_EQ(rec[1], 0) << t;
        }
    }
    EXPECT_EQ(buffer.GetBuffer(0, 0.0, 0.0)[1], 60);

    // Wholly off the image: nothing to copy, yet the line's records still read as empty ones.
    auto away = Line({Mp(4, -100, 0, 0), Mp(4, -1e7, 0, 0)});
    away->SetImagePosition(IMAGE_WEST);
    CGeoMosaicReferenceBuffer& none = *away->GetReferenceBuffer();
    ASSERT_EQ(none.Create(&image, away.get(), 100), 1);
    EXPECT_EQ(none.GetBuffer(0.5), nullptr);
    const BYTE* rec = none.GetBuffer(0, 0.5);
    ASSERT_NE(rec, nullptr);
    EXPECT_EQ(rec[0], 0);
}
