#include "afx/WinApp.h"

#include "afx/File.h"
#include "afx/Screen.h"
#include "win32/codepage.h"
#include "win32/winuser.h"

#include <sys/stat.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

IMPLEMENT_DYNAMIC(CWinApp, CObject)
IMPLEMENT_DYNAMIC(CFileDialog, CWnd)

namespace {
CWinApp* g_pApp = nullptr;
CUserDriver* g_pDriver = nullptr;
std::vector<AfxMessageRecord>& MessageLog() {
    static std::vector<AfxMessageRecord> log;
    return log;
}

long long FileStamp(const CString& path) {
    struct stat st;
    if (path.IsEmpty() || ::stat(win32::GbkPathToNative(path.str()).c_str(), &st) != 0) return -2;
    return static_cast<long long>(st.st_mtim.tv_sec) * 1000000000LL + st.st_mtim.tv_nsec + st.st_size * 7919LL;
}
}  // namespace


CWinApp::CWinApp(LPCTSTR lpszAppName) : m_strAppName(lpszAppName) { g_pApp = this; }

CWinApp::~CWinApp() {
    if (g_pApp == this) g_pApp = nullptr;
}

CWinApp* AfxGetApp() { return g_pApp; }
CWnd* AfxGetMainWnd() { return g_pApp ? g_pApp->m_pMainWnd : nullptr; }

void CWinApp::SetProfileFile(LPCTSTR lpszPath) {
    m_strProfileFile = lpszPath;
    m_profile.clear();
    m_loadedStamp = -1;
    LoadProfileIfChanged();
}

// The profile is read again only when the file changed on disk, so getters called for every object
// stay cheap while another writer's changes are still seen.
void CWinApp::LoadProfileIfChanged() {
    if (m_strProfileFile.IsEmpty()) return;
    long long stamp = FileStamp(m_strProfileFile);
    if (stamp == m_loadedStamp) return;
    m_loadedStamp = stamp;
    m_profile.clear();
    std::ifstream in(win32::GbkPathToNative(m_strProfileFile.str()), std::ios::binary);
    std::string line;
    CString section;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        CString l(line);
        l.TrimLeft();
        if (l.IsEmpty() || l[0] == ';') continue;
        if (l[0] == '[') {
            int end = l.Find(']');
            section = end > 0 ? l.Mid(1, end - 1) : l.Mid(1);
            m_profile[section];
            continue;
        }
        int eq = l.Find('=');
        if (eq < 0) continue;
        CString key = l.Left(eq), value = l.Mid(eq + 1);
        key.TrimRight();
        auto& entries = m_profile[section];
        bool replaced = false;
        for (auto& kv : entries)
            if (kv.first.CompareNoCase(key) == 0) {
                kv.second = value;
                replaced = true;
            }
        if (!replaced) entries.emplace_back(key, value);
    }
}

BOOL CWinApp::SaveProfile() {
    if (m_strProfileFile.IsEmpty()) return TRUE;
    std::string out;
    for (const auto& sec : m_profile) {
        out += "[" + sec.first.str() + "]\r\n";
        for (const auto& kv : sec.second) out += kv.first.str() + "=" + kv.second.str() + "\r\n";
    }
    std::ofstream f(win32::GbkPathToNative(m_strProfileFile.str()), std::ios::binary | std::ios::trunc);
    f << out;
    f.close();
    m_loadedStamp = FileStamp(m_strProfileFile);
    return f.good() ? TRUE : FALSE;
}

CString CWinApp::GetProfileString(LPCTSTR lpszSection, LPCTSTR lpszEntry, LPCTSTR lpszDefault) {
    LoadProfileIfChanged();
    auto sec = m_profile.find(CString(lpszSection));
    if (sec != m_profile.end())
        for (const auto& kv : sec->second)
            if (kv.first.CompareNoCase(lpszEntry) == 0) return kv.second;
    return CString(lpszDefault);
}

UINT CWinApp::GetProfileInt(LPCTSTR lpszSection, LPCTSTR lpszEntry, int nDefault) {
    LoadProfileIfChanged();
    auto sec = m_profile.find(CString(lpszSection));
    if (sec != m_profile.end())
        for (const auto& kv : sec->second)
            if (kv.first.CompareNoCase(lpszEntry) == 0) return static_cast<UINT>(std::strtol(kv.second, nullptr, 10));
    return static_cast<UINT>(nDefault);
}

BOOL CWinApp::WriteProfileString(LPCTSTR lpszSection, LPCTSTR lpszEntry, LPCTSTR lpszValue) {
    LoadProfileIfChanged();
    if (!lpszSection) return FALSE;
    CString section(lpszSection);
    if (!lpszEntry) {
        m_profile.erase(section);
        return SaveProfile();
    }
    auto& entries = m_profile[section];
    for (auto it = entries.begin(); it != entries.end(); ++it) {
        if (it->first.CompareNoCase(lpszEntry) == 0) {
            if (lpszValue) it->second = lpszValue;
            else entries.erase(it);
            return SaveProfile();
        }
    }
    if (lpszValue) entries.emplace_back(CString(lpszEntry), CString(lpszValue));
    return SaveProfile();
}

BOOL CWinApp::WriteProfileInt(LPCTSTR lpszSection, LPCTSTR lpszEntry, int nValue) {
    CString v;
    v.Format("%d", nValue);
    return WriteProfileString(lpszSection, lpszEntry, v);
}

// ---------------------------------------------------------------------------------------------

