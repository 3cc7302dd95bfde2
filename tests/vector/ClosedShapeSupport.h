// Helpers shared by the closed-shape tests: a recording device context with a style to paint with, an
// outputer that keeps what a symbol decomposes into, and a transformer with second offsets.
#pragma once

#include "LineTestSupport.h"

#include "core/GeoView.h"
#include "core/VMSymbolLibIO.h"
#include "platform/quenby/SampleSymbolLib.h"
#include "vector/GeoCloseLine.h"

#include <ostrel/PointBuffer.h>
#include <pellion/GeoCoordinateTransformer.h>
#include <quenby/SymbolOutputer.h>
#include <win32/gdirecord.h>

#include <gtest/gtest.h>

#include <vector>

namespace closedtest {

// Paints shapes on a recording DC with object (x, y) at device (x, 300 - y) (scale 10, origin
// (0, -300)); the style has distinct line and fill colours.
class ClosedDraw : public ::testing::Test {
protected:
    void SetUp() override {
        m_dc.Attach(win32::CreateRecordingDC(400, 400));
        m_view.m_crLineColor = 0x0000FF;
        m_view.m_crFillColor = 0x00FF00;
        m_view.m_nLineShape = PS_ENDCAP_FLAT | PS_JOIN_MITER;
        m_view.m_fLineWidth = 3.0f;
        m_view.m_nFillShape = 0;
        m_view.m_bTransparent = 0;
        quenbytest::AddSampleSymbols(m_lib);
    }
    void TearDown() override { EXPECT_EQ(GetFXPointBufferDepth(), 0); }
    std::vector<win32::GdiRecord> Plain(CGeoVectorObject& obj, int xorMode = 0, int scaleWidths = 1) {
        win32::ClearRecording(m_dc.m_hDC);
        obj.OnDrawWithoutSymbolization(&m_dc, 10, 10, CPoint(0, -300), CPoint(0, 0), m_view, nullptr, xorMode, 0,
                                       scaleWidths);
        return win32::GetRecording(m_dc.m_hDC);
    }
    std::vector<win32::GdiRecord> Symbolised(CGeoVectorObject& obj, void* pLib, int xorMode = 0) {
        win32::ClearRecording(m_dc.m_hDC);
        obj.OnDrawWithSymbolization(&m_dc, 10, 10, CPoint(0, -300), CPoint(0, 0), m_view, nullptr, xorMode, 0, pLib,
                                    0);
        return win32::GetRecording(m_dc.m_hDC);
    }
    // After every painting the DC is back in its default state.
    void ExpectDCRestored() {
        EXPECT_EQ(m_dc.GetROP2(), R2_COPYPEN);
        EXPECT_EQ(m_dc.GetBkMode(), OPAQUE);
    }

    CDC m_dc;
    GEOVIEW m_view;
    CVMSymbolLibIO m_lib;
};

// Keeps the outlines a symbol decomposes into, in millimetres.
class CKeepOutlines : public CSymbolOutputer {
public:
    LONG OutputPolyLine(const POINT* p, LONG n, DWORD, DWORD, DWORD, BYTE, const RECT*, void*) override {
        shapes.emplace_back(p, p + n);
        return 0;
    }
    LONG OutputPolygon(const POINT* p, LONG n, DWORD, DWORD, DWORD, DWORD, BYTE, BYTE, const RECT*, void*) override {
        shapes.emplace_back(p, p + n);
        return 0;
    }
    std::vector<linetest::Pts> shapes;
};

// (x, y) -> (-x + 1, y + 2) metres, then less the second offsets (0.5, 1).
class CClosedShapeFlip : public CBaseCoordinateTransformer {
public:
    CClosedShapeFlip() {
        SetSecondOffsetX(0.5);
        SetSecondOffsetY(1.0);
    }
    int Transform(double x, double y, double& xOut, double& yOut) const override {
        xOut = -x + 1;
        yOut = y + 2;
        return 1;
    }
};

}  // namespace closedtest
