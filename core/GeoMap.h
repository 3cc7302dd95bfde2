// CGeoMap: the container a host's document keeps, an ordered list of layers and the map's file name.
//
// The map owns its layers: DelLayer, ClearMap and the destructor delete them. A map record does not hold
// the layers' contents: storing writes each layer to its own layer file first and records the file's
// path; loading opens each path and creates the layer by the class name at the head of its file.
//
// Layer file (".LYR"): an archive holding the layer's run-time class name as a string, then the layer's
// own Serialize. Map record: the CGeoObject part, a DWORD layer count, then one path string per layer,
// head first. A layer whose save failed keeps its file's path (that file still holds the layer's last
// save), and the user is told ("图层未保存: <layer> (<file>)", with the cause when there is one); a layer
// that has no file yet and was not saved (cancelled, or failed after its own message) is recorded as the
// marker path "\\\" (three backslashes), which loading skips. Loading goes on past every layer file
// that cannot be read: one that cannot be opened is named by LoadLayer, an empty, foreign, truncated or
// damaged one in "图层文件无法读取: <file>" (with the cause when there is one).
//
// Layer positions here are the opposite of the schema lists': -2 the head, -1 the tail, an index i after
// the layer at i. Layers are numbered from 0 at the head.
#pragma once

#include "core/GeoObject.h"

class CGeoLayer;

class CGeoMap : public CGeoObject {
    DECLARE_SERIAL(CGeoMap)
public:
    CGeoMap();
    explicit CGeoMap(const CRect& bounds);
    // Deletes every layer, tail first.
    ~CGeoMap() override;

    // Deletes every layer, tail first; the map stays.
    void ClearMap();
    int GetLayerCount() const { return m_layers.GetCount(); }

    // 1 when linked in (the map owns the layer from then on); 0 when the layer is NULL or already in the
    // map, or the position is not -2, -1 or 0..count-1.
    int AddLayer(CGeoLayer* pLayer, int nPosition);
    // 1 when the layer was in the map and has been unlinked and deleted; 0 otherwise.
    int DelLayer(CGeoLayer* pLayer);

    // The layer's index, or -1.
    int FindLayer(const CGeoLayer* pLayer) const;
    // The layer at the index, or NULL outside 0..count-1.
    CGeoLayer* FindLayer(int nIndex) const;
    // The first layer from the head whose object name equals the name exactly (case-sensitive), or NULL.
    CGeoLayer* FindLayer(const CString& name) const;

    // how: 0 one place towards the tail, 1 one place towards the head, 2 to the tail, 3 to the head.
    // 0 when the layer is not in the map, cannot move that way, or how is another value (nothing
    // changes); 1 when moved.
    int MoveLayer(CGeoLayer* pLayer, int how);

    // Writes the layer to its layer file. An empty path takes the layer's file name, and when that is
    // empty too the user chooses one ("保存图层"; cancel returns 0). ".LYR" is appended unless the path is
    // longer than 4 characters and ends in ".LYR" in any case. A file that cannot be opened is reported
    // (0xF100) and gives 0. The file is written through a temporary file, so a failed save leaves the old
    // one as it was; archive and file exceptions raised while writing reach the caller. On success the
    // layer's file name becomes the path and the result is 1.
    int SaveLayer(CGeoLayer* pLayer, CString path);

    // Reads a layer file: a new layer owned by the caller, with its file name set to the path. A file that
    // cannot be opened is reported (0xF101) and gives NULL; an empty file or a class name other than
    // "CGeoVectorLayer", "CGeoImageLayer" or "CGeoDEMLayer" (or one of those not built into this
    // process) gives NULL with no message. Archive exceptions raised while reading (a truncated file) reach
    // the caller, after the half-read layer has been deleted and the file released.
    CGeoLayer* LoadLayer(CString path);

    void SetFileName(const CString& name) { m_strFileName = name; }
    CString GetFileName() const { return m_strFileName; }

    void DefaultObjectName() override;
    void Serialize(CArchive& ar) override;

    // The path recorded for a layer that was not saved.
    static const char* const kInvalidFileName;

private:
    CTypedPtrList<CObList, CGeoLayer*> m_layers;
    CString m_strFileName;

    // The map counter: 0 before the first map, so the first is named "图 1".
    static int s_nMapCount;
};
