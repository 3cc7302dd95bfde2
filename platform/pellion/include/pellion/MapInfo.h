// Pellion: a map sheet of a rectangular sheet series and its corner coordinates.
//
// This stand-in knows one series: 1:1000 sheets of 0.5 km x 0.5 km named by the plane coordinates of
// their south-west corner in kilometres, northing first: "3810.0-520.5" is the sheet whose south-west
// corner lies at northing 3810.0 km, easting 520.5 km. Surrounding blanks are ignored; anything else is
// not a sheet number.
#pragma once

#include <afx/afx.h>

class MapInfo {
public:
    // Describes the sheet with that number in the given coordinate system (only 0, the plane grid, is
    // known).
    MapInfo(const CString& sheetNumber, int coordinateSystem);

    // 1 when the number named a sheet of the known series in a known system.
    int IsValid() const { return m_bValid; }

    // Corner 0 north-west, 1 north-east, 2 south-east, 3 south-west: x the easting, y the northing, in
    // kilometres (coordinate type 2; the last argument, a zone, is ignored). Returns 1; 0 for an
    // unknown sheet, corner or coordinate type, leaving x and y untouched.
    int GetMapCornerCoordinate(int corner, double& x, double& y, int coordinateType = 2, int zone = -1) const;

private:
    int m_bValid = 0;
    double m_dSouth = 0.0;  // km
    double m_dWest = 0.0;   // km
};
