#include "quenby/SymbolAttrib.h"

IMPLEMENT_SERIAL(CSymbolAttrib, CObject, 1)

namespace {

const WORD kRecordVersion = 1;
const char* const kFixedNames[VM_SYM_FIXED_ITEMS] = {"项0", "颜色", "项2", "项3", "线宽", "项5", "项6", "项7", "项8"};
const DWORD kMaxItems = 0xFFFF;

}  // namespace

CSymbolAttrib::CSymbolAttrib() : m_wMask(0) { Clear(); }

CSymbolAttrib::CSymbolAttrib(const CSymbolAttrib& src) : CObject(), m_wMask(src.m_wMask), m_items(src.m_items) {}

CSymbolAttrib& CSymbolAttrib::operator=(const CSymbolAttrib& src) {
    m_wMask = src.m_wMask;
    m_items = src.m_items;
    return *this;
}

CSymbolAttrib::~CSymbolAttrib() = default;

void CSymbolAttrib::Clear() {
    m_wMask = 0;
    m_items.clear();
}

void CSymbolAttrib::Materialize() {
    if (!m_items.empty()) return;
    m_items.reserve(VM_SYM_FIXED_ITEMS);
    for (DWORD i = 0; i < VM_SYM_FIXED_ITEMS; ++i) {
        Item item;
        item.strName = kFixedNames[i];
        item.dwID = i;
        item.value.wType = VM_SYM_NONE;
        item.value.lValue = 0;
        m_items.push_back(item);
    }
}

WORD CSymbolAttrib::SetAttribMask(WORD wMask) {
    WORD previous = m_wMask;
    m_wMask = wMask;
    return previous;
}

LONG CSymbolAttrib::GetItemCount() const {
    return m_items.empty() ? VM_SYM_FIXED_ITEMS : static_cast<LONG>(m_items.size());
}

int CSymbolAttrib::FindID(DWORD dwID) const {
    if (m_items.empty()) return dwID < VM_SYM_FIXED_ITEMS ? static_cast<int>(dwID) : -1;
    for (size_t i = 0; i < m_items.size(); ++i)
        if (m_items[i].dwID == dwID) return static_cast<int>(i);
    return -1;
}

LONG CSymbolAttrib::GetAttribItem(LONG nIndex, CString& strName, tagVM_SYM_VARIANT& value) const {
    if (nIndex < 0 || nIndex >= GetItemCount()) return VM_SYM_BAD_INDEX;
    if (m_items.empty()) {
        strName = kFixedNames[nIndex];
        value.wType = VM_SYM_NONE;
        value.lValue = 0;
        return VM_SYM_OK;
    }
    strName = m_items[nIndex].strName;
    value = m_items[nIndex].value;
    return VM_SYM_OK;
}

LONG CSymbolAttrib::GetAttribItemByID(DWORD dwID, CString& strName, tagVM_SYM_VARIANT& value) const {
    int i = FindID(dwID);
    if (i < 0) return VM_SYM_NO_ID;
    return GetAttribItem(i, strName, value);
}

DWORD CSymbolAttrib::GetAttribItemID(LONG nIndex) const {
    if (nIndex < 0 || nIndex >= GetItemCount()) return 0xFFFFFFFFu;
    return m_items.empty() ? static_cast<DWORD>(nIndex) : m_items[nIndex].dwID;
}

LONG CSymbolAttrib::SetAttribItem(LONG nIndex, const tagVM_SYM_VARIANT& value) {
    if (nIndex < 0 || nIndex >= GetItemCount()) return VM_SYM_BAD_INDEX;
    Materialize();
    m_items[nIndex].value = value;
    return VM_SYM_OK;
}

LONG CSymbolAttrib::SetAttribItemByID(DWORD dwID, const tagVM_SYM_VARIANT& value) {
    int i = FindID(dwID);
    if (i < 0) return VM_SYM_NO_ID;
    return SetAttribItem(i, value);
}

LONG CSymbolAttrib::AddAttribItem(const CString& strName, DWORD dwID, const tagVM_SYM_VARIANT& value) {
    if (FindID(dwID) >= 0) return VM_SYM_ID_EXISTS;
    if (m_items.size() >= kMaxItems) return VM_SYM_FULL;
    Materialize();
    Item item;
    item.strName = strName;
    item.dwID = dwID;
    item.value = value;
    m_items.push_back(item);
    return VM_SYM_OK;
}

BOOL CSymbolAttrib::GetColorOverride(COLORREF& cr) const {
    if (m_items.empty()) return FALSE;
    const tagVM_SYM_VARIANT& v = m_items[VM_SYM_ITEM_COLOR].value;
    if (!(m_wMask & VM_SYM_MASK_COLOR) || v.wType != VM_SYM_COLOR) return FALSE;
    cr = v.crValue;
    return TRUE;
}

BOOL CSymbolAttrib::GetWidthOverride(LONG& width) const {
    if (m_items.empty()) return FALSE;
    const tagVM_SYM_VARIANT& v = m_items[VM_SYM_ITEM_WIDTH].value;
    if (!(m_wMask & VM_SYM_MASK_WIDTH) || v.wType != VM_SYM_INTEGER) return FALSE;
    width = v.lValue;
    return TRUE;
}