void AfxSetUserDriver(CUserDriver* pDriver) { g_pDriver = pDriver; }
CUserDriver* AfxGetUserDriver() { return g_pDriver; }
const std::vector<AfxMessageRecord>& AfxGetMessageLog() { return MessageLog(); }
void AfxClearMessageLog() { MessageLog().clear(); }

namespace {
int DefaultButton(UINT nType) {
    static const int buttons[6][3] = {{IDOK, IDOK, IDOK},          {IDOK, IDCANCEL, IDCANCEL},
                                      {IDABORT, IDRETRY, IDIGNORE}, {IDYES, IDNO, IDCANCEL},
                                      {IDYES, IDNO, IDNO},          {IDRETRY, IDCANCEL, IDCANCEL}};
    UINT kind = nType & MB_TYPEMASK;
    UINT def = (nType & MB_DEFMASK) >> 8;
    if (kind > 5) kind = 0;
    if (def > 2) def = 0;
    return buttons[kind][def];
}
}  // namespace

const std::vector<std::string>& AfxGetUiTranscript() { return win32::GetUserLog(); }
void AfxClearUiTranscript() { win32::ClearUserLog(); }

namespace {
int ShowBox(LPCTSTR lpszText, LPCTSTR lpszCaption, UINT nType, UINT nIDHelp) {
    CString text(lpszText);
    CString caption = lpszCaption ? CString(lpszCaption) : (g_pApp ? g_pApp->m_strAppName : CString());
    int answer = -1;
    if (g_pDriver) answer = g_pDriver->OnMessageBox(text, nType, nIDHelp);
    else if (CWndScreen* s = AfxGetScreen()) answer = s->MessageBox(text, caption, nType);
    if (answer < 0) answer = DefaultButton(nType);
    MessageLog().push_back(AfxMessageRecord{text, nType, nIDHelp, answer});
    win32::AppendUserLog("message box \"" + text.str() + "\" caption \"" + caption.str() + "\" type " +
                         std::to_string(nType) + " answered " + std::to_string(answer));
    if (std::getenv("CORVANE_ECHO_MESSAGES"))
        std::fprintf(stderr, "[message] %s\n", win32::GbkToUtf8(text.str()).c_str());
    return answer;
}
}  // namespace

int AfxMessageBox(LPCTSTR lpszText, UINT nType, UINT nIDHelp) { return ShowBox(lpszText, nullptr, nType, nIDHelp); }
int AfxMessageBoxCaption(LPCTSTR lpszText, LPCTSTR lpszCaption, UINT nType) { return ShowBox(lpszText, lpszCaption, nType, 0); }

int AfxMessageBox(UINT nIDPrompt, UINT nType, UINT nIDHelp) {
    CString text;
    if (!text.LoadString(nIDPrompt)) text.Format("#%u", nIDPrompt);
    return AfxMessageBox(text, nType, nIDHelp == static_cast<UINT>(-1) ? nIDPrompt : nIDHelp);
}

// ---------------------------------------------------------------------------------------------

CFileDialog::CFileDialog(BOOL bOpenFileDialog, LPCTSTR lpszDefExt, LPCTSTR lpszFileName, DWORD dwFlags,
                         LPCTSTR lpszFilter, CWnd*)
    : m_bOpenFileDialog(bOpenFileDialog), m_strDefExt(lpszDefExt), m_strInitialName(lpszFileName),
      m_strFilter(lpszFilter) {
    m_ofn.Flags = dwFlags;
    m_ofn.lpstrFilter = lpszFilter;
    m_ofn.lpstrDefExt = lpszDefExt;
}

int CFileDialog::DoModal() {
    CString path;
    int r = -1;
    if (g_pDriver) r = g_pDriver->OnFileDialog(*this, path);
    else if (CWndScreen* s = AfxGetScreen()) r = s->FileDialog(*this, path);
    const bool answered = r >= 0;
    if (!answered) r = IDCANCEL;
    if (!answered) {
        // Nobody can pick a file: the caller goes on as if cancelled, and the log says so.
        CString text = m_ofn.lpstrTitle ? CString(m_ofn.lpstrTitle) : CString(m_bOpenFileDialog ? "打开" : "另存为");
        text += " " + m_strInitialName;
        AfxMessageRecord rec{text, 0, 0, IDCANCEL};
        rec.bFileDialog = TRUE;
        MessageLog().push_back(rec);
        if (std::getenv("CORVANE_ECHO_MESSAGES"))
            std::fprintf(stderr, "[file dialog cancelled] %s\n", win32::GbkToUtf8(text.str()).c_str());
    }
    m_strPathName = r == IDOK ? path : CString();
    win32::AppendUserLog(std::string(m_bOpenFileDialog ? "open" : "save") + " file dialog \"" + GetTitle().str() +
                         "\" filter \"" + m_strFilter.str() + "\" ext \"" + m_strDefExt.str() + "\" flags " +
                         std::to_string(m_ofn.Flags) + (r == IDOK ? " chose \"" + path.str() + "\"" : std::string(" cancelled")) +
                         (answered ? "" : " (no driver)"));
    return r;
}

CString CFileDialog::GetFileName() const { return afx::PathFileName(m_strPathName); }
CString CFileDialog::GetFileTitle() const { return afx::PathFileTitle(m_strPathName); }
CString CFileDialog::GetFileExt() const {
    CString name = GetFileName();
    int dot = name.ReverseFind('.');
    return dot >= 0 ? name.Mid(dot + 1) : CString();
}
