// Pairing a layer file with its attribute database across saves.
//
// A layer file and its database are two files, published one after the other, so a save cut off
// between the two (a crash, a kill) could leave a new database beside the old layer file. Each save of
// a layer with a database therefore writes a fresh generation mark into the database (with its data)
// and, once the new layer file is in its place, the same mark onto that file as an extended attribute
// ("user.corvane.generation"), which moves with the file when it is renamed. A load that finds both
// marks and finds them different knows the two come from different saves and says so.
//
// Where a file system keeps no extended attributes, or a copy dropped them, the file has no mark and
// nothing is checked: a missing mark never raises an alarm.
#pragma once

#include <afx/afx.h>

class CLayerFileMark {
public:
    // A new mark: 16 hexadecimal digits, different for every call.
    static CString NewMark();
    // Writes the mark onto the file at the path (GBK). FALSE when the file is missing or its file
    // system keeps no marks.
    static BOOL Write(const CString& path, const CString& mark);
    // The file's mark, "" when it has none (or the file is missing).
    static CString Read(const CString& path);
    // Takes the file's mark away, if it has one.
    static void Remove(const CString& path);

    // A save through the map's SaveLayer writes the layer file under a temporary name and renames it into
    // place afterwards, so the layer's record cannot mark the file itself: it hands its mark over here
    // (Hand) and SaveLayer writes it once the file is in place (Take). Outside such a save Publishing is
    // false and the record, which then writes the file in place, takes any old mark away instead.
    class Publishing {
    public:
        Publishing();
        ~Publishing();
        Publishing(const Publishing&) = delete;
        Publishing& operator=(const Publishing&) = delete;
        // The mark handed over during this save, "" when none.
        CString Take();
    };
    static bool IsPublishing();
    static void Hand(const CString& mark);
};