namespace {

// Little-endian reads from a record body already in memory.
WORD BodyWord(const BYTE* p) { return static_cast<WORD>(p[0] | p[1] << 8); }
DWORD BodyDword(const BYTE* p) {
    return static_cast<DWORD>(p[0]) | static_cast<DWORD>(p[1]) << 8 | static_cast<DWORD>(p[2]) << 16 |
           static_cast<DWORD>(p[3]) << 24;
}

}  // namespace

void CSymbolAttrib::Serialize(CArchive& ar) {
    const size_t kItemBytes = 11;  // DWORD id, WORD type, DWORD value, an empty name's length byte
    if (ar.IsStoring()) {
        if (m_items.size() <= VM_SYM_FIXED_ITEMS) {
            // Only fixed slots, whose names are never stored: the body is written as it goes, with the
            // same bytes a separate body archive would give, and nothing allocated per object.
            WORD stored = 0;
            for (const Item& item : m_items)
                if (item.value.wType != VM_SYM_NONE) ++stored;
            ar << static_cast<DWORD>(6 + stored * kItemBytes) << kRecordVersion << m_wMask << stored;
            for (const Item& item : m_items) {
                if (item.value.wType == VM_SYM_NONE) continue;
                ar << item.dwID << item.value.wType << static_cast<DWORD>(item.value.lValue) << static_cast<BYTE>(0);
            }
            return;
        }
        CMemFile body;
        {
            CArchive out(&body, CArchive::store);
            WORD stored = 0;
            for (size_t i = 0; i < m_items.size(); ++i)
                if (i >= VM_SYM_FIXED_ITEMS || m_items[i].value.wType != VM_SYM_NONE) ++stored;
            out << kRecordVersion << m_wMask << stored;
            for (size_t i = 0; i < m_items.size(); ++i) {
                const Item& item = m_items[i];
                const bool fixed = i < VM_SYM_FIXED_ITEMS;
                if (fixed && item.value.wType == VM_SYM_NONE) continue;
                out << item.dwID << item.value.wType << static_cast<DWORD>(item.value.lValue);
                out << (fixed ? CString() : item.strName);
            }
            out.Close();
        }
        const std::vector<BYTE>& bytes = body.Data();
        ar << static_cast<DWORD>(bytes.size());
        if (!bytes.empty()) ar.Write(bytes.data(), static_cast<UINT>(bytes.size()));
        return;
    }

    Clear();
    DWORD length;
    ar >> length;
    ar.EnsureAvailable(length);
    // A body of fixed slots only fits the small buffer; anything longer goes through the heap.
    BYTE small[6 + VM_SYM_FIXED_ITEMS * 11];
    std::vector<BYTE> large;
    BYTE* bytes = small;
    if (length > sizeof small) {
        large.resize(length);
        bytes = large.data();
    }
    if (length && ar.Read(bytes, length) != length) AfxThrowArchiveException(CArchiveException::endOfFile);

    // The common record, fixed slots with empty names, is read straight from the bytes.
    if (length >= 6) {
        const WORD version = BodyWord(bytes), count = BodyWord(bytes + 4);
        const size_t end = 6 + static_cast<size_t>(count) * kItemBytes;
        bool plain = version == kRecordVersion && end == length;
        for (size_t at = 6; plain && at < end; at += kItemBytes)
            plain = BodyDword(bytes + at) < VM_SYM_FIXED_ITEMS && bytes[at + 10] == 0;
        if (plain) {
            CSymbolAttrib loaded;
            loaded.m_wMask = BodyWord(bytes + 2);
            for (size_t at = 6; at < end; at += kItemBytes) {
                tagVM_SYM_VARIANT v;
                v.wType = BodyWord(bytes + at + 4);
                v.lValue = static_cast<LONG>(BodyDword(bytes + at + 6));
                if (v.wType == VM_SYM_NONE && v.lValue == 0 && loaded.m_items.empty()) continue;  // as unset
                loaded.Materialize();
                loaded.m_items[BodyDword(bytes + at)].value = v;
            }
            m_wMask = loaded.m_wMask;
            m_items.swap(loaded.m_items);
            return;
        }
    }

    CSymbolAttrib loaded;
    CMemFile body(bytes, length);
    CArchive in(&body, CArchive::load);
    WORD version, mask, count;
    in >> version >> mask >> count;
    if (version == 0) AfxThrowArchiveException(CArchiveException::badSchema);
    loaded.m_wMask = mask;
    for (WORD n = 0; n < count; ++n) {
        DWORD id, value;
        WORD type;
        CString name;
        in >> id >> type >> value >> name;
        tagVM_SYM_VARIANT v;
        v.wType = type;
        v.lValue = static_cast<LONG>(value);
        if (id < VM_SYM_FIXED_ITEMS) {
            loaded.Materialize();
            loaded.m_items[id].value = v;
        } else if (loaded.AddAttribItem(name, id, v) != VM_SYM_OK) {
            AfxThrowArchiveException(CArchiveException::genericException);
        }
    }
    // Version 1 ends here; later versions append fields that this reader skips.
    if (version == kRecordVersion && !(in.IsBufferEmpty() && body.GetPosition() == body.GetLength()))
        AfxThrowArchiveException(CArchiveException::genericException);
    *this = loaded;
}
