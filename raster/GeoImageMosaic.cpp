// The mosaic-line network of an image: ring check, union line, boundary, matching lines and nodes, and
// normalised cross-correlation between images.
#include "raster/GeoImage.h"
#include "raster/GeoMosaicPLine.h"

#include <ostrel/Units.h>

#include <cmath>
#include <cstdint>
#include <memory>
#include <vector>

int CGeoImage::IsMosaicLinesClosed(CTypedPtrList<CObList, CGeoMosaicPLine*>* chain)
{
    std::vector<CGeoMosaicPLine*> lines;
    for (POSITION pos = m_MosaicPLines.GetHeadPosition(); pos;) {
        CGeoMosaicPLine* line = m_MosaicPLines.GetNext(pos);
        if (line && line->GetPoints() > 1) lines.push_back(line);
    }
    if (lines.empty()) return 0;
    const CString start = lines[0]->GetHeadNodeName();
    CString end = lines[0]->GetTailNodeName();
    if (chain) {
        chain->RemoveAll();
        chain->AddTail(lines[0]);
    }
    size_t last = 0;
    for (size_t step = 1; step < lines.size(); ++step) {
        size_t joined = lines.size();
        for (size_t k = 1; k < lines.size(); ++k) {
            if (k == last) continue;
            if (lines[k]->GetHeadNodeName() == end) {
                end = lines[k]->GetTailNodeName();
                joined = k;
                break;
            }
            if (lines[k]->GetTailNodeName() == end) {
                end = lines[k]->GetHeadNodeName();
                joined = k;
                break;
            }
        }
        if (joined == lines.size()) return 0;
        last = joined;
        if (chain) chain->AddTail(lines[joined]);
    }
    return start == end ? 1 : 0;
}

CGeoMosaicPLine* CGeoImage::GetUnionMosaicLine()
{
    auto line = std::make_unique<CGeoMosaicPLine>();
    if (m_MosaicPLines.IsEmpty()) {
        line->SetUnit(m_nUnit);
        CRect b = GetBounds();
        b.NormalizeRect();
        const double ox = ::ChangeUnit(6, m_nUnit, m_dOriginX), oy = ::ChangeUnit(6, m_nUnit, m_dOriginY);
        const double w1 = GetWidth() - 1, h1 = GetHeight() - 1;
        line->AddPoint(0, 0, b.left + ox, b.top + oy);
        line->AddPoint(0, h1, b.left + ox, b.bottom + oy);
        line->AddPoint(w1, h1, b.right + ox, b.bottom + oy);
        line->AddPoint(w1, 0, b.right + ox, b.top + oy);
        line->SetClosedFlag(1);
        return line.release();
    }
    CTypedPtrList<CObList, CGeoMosaicPLine*> chain;
    if (!IsMosaicLinesClosed(&chain)) return nullptr;
    CGeoMosaicPLine* first = chain.GetHead();
    line->SetUnit(first->GetUnit());
    line->Append(first, 0, chain.GetCount() > 1 ? 1 : 0);
    CString end = first->GetTailNodeName();
    POSITION pos = chain.GetHeadPosition();
    chain.GetNext(pos);
    while (pos) {
        CGeoMosaicPLine* next = chain.GetNext(pos);
        if (next->GetHeadNodeName() == end) {
            line->Append(next, 0, 0);
            end = next->GetTailNodeName();
        } else if (next->GetTailNodeName() == end) {
            line->Append(next, 1, 0);
            end = next->GetHeadNodeName();
        }
    }
    line->SetClosedFlag(1);
    return line.release();
}

int CGeoImage::GetRasterBoundary(CPoint& origin, CGeoPolygonLine& boundary)
{
    std::unique_ptr<CGeoMosaicPLine> line(GetUnionMosaicLine());
    if (!line) return 0;
    const double ox = ::ChangeUnit(6, m_nUnit, m_dOriginX), oy = ::ChangeUnit(6, m_nUnit, m_dOriginY);
    std::vector<POINT> points;
    for (const stMosaicPoint& p : line->GetMosaicPointArray())
        points.push_back(POINT{static_cast<LONG>(std::trunc(p.E - ox)), static_cast<LONG>(std::trunc(p.N - oy))});
    CGeoPolygonLine polygon(static_cast<int>(points.size()), points.data(), FALSE);
    polygon.SetUnit(line->GetUnit());
    SetRasterBoundary(CPoint(0, 0), polygon);
    return CGeoRasterObject::GetRasterBoundary(origin, boundary);
}

CGeoMosaicPLine* CGeoImage::GetMatchedMosaicLine(CGeoMosaicPLine* line)
{
    for (POSITION pos = m_DrawnMosaicPLines.GetHeadPosition(); pos;) {
        CGeoMosaicPLine* drawn = m_DrawnMosaicPLines.GetNext(pos);
        if (drawn && drawn->Equal(line)) return drawn;
    }
    return nullptr;
}

