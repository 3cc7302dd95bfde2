// Templet: a named, ordered list of layer themes kept as a project template, stored in a templet file
// (".TPT") of its own.
//
// A templet file is a class-library archive holding the templet name (string), a DWORD number of themes
// and each theme's record as CGeoTheme::Serialize writes it, bare (no class tag).
#pragma once

#include "core/GeoTheme.h"

class CGeoTemplet : public CObject {
    DECLARE_SERIAL(CGeoTemplet)
public:
    // Name "未命名模板", no themes, no file path.
    CGeoTemplet();
    CGeoTemplet(const CGeoTemplet& src);
    // Copies name and file path, and replaces the themes with copies of the source's.
    CGeoTemplet& operator=(const CGeoTemplet& src);
    ~CGeoTemplet() override;

    CString GetName() const { return m_strName; }
    CString SetName(CString strName);  // returns the previous name
    CString GetTempletFileName() const { return m_strFilePath; }
    void SetTempletFileName(CString strPath) { m_strFilePath = strPath; }

    // Themes. Positions: -1 head, -2 tail, 0 to count - 1 after that index; names are unique (letter case
    // counts) when added with AddTheme (SetTheme does not check them).
    int GetThemeCount() const { return m_ThemeList.GetCount(); }
    // Assigns the theme at the index to theme; 0 (theme untouched) for an index outside 0 to count - 1.
    int GetTheme(int nIndex, CGeoTheme& theme) const;
    // The index of the first theme whose name equals the text exactly; -1 when none.
    int FindTheme(CString strName) const;
    // Inserts a copy at the position; 0 (nothing changed) when a theme has the same name or for a bad
    // position.
    int AddTheme(const CGeoTheme& theme, int nPos);
    // Removes and deletes a theme; 0 for a bad index or an unknown name.
    int DeleteTheme(int nIndex);
    int DeleteTheme(CString strName);
    // Deletes every theme; 1.
    int DeleteAllThemes();
    // Assigns theme to the theme at the index; 0 for a bad index.
    int SetTheme(int nIndex, const CGeoTheme& theme);
    CGeoTemplet& operator+=(const CGeoTheme& theme);  // AddTheme(theme, -2), result ignored

    // Writes the templet file; 1 on success, 0 otherwise.
    // The file: a non-empty path becomes the templet's file path; with an empty path the templet's file
    // path is used, and when that is empty too the user is asked with a save dialog ("保存模板", filter
    // "Templet Files(*.TPT)|*.TPT|All Files(*.*)|*.*||"); cancelling returns 0 with nothing changed.
    // The file is written through a temporary file that replaces the previous one only when everything
    // was written, so a failed save never destroys the previous file. A file that cannot be created is
    // reported with the document's save failure box (the file path then stays the one tried); a file
    // error while writing (a full disk) is reported with the same box and gives 0, the previous file
    // path restored. Other archive exceptions reach the
    // caller, likewise with the previous file path restored.
    int SaveTemplet(CString strPath);
    // Reads the templet file, chosen as for SaveTemplet (open dialog "打开模板"); 1 on success, 0
    // otherwise. On success the name and themes are those of the file (the previous themes are deleted)
    // and the file path is the one read. On any failure, the templet is left as it was, file path
    // included: a file that cannot be opened is reported with the document's open failure box and gives
    // 0; a file error while reading gives 0; other archive exceptions (a short or corrupt file) reach
    // the caller.
    int LoadTemplet(CString strPath);

    // Ignores the archive: SaveTemplet("") when it is storing, LoadTemplet("") otherwise.
    void Serialize(CArchive& ar) override;

protected:
    CString m_strName;
    CTypedPtrList<CObList, CGeoTheme*> m_ThemeList;  // owned
    CString m_strFilePath;

private:
    // Chooses the file as SaveTemplet and LoadTemplet describe; FALSE when the user cancels.
    BOOL ChooseFile(const CString& strPath, BOOL bSaving);
};
