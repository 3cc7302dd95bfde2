// Dialogs: CDialog over a template (DialogTemplate.h), modal through the user driver, and the data
// exchange between members and controls (CDataExchange, DDX_ and DDV_ functions).
//
// DoModal builds the dialog from its template, sends WM_INITDIALOG (OnInitDialog, whose default runs
// UpdateData(FALSE)), then hands the dialog to the installed user driver (AfxSetUserDriver), which acts
// as the person until the dialog ends (EndDialog), or without a driver to the screen (Screen.h), whose
// modal loop lets a person act. When neither is installed, or the driver leaves
// the dialog open, the dialog ends with its cancel answer at once: IDCANCEL is sent as a command (so
// OnCancel runs), and if that does not end it either, EndDialog(IDCANCEL). Either way it is recorded in
// the user transcript (AfxGetUiTranscript). Then the virtual DestroyWindow runs and DoModal returns the
// result; -1 when the template is missing.
//
// The dialog manager: Enter clicks the focused push button, or else sends the default button's id
// (DM_GETDEFID, the default push button of the template, even a hidden one); Escape sends IDCANCEL.
#pragma once

#include "afx/DialogTemplate.h"
#include "afx/OleTypes.h"
#include "afx/Wnd.h"

class CDialog : public CWnd {
    DECLARE_DYNAMIC(CDialog)
public:
    CDialog() = default;
    explicit CDialog(UINT nIDTemplate, CWnd* pParentWnd = nullptr);
    explicit CDialog(LPCTSTR lpszTemplateName, CWnd* pParentWnd = nullptr);

    // The result passed to EndDialog; -1 when the template cannot be found or built.
    virtual INT_PTR DoModal();
    // A modeless dialog: built and initialised, visible when its template says WS_VISIBLE. FALSE when the
    // template is missing.
    BOOL Create(UINT nIDTemplate, CWnd* pParentWnd = nullptr);
    void EndDialog(int nResult);

    // TRUE: the focus goes to the first tab stop; FALSE: the dialog set it itself.
    virtual BOOL OnInitDialog();
    virtual void OnOK();      // UpdateData(TRUE), and EndDialog(IDOK) when it succeeded
    virtual void OnCancel();  // EndDialog(IDCANCEL)

    void GotoDlgCtrl(CWnd* pWndCtrl);
    void NextDlgCtrl() const;
    void PrevDlgCtrl() const;
    void SetDefID(UINT nID);
    DWORD GetDefID() const;  // MAKELONG(id, DC_HASDEFID), 0 when none
    // Enter, Escape and Tab for this dialog's controls; TRUE when the key was taken.
    BOOL IsDialogMessage(LPMSG lpMsg);
    BOOL PreTranslateMessage(MSG* pMsg) override;

    BOOL IsModal() const { return m_bModal; }
    BOOL IsEnded() const { return m_bEnded; }
    UINT GetTemplateID() const { return m_nIDTemplate; }
    CWnd* m_pParentWnd = nullptr;
    UINT m_nIDHelp = 0;

protected:
    BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    // Builds the window from the template as a child (pages) or a top-level window; FALSE when missing.
    BOOL CreateFromTemplate(CWnd* pParent, bool bChild, int x, int y);
    // Runs the driver part of DoModal for an already built window: the result.
    INT_PTR RunModal(const CString& what);

    UINT m_nIDTemplate = 0;
    BOOL m_bModal = FALSE;
    BOOL m_bEnded = FALSE;
    int m_nModalResult = -1;
    UINT m_nDefID = 0;
};

// ---- data exchange ------------------------------------------------------------------------------