int CGeoImage::GetTheFirstMatchedMosaicLine(CGeoImage* other, CGeoMosaicPLine*& mine, CGeoMosaicPLine*& theirs)
{
    mine = theirs = nullptr;
    if (!other) return 0;
    for (POSITION p = m_MosaicPLines.GetHeadPosition(); p;) {
        auto* a = static_cast<CGeoMosaicPLine*>(m_MosaicPLines.GetNext(p));
        if (a->GetPoints() < 2) continue;
        for (POSITION q = other->m_MosaicPLines.GetHeadPosition(); q;) {
            auto* b = static_cast<CGeoMosaicPLine*>(other->m_MosaicPLines.GetNext(q));
            if (!a->Equal(b)) continue;
            const int last = a->GetMosaicPoints() - 1;
            const double he = (a->GetMapE(0) + b->GetMapE(0)) / 2, hn = (a->GetMapN(0) + b->GetMapN(0)) / 2;
            const double te = (a->GetMapE(last) + b->GetMapE(last)) / 2, tn = (a->GetMapN(last) + b->GetMapN(last)) / 2;
            a->SetHeadNodeCoordinate(he, hn);
            b->SetHeadNodeCoordinate(he, hn);
            a->SetTailNodeCoordinate(te, tn);
            b->SetTailNodeCoordinate(te, tn);
            mine = a;
            theirs = b;
            return 1;
        }
    }
    return 0;
}

namespace {
void FillNode(CGeoMosaicPLine* line, int k, CPoint& vertex, double& px, double& py, double& e, double& n, CString& name)
{
    const stMosaicPoint& p = line->GetMosaicPointArray()[k];
    vertex = line->GetPoint(k);
    px = p.x;
    py = p.y;
    e = p.E;
    n = p.N;
    if (k == 0)
        name = line->GetHeadNodeName();
    else if (k == line->GetMosaicPoints() - 1)
        name = line->GetTailNodeName();
    else
        name.Empty();
}
}  // namespace

int CGeoImage::GetNearestMosaicNode(double x, double y, CPoint& vertex, double& px, double& py, double& e, double& n,
                                    CString& name, int byPixel)
{
    if (m_MosaicPLines.IsEmpty()) return 0;
    double best = 1e99;
    CGeoMosaicPLine* winner = nullptr;
    int index = -1;
    for (POSITION pos = m_MosaicPLines.GetHeadPosition(); pos;) {
        auto* line = static_cast<CGeoMosaicPLine*>(m_MosaicPLines.GetNext(pos));
        for (int k = 0; k < line->GetMosaicPoints(); ++k) {
            const stMosaicPoint& p = line->GetMosaicPointArray()[k];
            const double dx = (byPixel ? p.x : p.E) - x, dy = (byPixel ? p.y : p.N) - y;
            if (dx * dx + dy * dy < best) {
                best = dx * dx + dy * dy;
                winner = line;
                index = k;
            }
        }
    }
    if (winner) FillNode(winner, index, vertex, px, py, e, n, name);
    return 1;
}

int CGeoImage::GetNearestMosaicNode(CPoint pt, UINT unit, CPoint& vertex, double& px, double& py, double& e, double& n,
                                    CString& name)
{
    if (m_MosaicPLines.IsEmpty()) return 0;
    POINT q = pt;
    ::ChangeUnit(static_cast<int>(unit), 3, q);
    CRect b = GetBounds();
    ::ChangeUnit(m_nUnit, 3, static_cast<RECT&>(b));
    const double qx = double(q.x) - b.left, qy = double(q.y) - b.top;
    double best = 1e99;
    CGeoMosaicPLine* winner = nullptr;
    int index = -1;
    for (POSITION pos = m_MosaicPLines.GetHeadPosition(); pos;) {
        auto* line = static_cast<CGeoMosaicPLine*>(m_MosaicPLines.GetNext(pos));
        for (int k = 0; k < line->GetPoints() && k < line->GetMosaicPoints(); ++k) {
            POINT v = line->GetPoint(k);
            ::ChangeUnit(line->GetUnit(), 3, v);
            const double dx = v.x - qx, dy = v.y - qy;
            if (dx * dx + dy * dy < best) {
                best = dx * dx + dy * dy;
                winner = line;
                index = k;
            }
        }
    }
    if (winner) FillNode(winner, index, vertex, px, py, e, n, name);
    return 1;
}

