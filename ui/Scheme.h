// Schemes and scheme files (".sch").
//
// A scheme is a named set of layer schemas: an ordered list of CGeoTheme, exchanged as a scheme file.
// A scheme file is a class-library archive holding exactly one object list as CObList::Serialize
// writes it: the count (a WORD; 0xFFFF and a DWORD from 0xFFFF on), then each theme as a class-tagged
// object (the CGeoTheme class description on its first use, the class index afterwards) followed by
// the theme's record. Nothing precedes or follows the list; a zero-length file is a scheme without
// layers.
#pragma once

#include "core/GeoLayer.h"
#include "core/GeoTheme.h"

// The open dialogs' filter for scheme files.
extern const char* const SCHEME_FILE_FILTER;  // "Velmor方案文件(*.sch)|*.sch||"

class CScheme : public CObject {
public:
    CScheme();
    // Deletes every theme.
    ~CScheme() override;
    CScheme(const CScheme&) = delete;
    CScheme& operator=(const CScheme&) = delete;

    CString m_strPath;                                // the scheme file, "" at construction
    CTypedPtrList<CObList, CGeoTheme*> m_lstThemes;   // owned
    int m_bModified;                                  // kept by the scheme's users; 0 at construction
};

// Reads a scheme file and appends its themes, in file order, to the list; the caller owns them.
// Returns 1 when the file was read (a zero-length file adds nothing), 0 when it could not be opened
// (reported with the document's open failure box) or a file error stopped the reading (silently).
// A file whose data is not a theme list (short, a count beyond its data, bytes after the list, an
// object of another or unknown class, a null or repeated theme) raises CArchiveException. On 0 and on
// an exception the list is left exactly as it was: nothing of the file is appended half-way.
int ReadSchemeFile(CString strPath, CTypedPtrList<CObList, CGeoTheme*>& list);

// Writes the themes as a scheme file; 1 when written. An empty list returns 0 and touches no file.
// The file is written through a temporary file that replaces the previous one only when everything was
// written, so a failed save leaves the previous file as it was. A file that cannot be created, and any
// failure while writing, is reported with the document's save failure box and gives 0.
int SaveSchemeFile(CTypedPtrList<CObList, CGeoTheme*>& list, CString strPath);

// Writes the schemas of the vector layers of the list (a copy of each layer's theme named after the
// layer, in list order) as a scheme file; other layers are skipped. 0, touching no file, when the list
// holds no vector layer; otherwise as SaveSchemeFile.
int SaveSchemeFile(CString strPath, const CTypedPtrList<CObList, CGeoLayer*>& layers);

// Copies of the themes of the vector layers of the list, each named after its layer, appended to
// themes in list order (the caller owns them). Used by the file and report writers of layer lists.
void GetLayerThemes(const CTypedPtrList<CObList, CGeoLayer*>& layers, CTypedPtrList<CObList, CGeoTheme*>& themes);
