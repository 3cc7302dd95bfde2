// The scheme report: a plain-text description of a scheme's layers, their fields and feature classes,
// for a person to read and print (opened in Notepad after writing).
//
// Layout: 80-column rules of "=" around a centred title, the scheme file in capitals, then every layer
// ("★ [name]层") with its common fields and its classes ("▲ name [code]") each with its fields,
// geometry, scale range and elevation flag. Nested parts are indented in steps of 4 blanks. A field
// table is framed by 63-column rules and has the columns number 8, name 10, type 10, length 10,
// default value 8, required 10. Widths count bytes, so the columns align in a GBK text. Lines end
// with CRLF (the files are opened in text mode).
#pragma once

#include "ui/Scheme.h"

#include <afx/File.h>

// Asks for the report file with a save dialog ("输出方案", default name: the scheme file's folder and
// title with ".txt") and writes the report there; 0 when the person cancels, else as below.
int WriteSchemeToFile(CScheme* pScheme);

// Writes the report of the scheme to the file (created or truncated) and opens it in Notepad; 1 when
// written. A file that cannot be created or written is reported with the document's save failure box
// and gives 0 (Notepad is not started).
int WriteSchemeToFile(CScheme* pScheme, CString strPath);

// The report of the schemas of the vector layers of the list (each theme named after its layer), at
// indent 0 and without the title block, written and opened as above. 0, creating no file, when the list
// holds no vector layer.
int WriteSchemeToFile(CString strPath, const CTypedPtrList<CObList, CGeoLayer*>& layers);

// The report body of a scheme: the title block, the scheme line and every theme at indent 0.
void WriteSchemeToFile(CStdioFile* pFile, CScheme* pScheme);
// Every theme of the list, in order, at the indent; 1.
int WriteSchemeToFile(CStdioFile* pFile, CTypedPtrList<CObList, CGeoTheme*>& list, int nIndent);
// One layer: its heading, common fields and classes.
void WriteThemeToFile(CStdioFile* pFile, CGeoTheme* pTheme, int nIndent);
// One feature class: heading, fields, geometry, scale range, elevation flag and an empty line.
void WriteClassToFile(CStdioFile* pFile, CGeoGClass* pClass, int nIndent);
// A field table of the CDaoFieldInfo* of the list; an empty list writes one empty line.
void WriteFieldInfoList(CStdioFile* pFile, const CPtrList* pFields, int nIndent);
