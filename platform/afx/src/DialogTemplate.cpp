#include "afx/DialogTemplate.h"

#include <map>
#include <memory>

const char afxDefaultDialogFontFace[] = "宋体";

namespace {
std::map<UINT, AfxDlgTemplate>& Templates() {
    static auto* m = new std::map<UINT, AfxDlgTemplate>();
    return *m;
}
std::map<UINT, AFX_BITMAP_MAKER>& Bitmaps() {
    static auto* m = new std::map<UINT, AFX_BITMAP_MAKER>();
    return *m;
}
}  // namespace

void AfxRegisterDialogTemplate(const AfxDlgTemplate& tmpl) { Templates()[tmpl.id] = tmpl; }

const AfxDlgTemplate* AfxFindDialogTemplate(UINT nID) {
    auto it = Templates().find(nID);
    return it == Templates().end() ? nullptr : &it->second;
}

void AfxRegisterBitmapResource(UINT nID, AFX_BITMAP_MAKER pfnMake) { Bitmaps()[nID] = pfnMake; }

HBITMAP AfxLoadBitmapResource(UINT nID) {
    auto it = Bitmaps().find(nID);
    return it == Bitmaps().end() || !it->second ? nullptr : it->second();
}

BOOL AfxCreateDialogControls(HWND hWndDlg, const AfxDlgTemplate& tmpl) {
    if (!IsWindow(hWndDlg)) return FALSE;
    BOOL ok = TRUE;
    for (const AfxDlgItem& it : tmpl.items) {
        DWORD style = WS_CHILD | it.style | (it.hidden ? 0 : WS_VISIBLE);
        HWND h = CreateWindowExA(it.exStyle, it.className, it.text, style, win32::DluToPixelX(it.x),
                                 win32::DluToPixelY(it.y), win32::DluToPixelX(it.cx), win32::DluToPixelY(it.cy),
                                 hWndDlg, reinterpret_cast<HMENU>(static_cast<intptr_t>(it.id)), nullptr, nullptr);
        if (!h) {
            ok = FALSE;
            continue;
        }
        std::string cls = it.className;
        for (char& c : cls) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        if (it.items && (cls == "combobox" || cls == "listbox")) {
            UINT add = cls == "combobox" ? CB_ADDSTRING : LB_ADDSTRING;
            std::string all = it.items;
            size_t start = 0;
            while (start <= all.size()) {
                size_t nl = all.find('\n', start);
                std::string one = all.substr(start, nl == std::string::npos ? std::string::npos : nl - start);
                SendMessageA(h, add, 0, reinterpret_cast<LPARAM>(one.c_str()));
                if (nl == std::string::npos) break;
                start = nl + 1;
            }
        }
        if (cls == "button" && (it.style & BS_TYPEMASK) == BS_DEFPUSHBUTTON)
            SendMessageA(hWndDlg, DM_SETDEFID, static_cast<WPARAM>(it.id), 0);
        if (cls == "static" && (it.style & SS_TYPEMASK) == SS_BITMAP && it.text && it.text[0] == '#') {
            if (HBITMAP bmp = AfxLoadBitmapResource(static_cast<UINT>(std::atoi(it.text + 1))))
                SendMessageA(h, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bmp));
        }
    }
    return ok;
}
