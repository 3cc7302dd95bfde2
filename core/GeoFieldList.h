// Attribute field lists and field types.
//
// A field list is a CPtrList of heap CDaoFieldInfo* owned by whoever holds the list (a feature class, a
// layer theme, a dialog); the holder frees the descriptions with ClearFieldInfoList. This file also holds
// the process-wide default field description, the tables that name the DAO field types and give their
// default lengths, the packing of a field's display size into one LONG, and the words and symbols of the
// relational operators used by attribute conditions.
#pragma once

#include <afx/afx.h>
#include <dao/DaoFieldInfo.h>

// Empties pDst (freeing its descriptions), then appends a heap copy of every description of pSrc, in
// order. Nothing happens when both are the same list.
void CopyFieldInfoList(CPtrList* pDst, CPtrList* pSrc);

// Deletes every description of the list (null elements are skipped) and empties it.
void ClearFieldInfoList(CPtrList* pList);

// The field-list record: DWORD count, then per field the name (string), type (16 bits), size, attributes
// (32 bits each), ordinal position (16 bits), required, allow-zero-length, collating order (32 bits each)
// and the foreign name, source field, source table, validation rule, validation text and default value
// (strings). Loading appends new heap descriptions to the list without clearing it first; archive errors
// reach the caller as CArchiveException, with the fields read before the error kept in the list.
void SerializeFieldInfoList(CArchive& ar, CPtrList* pList);

// The default field description, built when the library is loaded: name empty, type boolean, size from
// the attribute database's GetFieldSize of that description, attributes 32, ordinal position 1, required
// 0, allow-zero-length 0, collating order 0, the other strings empty. Get returns a copy; Set replaces it.
CDaoFieldInfo GetDefaultFieldInfo();
void SetDefaultFieldInfo(CDaoFieldInfo info);

// Names of the nine field types, by DAO type code: 10 "文本", 2 "字节", 3 "短整数", 4 "长整数", 7 "浮点数",
// 1 "是/否", 5 "货币", 8 "日期", 12 "备注". The constructor fills the map.
class FTListMap : public CMapWordToPtr {
public:
    FTListMap();
    // The name of the type; "" for a code that is not one of the nine.
    CString GetTypeString(short nType);
    // The code of the first of the nine names (in the order above) equal to the upper-cased text; 0 when
    // none is.
    static short GetStringType(CString strName);
};

// Default lengths of the nine field types, by DAO type code: 10 -> 50, 2 -> 1, 3 -> 2, 4 -> 4, 7 -> 8,
// 1 -> 1, 5 -> 8, 8 -> 8, 12 -> 50. The constructor fills the map.
class FTLenMap : public CMapWordToPtr {
public:
    FTLenMap();
    // The default length of the type; 0 for a code that is not one of the nine.
    short GetTypeLenth(short nType);
};

// The field-type choice table of the field dialogs, index 0 to 8:
//   0 boolean "布尔型", 1 byte "字符型", 2 currency "货币型", 3 date "日期", 4 double "双精度",
//   5 long "长整型", 6 memo "备注", 7 integer "整数", 8 text "字符串".
const int FIELD_TYPE_CHOICES = 9;
// Copies the nine DAO codes of the table, in index order, into pCodes (room for nine ints).
void GetFieldTypeCodes(int* pCodes);
// The index of the field's type in the table; 0 when its type is not there (single, for one).
int GetFieldTypeIndex(CDaoFieldInfo info);
// The code at the index; 0 for an index outside 0 to 8.
int GetFieldTypeCode(int nIndex);
// The name at the index; "" for an index outside 0 to 8.
CString GetFieldTypeName(int nIndex);

// Packs a field's display size: byte, integer, long: width | len << 8; single, double:
// dec << 16 | len << 8 | width; text, memo: width; any other type 0. The parts are or-ed as given, so
// each should lie in 0 to 255.
LONG GetFieldSize(int nType, int nWidth, int nLen, int nDec);
// Unpacks a display size (w = bits 0-7, l = bits 8-15, d = bits 16-23; a size is "given" when > 0):
//   byte, integer, long: width w when given, else 3, 5, 6; len l when given and non-zero, else the
//     width; dec 0.
//   double: width w when given, else 8; len as above; dec d when given and non-zero, else 2.
//   text, memo: width the whole size when given, else 50; len the width; dec 0.
//   any other type (single included): 0, 0, 0.
void GetFieldSize(int nType, LONG lSize, int& nWidth, int& nLen, int& nDec);

// Relational operators of attribute conditions, by index: 0 none ("" / ""), 1 "等于" "=", 2 "不等于" "<>",
// 3 "大于" ">", 4 "大于等于" ">=", 5 "小于" "<", 6 "小于等于" "<=".
const int RELATION_COUNT = 7;
extern const char* const g_lpszRelationWords[RELATION_COUNT];
extern const char* const g_lpszRelationSymbols[RELATION_COUNT];
