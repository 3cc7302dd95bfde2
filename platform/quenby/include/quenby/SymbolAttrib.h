// CSymbolAttrib: per-object overrides of a symbol's attribute items, with an item mask.
//
// A record holds items of a name, a DWORD ID and a value (tagVM_SYM_VARIANT). Every record has the nine
// fixed slots 0 to 8 first (ID = index); further items can be added with IDs of 9 and up. A value of
// type 0 means "not set". The mask says which items override the symbol when it is drawn; the bit of
// each fixed slot is
//     slot  0      1      2      3      4      5      6      7      8      (added items)
//     bit   0x001  0x002  0x080  0x010  0x004  0x008  0x020  0x100  0x400  0x200
// The symbols of this library honour two slots (GetSupportSymAttribMask says which, per symbol):
//     slot 1  "颜色"  type 2, a COLORREF: every colour of the symbol becomes this colour
//     slot 4  "线宽"  type 1, a width in 0.01 mm on paper: every stroke of a line or fill symbol takes it
// The other slots are kept, stored and copied like the two, but change nothing in the drawing.
//
// Record (Serialize), inside every vector-object record; little-endian, self-delimiting:
//     DWORD  length in bytes of everything after this field
//     WORD   format version, 1 (a later version only appends fields; a reader skips what it does not know)
//     WORD   mask
//     WORD   item count n
//     n items: DWORD ID, WORD type, DWORD value (LONG or COLORREF bits), archive string name
// Only the fixed slots whose type is not 0 are stored (their name is stored empty and not read back);
// added items are always stored with their names. A cleared record is the ten bytes
//     06 00 00 00  01 00  00 00  00 00.
// Loading replaces the whole record. A length the data cannot hold, a version of 0, items that run past
// the length, or an added item whose ID repeats one already read raise CArchiveException (the record is
// then left cleared); values themselves are not checked.
#pragma once

#include <afx/afx.h>

#include <vector>

// Value types of tagVM_SYM_VARIANT.
#define VM_SYM_NONE 0     // not set
#define VM_SYM_INTEGER 1  // lValue
#define VM_SYM_COLOR 2    // crValue

struct tagVM_SYM_VARIANT {
    WORD wType;
    union {
        LONG lValue;
        COLORREF crValue;
    };
};
typedef tagVM_SYM_VARIANT VM_SYM_VARIANT;

// Fixed slots.
#define VM_SYM_ITEM_COLOR 1
#define VM_SYM_ITEM_WIDTH 4
#define VM_SYM_FIXED_ITEMS 9

// Mask bits of the two slots the symbols honour.
#define VM_SYM_MASK_COLOR 0x0002
#define VM_SYM_MASK_WIDTH 0x0004

// Results of the item functions.
#define VM_SYM_OK 0
#define VM_SYM_BAD_INDEX 1   // no item at that index
#define VM_SYM_NO_ID 2       // no item with that ID
#define VM_SYM_ID_EXISTS 3   // AddAttribItem: an item with that ID is already there
#define VM_SYM_FULL 4        // AddAttribItem: the record holds 65535 items

class CSymbolAttrib : public CObject {
    DECLARE_SERIAL(CSymbolAttrib)
public:
    // A cleared record: the nine fixed slots unset, mask 0.
    CSymbolAttrib();
    CSymbolAttrib(const CSymbolAttrib& src);
    CSymbolAttrib& operator=(const CSymbolAttrib& src);
    ~CSymbolAttrib() override;

    // Back to the nine unset fixed slots and mask 0; added items are removed.
    void Clear();

    void Serialize(CArchive& ar) override;

    WORD GetAttribMask() const { return m_wMask; }
    // Returns the previous mask.
    WORD SetAttribMask(WORD wMask);

    // Fixed slots plus added items (9 or more).
    LONG GetItemCount() const;
    // VM_SYM_OK, or VM_SYM_BAD_INDEX leaving the outputs as they were.
    LONG GetAttribItem(LONG nIndex, CString& strName, tagVM_SYM_VARIANT& value) const;
    // VM_SYM_OK, or VM_SYM_NO_ID leaving the outputs as they were.
    LONG GetAttribItemByID(DWORD dwID, CString& strName, tagVM_SYM_VARIANT& value) const;
    // The ID of the item at the index, 0xFFFFFFFF for a bad index.
    DWORD GetAttribItemID(LONG nIndex) const;
    // VM_SYM_OK or VM_SYM_BAD_INDEX.
    LONG SetAttribItem(LONG nIndex, const tagVM_SYM_VARIANT& value);
    // VM_SYM_OK or VM_SYM_NO_ID.
    LONG SetAttribItemByID(DWORD dwID, const tagVM_SYM_VARIANT& value);
    // Appends an item: VM_SYM_OK, VM_SYM_ID_EXISTS (also for the IDs 0 to 8 of the fixed slots) or
    // VM_SYM_FULL.
    LONG AddAttribItem(const CString& strName, DWORD dwID, const tagVM_SYM_VARIANT& value);

    // The colour override when the mask has VM_SYM_MASK_COLOR and slot 1 holds a colour.
    BOOL GetColorOverride(COLORREF& cr) const;
    // The width override (0.01 mm) when the mask has VM_SYM_MASK_WIDTH and slot 4 holds an integer.
    BOOL GetWidthOverride(LONG& width) const;

private:
    struct Item {
        CString strName;
        DWORD dwID;
        tagVM_SYM_VARIANT value;
    };
    int FindID(DWORD dwID) const;
    // Makes the nine fixed slots real items before a change. Until then an empty list stands for them
    // unset, so the many objects that never set one hold no item block.
    void Materialize();

    WORD m_wMask;
    std::vector<Item> m_items;  // empty, or the fixed slots followed by the added items
};
