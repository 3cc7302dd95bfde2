// CGeoProcPoly: dissolves topological polygons along the arcs they share.
//
// The dissolver works on key strings (signed arc IDs with the ring end POLYGON_RING_END, see
// GeoPolygon.h): polygons that touch through common arcs are merged into one area, the common arcs
// disappear, and the merged outlines come back as point arrays taken from the layer's arcs.
//
// Two key values share an arc when their absolute values are equal and are not the ring end; the
// signs tell the directions in which the two polygons walk it. An arc with ID 500000 can therefore
// never be shared (the ring end is also a legal object ID; layers past 500 000 IDs hit this limit).
//
// Candidate positions index the key strings given to the constructor, from 0. The key strings are
// the caller's; the dissolver only keeps pointers to them and never changes them.
//
// Order. Groups (connected sets of touching polygons) come out in the order of a depth-first walk
// over the touching pairs (pairs listed by ascending first, then second, selected position); each
// group is merged starting from its first position, adding the others in group order as soon as
// they touch the area merged so far. Shared arcs are found through an index by arc, and the area
// being merged is kept as a balanced tree of its arcs, so a merge costs the added polygon's size
// times a logarithm: one group of n key values takes about n log n, not n^2. A position selected
// more than once counts once.
#pragma once

#include "vector/GeoPolygon.h"

#include <vector>

class CGeoVectorLayer;

// Two candidate positions, first < second, whose polygons share an arc.
struct tagEXPOLY {
    int first = 0;
    int second = 0;
};

typedef CArray<CGeoKeyString*, CGeoKeyString*> CGeoKeyStringArray;

class CGeoProcPoly {
public:
    // No layer, no key strings.
    CGeoProcPoly();
    // SetLayer (layer) and a copy of the pointer array (the key strings stay the caller's).
    CGeoProcPoly(CGeoVectorLayer* pLayer, CGeoKeyStringArray& keyStrings);
    // Empties the pointer array; frees no key string.
    virtual ~CGeoProcPoly();

    CGeoProcPoly(const CGeoProcPoly&) = delete;
    CGeoProcPoly& operator=(const CGeoProcPoly&) = delete;

    // The layer whose arcs the keys name (not owned; NULL allowed: no outline gets points).
    void SetLayer(CGeoVectorLayer* pLayer);

    // Merges the selected polygons (candidate positions; positions outside the key strings are
    // ignored) that touch another selected one.
    // Returns 1 with:
    //   ringCount   the number of rings: every merged area gives one ring per loop of its boundary
    //               (an area around an unselected polygon gives its outer loop and the inner one),
    //               the areas in group order, the loops of one area in the order of their first arc;
    //   *ringSizes  new int[ringCount], the number of points of each ring;
    //   *points     new POINT[] with the rings one after the other, or NULL when no point was found.
    // Both blocks belong to the caller (delete[]). A ring holds, for each arc of its loop, all the
    // arc's points (reversed for a negative key), in the layer's units; junction points between
    // consecutive arcs appear twice. Loops are told apart by their arcs' end points. An arc the
    // layer cannot find (or that is not a polyline) contributes no points and breaks its loop into
    // separate rings; an area none of whose arcs is found gives no ring (ringCount may be 0).
    // Returns 0, leaving the three outputs untouched, when no selected polygon shares an arc with
    // another selected one (an empty selection, a single polygon, polygons that touch nothing).
    int ReunitePoly(CArray<LONG, LONG>& selection, POINT** points, int** ringSizes, int& ringCount);

    // Merges key string b into key string a along the first arc of a (in a's order) that b also
    // has, dropping every arc the merged outline walks both ways. out receives the merged key
    // string, its loops separated by POLYGON_RING_END and no ring end after the last loop (out is
    // appended to, not emptied). Returns 1, or 0 (out unchanged) when they share no arc.
    int BuildNewPoly(CArray<LONG, LONG>& a, CArray<LONG, LONG>& b, CArray<LONG, LONG>& out);

    // 1 when some arc of the polygon at that position (ring ends skipped) is shared with a polygon
    // at another position of the selection; 0 otherwise, or for a position without a key string.
    int IsJoinGeneralize(CArray<LONG, LONG>& selection, LONG position);

private:
    // value's arc is shared with any key of the polygons at those positions.
    int IsPublicArc(LONG value, CArray<LONG, LONG>& positions);
    // First index of keys whose key shares value's arc; opposite = 0 when the two values are
    // equal, 1 when their signs differ. 0 when none.
    int IsPublicArc(LONG value, CArray<LONG, LONG>& keys, int& index, int& opposite);
    // The two key strings share an arc.
    int IsAdjacent(CArray<LONG, LONG>& a, CArray<LONG, LONG>& b);
    // The two pairs have a position in common.
    static int HaveRelation(const tagEXPOLY& a, const tagEXPOLY& b);
    // Depth-first collection of the pairs related to pair p (explicit stack, same visit order as
    // the recursion: each related unvisited pair in list order is listed, then walked from).
    static void FindRelation(const std::vector<tagEXPOLY>& pairs, const std::vector<std::vector<int>>& pairsAt,
                             int p, std::vector<char>& visited, std::vector<int>& found);
    // Pair list to position list: the last pair's first and second, then every other pair's
    // second and first, in list order.
    static void GetOrgArray(const std::vector<tagEXPOLY>& pairs, const std::vector<int>& found,
                            std::vector<int>& positions);
    // Removes repeated values, keeping the first occurrence and the order.
    static void FindCount(std::vector<int>& values);
    // Index of the value, -1 when absent.
    static int HasSameNumber(CArray<LONG, LONG>& values, LONG value);

    const CGeoKeyString* KeysAt(LONG position) const;

    CGeoVectorLayer* m_pLayer = nullptr;
    CGeoKeyStringArray m_KeyStrings;
};
