// The application object, its profile, the main window, and the user's answers to message boxes and
// file dialogs.
//
// Nothing is shown on a screen. A host or a test installs a CUserDriver that answers message boxes and
// file dialogs as the user would; every message box is recorded with its text, type and answer. With no
// driver a message box answers its default button and a file dialog is cancelled.
#pragma once

#include "afx/Object.h"
#include "afx/String.h"
#include "afx/Wnd.h"

#include <map>
#include <vector>

// The host's application object. Creating one makes it the current application (AfxGetApp).
class CWinApp : public CObject {
    DECLARE_DYNAMIC(CWinApp)
public:
    explicit CWinApp(LPCTSTR lpszAppName = nullptr);
    ~CWinApp() override;

    // The profile is the INI file at this path (GBK); an empty path keeps the profile in memory only.
    void SetProfileFile(LPCTSTR lpszPath);

    // "" / nDefault when the entry is absent. lpszDefault NULL means "".
    CString GetProfileString(LPCTSTR lpszSection, LPCTSTR lpszEntry, LPCTSTR lpszDefault = nullptr);
    UINT GetProfileInt(LPCTSTR lpszSection, LPCTSTR lpszEntry, int nDefault);
    // Written through to the file at once. lpszValue NULL removes the entry; lpszEntry NULL the section.
    BOOL WriteProfileString(LPCTSTR lpszSection, LPCTSTR lpszEntry, LPCTSTR lpszValue);
    BOOL WriteProfileInt(LPCTSTR lpszSection, LPCTSTR lpszEntry, int nValue);

    CWnd* m_pMainWnd = nullptr;
    CString m_strAppName;
    CString m_strProfileFile;

private:
    void LoadProfileIfChanged();
    BOOL SaveProfile();
    // Section and key names compare without case, as in INI files.
    struct NoCaseLess {
        bool operator()(const CString& a, const CString& b) const { return a.CompareNoCase(b) < 0; }
    };
    std::map<CString, std::vector<std::pair<CString, CString>>, NoCaseLess> m_profile;
    long long m_loadedStamp = -1;
};

CWinApp* AfxGetApp();
// The application's main window, or NULL.
CWnd* AfxGetMainWnd();

class CFileDialog;

// What the user does, for a host or a test to script.
class CUserDriver {
public:
    virtual ~CUserDriver() = default;
    // The button pressed (IDOK, IDCANCEL, IDYES...).
    virtual int OnMessageBox(const CString& text, UINT nType, UINT nIDHelp) = 0;
    // IDOK with rPathName set, or IDCANCEL.
    virtual int OnFileDialog(CFileDialog& dlg, CString& rPathName) = 0;
    // A modal dialog or property sheet (dlg) is open and initialised: act on it as the person would until
    // it ends. FALSE when the driver does not handle it; the modal then ends with its cancel answer.
    virtual BOOL OnModal(CWnd& dlg) { (void)dlg; return FALSE; }
};

// Installs the driver (NULL removes it); the caller keeps ownership.
void AfxSetUserDriver(CUserDriver* pDriver);
CUserDriver* AfxGetUserDriver();

struct AfxMessageRecord {
    CString text;
    UINT nType;
    UINT nIDHelp;
    int nAnswer;
    // Set for a file dialog answered without a driver: text is its title (or "打开" / "另存为"), a
    // space and the file name it offered; nType and nIDHelp are 0 and nAnswer is IDCANCEL.
    BOOL bFileDialog = FALSE;
};
// Every message box, and every file dialog cancelled for want of a driver, since the last clear,
// oldest first.
const std::vector<AfxMessageRecord>& AfxGetMessageLog();
void AfxClearMessageLog();

// What a person would have seen, oldest first, one line each (GBK): message boxes, modal dialogs and
// sheets with their results (including those ended at once without a driver), file dialogs, popup menus.
const std::vector<std::string>& AfxGetUiTranscript();
void AfxClearUiTranscript();

// Shows (records) a message and returns the button chosen.
int AfxMessageBox(LPCTSTR lpszText, UINT nType = MB_OK, UINT nIDHelp = 0);
// A box with a caption (NULL: the application's name), as CWnd::MessageBox shows it.
int AfxMessageBoxCaption(LPCTSTR lpszText, LPCTSTR lpszCaption, UINT nType);
// The string resource nIDPrompt as the text.
int AfxMessageBox(UINT nIDPrompt, UINT nType = MB_OK, UINT nIDHelp = (UINT)-1);

struct OPENFILENAME {
    DWORD Flags = 0;
    LPCTSTR lpstrFilter = nullptr;
    LPCTSTR lpstrDefExt = nullptr;
    LPCTSTR lpstrTitle = nullptr;
    LPCTSTR lpstrInitialDir = nullptr;
};
#define OFN_READONLY 0x00000001
#define OFN_OVERWRITEPROMPT 0x00000002
#define OFN_HIDEREADONLY 0x00000004
#define OFN_NOCHANGEDIR 0x00000008
#define OFN_ALLOWMULTISELECT 0x00000200
#define OFN_PATHMUSTEXIST 0x00000800
#define OFN_FILEMUSTEXIST 0x00001000

class CFileDialog : public CWnd {
    DECLARE_DYNAMIC(CFileDialog)
public:
    CFileDialog(BOOL bOpenFileDialog, LPCTSTR lpszDefExt = nullptr, LPCTSTR lpszFileName = nullptr,
                DWORD dwFlags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, LPCTSTR lpszFilter = nullptr,
                CWnd* pParentWnd = nullptr);
    // IDOK or IDCANCEL, from the installed driver; IDCANCEL without one, recorded in the message log.
    virtual int DoModal();
    CString GetPathName() const { return m_strPathName; }
    CString GetFileName() const;
    CString GetFileTitle() const;
    CString GetFileExt() const;
    BOOL IsOpenDialog() const { return m_bOpenFileDialog; }
    CString GetDefExt() const { return m_strDefExt; }
    CString GetInitialFileName() const { return m_strInitialName; }
    CString GetFilter() const { return m_strFilter; }
    CString GetTitle() const { return m_ofn.lpstrTitle ? CString(m_ofn.lpstrTitle) : CString(); }

    OPENFILENAME m_ofn;

private:
    BOOL m_bOpenFileDialog;
    CString m_strDefExt;
    CString m_strInitialName;
    CString m_strFilter;
    CString m_strPathName;
};
