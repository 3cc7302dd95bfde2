// Field-rename records of feature classes and layer themes.
//
// The property sheets record in a CFlagInfo how each attribute field changed while the user edited a
// field list, so that the attribute database can be altered field by field. Feature classes and themes
// only keep, copy and search these records; they are never written to an archive.
#pragma once

#include <afx/afx.h>

class CFlagInfo : public CObject {
public:
    CFlagInfo() = default;

    CString m_strNewName;  // the field's name now; empty for a deleted field
    CString m_strOldName;  // the field's name in the database; empty for an added field
    // 0 none, 1 the field under the old name changed (name or description), 2 deleted, 3 added.
    int m_nState = 0;
};

// Deletes every record of the list (null elements are skipped) and empties it.
void ClearFlagInfoList(CObList* pList);

// Empties pDst, then appends a new record per record of pSrc with the same old name, new name and state.
// Nothing happens when both are the same list.
void CopyFlagInfoList(CObList* pDst, CObList* pSrc);

// The index of the first record of the list whose old (new) name equals the text ignoring the case of
// single-byte letters (two-byte characters compare as they are); -1 when none does.
int FindFlagInfoByOldname(const CObList& list, const CString& strName);
int FindFlagInfoByNewname(const CObList& list, const CString& strName);
