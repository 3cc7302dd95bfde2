// tagPropertyParam: the context a host hands to the property sheet of a vector object (the param of
// CGeoVectorObject::EditProperties and NewEditProperties, and of OnAddPropertyPage). The library only
// reads it; the host owns it and keeps it alive while the sheet is open.
#pragma once

class CSymbolLibIO;

struct tagPropertyParam {
    // The symbol library the style pages browse (not owned); NULL: the pages offer no symbol browser.
    CSymbolLibIO* m_pSymbolLib = nullptr;
    // The host's own context; the library never reads it.
    void* m_pHostData = nullptr;
    // The map scale denominator (10000 for 1:10000). The annotation text page shows sizes in tenths of
    // a millimetre on the map at this scale; a value below 1 counts as 1.
    int m_nScale = 1;
};