int CGeoImage::Match(StGeoImageBuf& t, StGeoImageBuf& w, double& mx, double& my, double& r)
{
    if (t.nBitCount != w.nBitCount || (t.nBitCount != 8 && t.nBitCount != 24)) return 0;
    if (t.nWidth <= 0 || t.nRows <= 0 || w.nWidth < t.nWidth || w.nRows < t.nRows) return 0;
    if (t.nBitCount == 24) {
        for (StGeoImageBuf* b : {&t, &w})
            for (int k = 0; k < b->nRows; ++k) {
                BYTE* row = b->pRows[k];
                for (int i = 0; i < b->nWidth; ++i)
                    row[i] = static_cast<BYTE>((row[3 * i] + row[3 * i + 1] + row[3 * i + 2]) / 3.0 + 0.5);
            }
    }
    // 64-bit sums: 32-bit ones overflow for templates of a few hundred bright pixels.
    const double n = double(t.nWidth) * t.nRows;
    uint64_t St = 0, Stt = 0;
    for (int k = 0; k < t.nRows; ++k)
        for (int i = 0; i < t.nWidth; ++i) {
            const uint64_t v = t.pRows[k][i];
            St += v;
            Stt += v * v;
        }
    const double tVar = double(Stt) - double(St) * double(St) / n;
    double best = 0.0;
    int bi = 0, bj = 0;
    for (int i = 0; i + t.nWidth <= w.nWidth; ++i) {
        uint64_t Sw = 0, Sww = 0;
        for (int k = 0; k < t.nRows; ++k)
            for (int c = 0; c < t.nWidth; ++c) {
                const uint64_t v = w.pRows[k][i + c];
                Sw += v;
                Sww += v * v;
            }
        for (int j = 0; j + t.nRows <= w.nRows; ++j) {
            if (j > 0) {
                for (int c = 0; c < t.nWidth; ++c) {
                    const uint64_t out = w.pRows[j - 1][i + c], in = w.pRows[j + t.nRows - 1][i + c];
                    Sw += in - out;
                    Sww += in * in - out * out;
                }
            }
            int64_t Stw = 0;
            for (int k = 0; k < t.nRows; ++k)
                for (int c = 0; c < t.nWidth; ++c) Stw += int64_t(t.pRows[k][c]) * w.pRows[j + k][i + c];
            const double P = tVar * (double(Sww) - double(Sw) * double(Sw) / n);
            if (P > 0) {
                const double coef = (double(Stw) - double(St) * double(Sw) / n) / std::sqrt(P);
                if (coef > best) {
                    best = coef;
                    bi = i;
                    bj = j;
                }
            }
        }
    }
    mx = bi + w.nXOffset + t.nWidth / 2;
    my = bj + w.nYOffset + t.nRows / 2;
    r = best;
    return 1;
}

int CGeoImage::Match(CGeoImage* other, double x, double y, int tw, int th, int cx, int cy, int sw, int sh, double& mx,
                     double& my, double& r)
{
    if (!other || other->GetBitCount() != GetBitCount() || (GetBitCount() != 8 && GetBitCount() != 24)) return 0;
    if (sw < tw || sh < th || tw <= 0 || th <= 0) return 0;
    const int left = cx - sw / 2, top = cy - sh / 2;
    if (left < 0 || left >= m_DIB.GetWidth() - sw || top < 0 || top >= m_DIB.GetHeight() - sh) return 0;
    int tx = static_cast<int>(x - tw / 2 + 0.5), ty = static_cast<int>(y - th / 2 + 0.5);
    tx = std::max(0, std::min(tx, other->m_DIB.GetWidth() - 1));
    ty = std::max(0, std::min(ty, other->m_DIB.GetHeight() - 1));
    tagRasterParameter p = m_RasterParameter;
    CGeoImage tmpl(tw, th, GetBitCount(), 0, 0, p), window(sw, sh, GetBitCount(), 0, 0, p);
    // Pixel positions, not the map: the temporary images have no useful placement.
    if (!tmpl.GetBlock(&other->m_DIB, 0, 0, tx, ty, tw, th)) return 0;
    if (!window.GetBlock(&m_DIB, 0, 0, left, top, sw, sh)) return 0;
    auto rows = [](CGeoImage& image) {
        std::vector<BYTE*> v(image.m_DIB.GetHeight());
        for (size_t k = 0; k < v.size(); ++k) v[k] = image.m_DIB.GetDIBBits() + k * image.m_DIB.GetBytesPerLine();
        return v;
    };
    std::vector<BYTE*> tr = rows(tmpl), wr = rows(window);
    StGeoImageBuf tb{tr.data(), GetBitCount(), 0, 0, tw, th};
    StGeoImageBuf wb{wr.data(), GetBitCount(), left, top, sw, sh};
    return Match(tb, wb, mx, my, r);
}
