#include "ui/MyTreeCtrl.h"

#include <string>

IMPLEMENT_DYNAMIC(CMyTreeCtrl, CTreeCtrl)

namespace {

bool IsLead(unsigned char c) { return c >= 0x81 && c <= 0xFE; }

// Only single-byte letters and "_" join a word; a two-byte character never does.
bool IsWordChar(const std::string& s, size_t pos) {
    const unsigned char c = static_cast<unsigned char>(s[pos]);
    return c == '_' || (c < 0x80 && ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z')));
}

// Whether `text` holds `what` at a character boundary (and, for whole words, between non-word
// characters). Both are GBK; positions step by whole characters so that a trail byte never starts a
// match.
bool Contains(const std::string& text, const std::string& what, bool wholeWord) {
    if (what.empty() || what.size() > text.size()) return false;
    size_t prevStart = std::string::npos;  // start of the character before i
    for (size_t i = 0; i + what.size() <= text.size();) {
        const size_t step = IsLead(static_cast<unsigned char>(text[i])) && i + 1 < text.size() ? 2 : 1;
        if (text.compare(i, what.size(), what) == 0) {
            if (!wholeWord) return true;
            const size_t end = i + what.size();
            const bool before = prevStart != std::string::npos && IsWordChar(text, prevStart) &&
                                !IsLead(static_cast<unsigned char>(text[prevStart]));
            const bool after = end < text.size() && !IsLead(static_cast<unsigned char>(text[end])) && IsWordChar(text, end);
            if (!before && !after) return true;
            // Go on after this occurrence, at the character boundary that ends it.
            size_t j = i;
            size_t last = prevStart;
            while (j < end) {
                last = j;
                j += IsLead(static_cast<unsigned char>(text[j])) && j + 1 < text.size() ? 2 : 1;
            }
            prevStart = last;
            i = j;
            continue;
        }
        prevStart = i;
        i += step;
    }
    return false;
}

}  // namespace

BOOL CMyTreeCtrl::PreTranslateMessage(MSG* pMsg) {
    if (pMsg->message == WM_KEYDOWN && GetEditControl()) {
        const WPARAM key = pMsg->wParam;
        if (key == VK_RETURN || key == VK_DELETE || key == VK_ESCAPE || GetKeyState(VK_CONTROL) < 0) {
            ::TranslateMessage(pMsg);
            ::DispatchMessage(pMsg);
            return TRUE;
        }
    }
    return CTreeCtrl::PreTranslateMessage(pMsg);
}

BOOL CMyTreeCtrl::IsFindValid(HTREEITEM hItem) {
    (void)hItem;
    return TRUE;
}

HTREEITEM CMyTreeCtrl::FindItem(CString& strText, BOOL bMatchCase, BOOL bDown, BOOL bWholeWord, HTREEITEM hStart) {
    if (strText.IsEmpty()) return nullptr;
    HTREEITEM start = hStart ? hStart : GetSelectedItem();
    CString what = strText;
    if (!bMatchCase) what.MakeLower();
    auto advance = [&](HTREEITEM h) -> HTREEITEM {
        HTREEITEM next = h ? (bDown ? GetNextItem(h) : GetPrevItem(h)) : nullptr;
        if (!next) next = bDown ? GetRootItem() : GetLastItem(nullptr);
        return next;
    };
    HTREEITEM cur = advance(start);
    // Every item is looked at once at most, also when there is no starting item to come back to.
    for (UINT visited = 0, n = GetCount(); cur && cur != start && visited < n; ++visited) {
        CString text = GetItemText(cur);
        if (!bMatchCase) text.MakeLower();
        if (Contains(text.str(), what.str(), bWholeWord != 0) && IsFindValid(cur)) return cur;
        cur = advance(cur);
    }
    return nullptr;
}

HTREEITEM CMyTreeCtrl::CopyItem(HTREEITEM hItem, HTREEITEM hParent, HTREEITEM hAfter) {
    TVITEM item{};
    item.hItem = hItem;
    item.mask = TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_CHILDREN | TVIF_STATE;
    item.stateMask = TVIS_STATEIMAGEMASK | TVIS_EXPANDED;
    if (!GetItem(&item)) return nullptr;
    HTREEITEM hNew = InsertItem(GetItemText(hItem), item.iImage, item.iSelectedImage, hParent, hAfter);
    if (!hNew) return nullptr;
    SetItemData(hNew, GetItemData(hItem));
    SetItemState(hNew, GetItemState(hItem, TVIS_STATEIMAGEMASK | TVIS_EXPANDED), TVIS_STATEIMAGEMASK | TVIS_EXPANDED);
    OnItemCopied(hItem, hNew);
    return hNew;
}

HTREEITEM CMyTreeCtrl::CopyBranch(HTREEITEM hItem, HTREEITEM hParent, HTREEITEM hAfter) {
    HTREEITEM hNew = CopyItem(hItem, hParent, hAfter);
    if (!hNew) return nullptr;
    for (HTREEITEM child = GetChildItem(hItem); child; child = GetNextSiblingItem(child))
        CopyBranch(child, hNew, TVI_LAST);
    OnBranchCopied(hItem, hNew);
    return hNew;
}

bool CMyTreeCtrl::IsInBranch(HTREEITEM hItem, HTREEITEM hTop) const {
    for (HTREEITEM h = hItem; h && h != TVI_ROOT; h = GetParentItem(h))
        if (h == hTop) return true;
    return false;
}

HTREEITEM CMyTreeCtrl::Move(HTREEITEM hItem, HTREEITEM hParent, HTREEITEM hAfter) {
    // A branch copied into itself would copy its own copy without end.
    if (!hItem || IsInBranch(hParent, hItem)) return nullptr;
    HTREEITEM hNew = CopyBranch(hItem, hParent, hAfter);
    if (!hNew) return nullptr;
    OnItemMoved(hItem, hNew);
    HTREEITEM hOldParent = GetParentItem(hItem);
    DeleteItem(hItem);
    OnMoveChildItem(hOldParent);
    return hNew;
}

HTREEITEM CMyTreeCtrl::Move(HTREEITEM hItem, int nAction) {
    if (!hItem) return nullptr;
    HTREEITEM hParent = GetParentItem(hItem);
    if (!hParent) hParent = TVI_ROOT;
    HTREEITEM prev = GetPrevSiblingItem(hItem), next = GetNextSiblingItem(hItem), after = nullptr;
    switch (nAction) {
    case TMA_FIRST:
        if (!prev) return hItem;
        after = TVI_FIRST;
        break;
    case TMA_LAST:
        if (!next) return hItem;
        after = TVI_LAST;
        break;
    case TMA_UP:
        if (!prev) return hItem;
        after = GetPrevSiblingItem(prev) ? GetPrevSiblingItem(prev) : TVI_FIRST;
        break;
    case TMA_DOWN:
        if (!next) return hItem;
        after = next;
        break;
    default: return hItem;
    }
    return Move(hItem, hParent, after);
}

void CMyTreeCtrl::OnItemCopied(HTREEITEM, HTREEITEM) {}
void CMyTreeCtrl::OnBranchCopied(HTREEITEM, HTREEITEM) {}
void CMyTreeCtrl::OnItemMoved(HTREEITEM, HTREEITEM) {}
void CMyTreeCtrl::OnMoveChildItem(HTREEITEM) {}

HTREEITEM CMyTreeCtrl::GetFirstSibling(HTREEITEM hItem) const {
    HTREEITEM parent = hItem ? GetParentItem(hItem) : nullptr;
    return parent ? GetChildItem(parent) : GetRootItem();
}

HTREEITEM CMyTreeCtrl::GetLastSibling(HTREEITEM hItem) const {
    HTREEITEM h = hItem ? hItem : GetRootItem();
    if (!h) return nullptr;
    for (HTREEITEM n = GetNextSiblingItem(h); n; n = GetNextSiblingItem(h)) h = n;
    return h;
}

HTREEITEM CMyTreeCtrl::GetFirstItem(HTREEITEM hItem) const {
    if (!hItem) return GetRootItem();
    HTREEITEM h = hItem;
    for (HTREEITEM c = GetChildItem(h); c; c = GetChildItem(h)) h = c;
    return h;
}

HTREEITEM CMyTreeCtrl::GetLastItem(HTREEITEM hItem) const {
    HTREEITEM h = hItem ? hItem : GetLastSibling(nullptr);
    while (h && GetChildItem(h)) h = GetLastSibling(GetChildItem(h));
    return h;
}

HTREEITEM CMyTreeCtrl::GetNextItem(HTREEITEM hItem) const {
    if (!hItem) return nullptr;
    if (HTREEITEM c = GetChildItem(hItem)) return c;
    for (HTREEITEM h = hItem; h; h = GetParentItem(h))
        if (HTREEITEM n = GetNextSiblingItem(h)) return n;
    return nullptr;
}

HTREEITEM CMyTreeCtrl::GetPrevItem(HTREEITEM hItem) const {
    if (!hItem) return nullptr;
    if (HTREEITEM p = GetPrevSiblingItem(hItem)) return GetLastItem(p);
    return GetParentItem(hItem);
}

BOOL CMyTreeCtrl::IsLeafItem(HTREEITEM hItem) const { return hItem && !GetChildItem(hItem); }

void CMyTreeCtrl::InvalidateItemRect(HTREEITEM hItem) {
    CRect r;
    if (hItem && GetItemRect(hItem, &r, FALSE)) InvalidateRect(&r, TRUE);
}