class CDataExchange {
public:
    CDataExchange(CWnd* pDlgWnd, BOOL bSaveAndValidate);
    BOOL m_bSaveAndValidate;  // TRUE: controls -> members (and validation)
    CWnd* m_pDlgWnd;
    // The control of an id; the last one prepared is what a failure focuses. A missing control throws
    // CNotSupportedException (a template and its code disagree).
    HWND PrepareCtrl(int nIDC);
    HWND PrepareEditCtrl(int nIDC);
    // Ends a failed exchange: focus (and for an edit, select all) on the last control prepared, then
    // throws CUserException, which UpdateData catches.
    [[noreturn]] void Fail();
    HWND m_hWndLastControl = nullptr;
    BOOL m_bEditLastControl = FALSE;
};

// The messages of failed exchanges: one box each (MB_ICONEXCLAMATION), nIDHelp set to the kind.
#define AFX_IDP_PARSE_INT 0xF110
#define AFX_IDP_PARSE_REAL 0xF111
#define AFX_IDP_PARSE_INT_RANGE 0xF112
#define AFX_IDP_PARSE_REAL_RANGE 0xF113
#define AFX_IDP_PARSE_STRING_SIZE 0xF114
#define AFX_IDP_PARSE_UINT 0xF116
#define AFX_IDP_PARSE_DATETIME 0xF117

// Edits: writing sets the text only when it differs (and never notifies); reading parses the whole text
// (blanks around it allowed). Integers out of the type's range, a "-" before an unsigned value and
// trailing characters fail with a message box. Floats are written with 6 significant digits, doubles 15.
void DDX_Text(CDataExchange* pDX, int nIDC, CString& value);
void DDX_Text(CDataExchange* pDX, int nIDC, int& value);
void DDX_Text(CDataExchange* pDX, int nIDC, UINT& value);
void DDX_Text(CDataExchange* pDX, int nIDC, long& value);
void DDX_Text(CDataExchange* pDX, int nIDC, short& value);
void DDX_Text(CDataExchange* pDX, int nIDC, BYTE& value);
void DDX_Text(CDataExchange* pDX, int nIDC, float& value);
void DDX_Text(CDataExchange* pDX, int nIDC, double& value);
// Check boxes: BST_UNCHECKED, BST_CHECKED, BST_INDETERMINATE.
void DDX_Check(CDataExchange* pDX, int nIDC, int& value);
// nIDC is the first radio button of a WS_GROUP run: the index of the checked one, -1 for none.
void DDX_Radio(CDataExchange* pDX, int nIDC, int& value);
void DDX_CBIndex(CDataExchange* pDX, int nIDC, int& index);
void DDX_CBString(CDataExchange* pDX, int nIDC, CString& value);
void DDX_CBStringExact(CDataExchange* pDX, int nIDC, CString& value);
void DDX_LBIndex(CDataExchange* pDX, int nIDC, int& index);
void DDX_LBString(CDataExchange* pDX, int nIDC, CString& value);
void DDX_Scroll(CDataExchange* pDX, int nIDC, int& value);
// Attaches rControl to the control the first time (subclassing it).
void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl);
void DDX_DateTimeCtrl(CDataExchange* pDX, int nIDC, COleDateTime& value);

// Validation, when saving only: out of range shows a message box and fails.
void DDV_MinMaxInt(CDataExchange* pDX, int value, int minVal, int maxVal);
void DDV_MinMaxUInt(CDataExchange* pDX, UINT value, UINT minVal, UINT maxVal);
void DDV_MinMaxLong(CDataExchange* pDX, long value, long minVal, long maxVal);
void DDV_MinMaxDWord(CDataExchange* pDX, DWORD value, DWORD minVal, DWORD maxVal);
void DDV_MinMaxShort(CDataExchange* pDX, short value, short minVal, short maxVal);
void DDV_MinMaxByte(CDataExchange* pDX, BYTE value, BYTE minVal, BYTE maxVal);
void DDV_MinMaxFloat(CDataExchange* pDX, float value, float minVal, float maxVal);
void DDV_MinMaxDouble(CDataExchange* pDX, double value, double minVal, double maxVal);
// Also limits the edit's text when loading.
void DDV_MaxChars(CDataExchange* pDX, const CString& value, int nChars);
