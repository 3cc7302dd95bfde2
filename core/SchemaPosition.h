// Positions in the ordered schema lists (fields of a class or theme, classes of a theme, themes of a
// templet): -1 inserts at the head, -2 appends at the tail, 0 to count - 1 inserts after that index.
// Any other position is refused. (The map's layer list uses other codes and does not use this.)
#pragma once

#include <afx/afx.h>

const int SCHEMA_POS_HEAD = -1;
const int SCHEMA_POS_TAIL = -2;

// TRUE when nPos is a position a list of nCount elements accepts.
inline BOOL IsValidSchemaPosition(int nPos, int nCount) {
    return nPos == SCHEMA_POS_HEAD || nPos == SCHEMA_POS_TAIL || (nPos >= 0 && nPos < nCount);
}

// Inserts the element at the position, which the caller has checked with IsValidSchemaPosition.
template <class LIST, class TYPE>
void InsertAtSchemaPosition(LIST& list, TYPE element, int nPos) {
    if (nPos == SCHEMA_POS_HEAD)
        list.AddHead(element);
    else if (nPos == SCHEMA_POS_TAIL)
        list.AddTail(element);
    else
        list.InsertAfter(list.FindIndex(nPos), element);
}
