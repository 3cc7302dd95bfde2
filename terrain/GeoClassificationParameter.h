// CGeoClassificationParameter: a named value range [low, high] cut into classes by ascending
// thresholds, with one colour (COLORREF, 0x00BBGGRR) per class. DEMs use it for their elevation
// classes; thresholds are real elevations.
//
// Record (Serialize, schema 1): name (archive string), low (double), high (double), thresholds (the
// array record: count, then raw 8-byte doubles), colours (count, then raw 4-byte DWORDs).
//
// Default names: "Param " followed by a process-wide counter that the default and copy constructors
// raise (the default constructor names the parameter with the value before raising it).
#pragma once

#include <afx/afx.h>

class CGeoClassificationParameter : public CObject {
    DECLARE_SERIAL(CGeoClassificationParameter)
public:
    // "Param <counter>", no thresholds, no colours, range [0.0, 1.0].
    CGeoClassificationParameter();
    // A copy (the source's name included); raises the counter.
    CGeoClassificationParameter(const CGeoClassificationParameter& other);
    ~CGeoClassificationParameter() override;
    // Copies name, thresholds, colours, low and high.
    virtual CGeoClassificationParameter& operator=(const CGeoClassificationParameter& other);

    void Serialize(CArchive& ar) override;

    CString GetName() const { return m_strName; }
    void SetName(CString name) { m_strName = name; }
    // out is emptied and receives a copy.
    void GetThresholdArray(CArray<double, double>& out) const;
    void GetColorArray(CArray<DWORD, DWORD>& out) const;
    // An empty array changes nothing and returns 0; otherwise the member is replaced and 1 returned.
    int SetThresholdArray(const CArray<double, double>& thresholds);
    int SetColorArray(const CArray<DWORD, DWORD>& colors);
    // 0 and no change when low >= high; else both set, 1.
    int SetArrange(double low, double high);
    double GetLow() const { return m_dLow; }
    double GetHigh() const { return m_dHigh; }
    int GetThresholdCount() const { return static_cast<int>(m_Thresholds.GetSize()); }
    int GetColorCount() const { return static_cast<int>(m_Colors.GetSize()); }

    // The class of v: -1 when v is below low, above high or NaN; 0 without thresholds; otherwise the
    // number of thresholds strictly below v (a value on a threshold falls into the lower class).
    int GetClssification(double v) const;
    // v mapped from [lo, hi] onto [low, high] first; -1 when lo >= hi or v is outside [lo, hi].
    int GetClssification(double v, double lo, double hi) const;
    // 0xC0C0C0 when v is outside [low, high] or NaN; otherwise the colour of its class. A class beyond
    // the last colour takes the last colour (0xC0C0C0 when there is none).
    COLORREF GetColor(double v) const;
    // 0xC0C0C0 when lo >= hi or v is outside [lo, hi]; otherwise GetColor of v mapped as above.
    COLORREF GetColor(double v, double lo, double hi) const;

private:
    void SetDefaultName();

    CString m_strName;
    CArray<double, double> m_Thresholds;
    CArray<DWORD, DWORD> m_Colors;
    double m_dLow = 0.0;
    double m_dHigh = 1.0;

    static int s_nCount;
};
