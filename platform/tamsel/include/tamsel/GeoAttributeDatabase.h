// The attribute database of one vector layer.
//
// Model. A database holds one table per feature-class code (class codes are non-zero). Every table has
// the layer's common fields first, then the class's own fields, and one record per user ID. Values go
// in and out as lists of COleVariant in that field order. Class code 0 never names a table: it stands
// for "the common fields" in AddField and SetFieldsCanNULL, and for "whichever table holds the user ID"
// in the look-ups (see each call).
//
// File. A database is an SQLite file; the library names it "<layer title>.mdb" and keeps it beside the
// layer file. `sqlite3` can open it: table "GC_<code>" per class with the key column "UserID" and one
// column per field (named after the field where the name allows it), text stored as UTF-8 (as raw GBK
// bytes in the rare case the text is not valid GBK), and the field descriptions in "TamselFields".
//
// Writes. Writes are collected into one transaction that is committed by Save and when the database is
// closed, so a long run of writes costs no flush per record; each call is still all-or-nothing (a call
// that fails leaves no part of its change behind). Reads always see the writes made before them. The
// pending changes stay in memory up to some 64 MB of the file's pages before any is written to the file.
//
// Refused writes. A change that finds another process writing the file waits up to 2 seconds for its
// write lock, then is refused (FALSE, nothing of it kept) after a message box
// "属性数据库正被其他程序写入，等待2秒后仍未释放，修改未完成: <file>"; a change the file or its folder
// cannot take (read-only folder, full disk, I/O error) is refused after
// "属性数据库不能写入，修改未完成: <file> (<engine's reason>)". Changes refused for their content (an
// unknown class, a taken name) return FALSE without a message.
//
// Read-only. A file without any write permission bit (CFile::GetStatus reports it read-only) opens
// read-only: IsReadOnly is TRUE and every call that would change it returns FALSE.
//
// Not thread-safe; one database object per file at a time is the intended use.
#pragma once

#include <afx/afx.h>
#include <afx/VariantArchive.h>
#include <dao/DaoFieldInfo.h>

// The database engine that every attribute database is opened over. One per process; opaque.
class CdbDBEngine;

// The process-wide engine (never NULL, never deleted by the caller).
CdbDBEngine* GetDAOEngine();

class CGeoAttributeDatabase {
public:
    typedef CList<COleVariant, COleVariant&> CValueList;
    typedef CList<CValueList*, CValueList*> CValueListList;

    // A new, empty database in a temporary file, open for writing (not open when the engine is NULL or
    // the temporary file cannot be made). It holds no fields and no tables yet. Save gives it a place
    // of its own; an unsaved temporary file is deleted when the database is closed.
    explicit CGeoAttributeDatabase(CdbDBEngine* pEngine);
    // Opens the database file at lpszPath (GBK; '\\' or '/' separate). Not open when the engine is NULL,
    // the file is missing, or it is not a database of this library (a foreign or corrupt file).
    // Read-only when bReadOnly is non-zero or the file has no write permission bit.
    CGeoAttributeDatabase(CdbDBEngine* pEngine, LPCTSTR lpszPath, int bReadOnly);
    // Commits the pending writes and closes; deletes the file when it is temporary or when
    // RemoveFileWhenDestruct asked for it (a read-only file is never deleted).
    virtual ~CGeoAttributeDatabase();

    CGeoAttributeDatabase(const CGeoAttributeDatabase&) = delete;
    CGeoAttributeDatabase& operator=(const CGeoAttributeDatabase&) = delete;

    BOOL IsOpen() const;
    BOOL IsReadOnly() const;
    // The file the database works on (GBK), "" when not open. A temporary database gives its temporary
    // file.
    CString GetPathName() const;

    // Writes the database to lpszPath and goes on working on that file, as a document's "save as"
    // does. When lpszPath is the file already open, only the pending writes are committed. Otherwise
    // the copy is written beside the target and then put in its place, so a failure leaves an existing
    // target as it was; a temporary file the database leaves is deleted, any other is kept as it was.
    // FALSE when not open, when the path is empty, when the target exists and is read-only, or when
    // writing fails (the database then stays on its former file). A read-only database saved onto its
    // own file succeeds without writing.
    BOOL Save(LPCTSTR lpszPath);

    // The pairing mark: a short text the owner of the database writes with each save and keeps with the
    // file the database belongs to, so that a later open can tell whether the two come from one save.
    // Stored in the table "TamselMeta" (made on first use) and committed with the other pending writes.
    // SetPairMark is FALSE when not open or read-only; GetPairMark gives "" when none was ever set.
    BOOL SetPairMark(const CString& mark);
    CString GetPairMark();

    // Whether closing the database also deletes its file (initially 0).
    void RemoveFileWhenDestruct(int bRemove);
    int IsRemoveFileWhenDestruct() const;

    // Releases the database: closes it as the destructor does and deletes this object. The caller
    // drops its pointer and never deletes it itself after this call.
    void RemoveDatabase();

    // ---- Fields and tables ----------------------------------------------------------------------

    // Adds a field. classCode 0 adds a common field to every table, present and future; a non-zero
    // code adds a field to that class's existing table. nPos 0..count-1 inserts before that position
    // among the common fields (classCode 0) or among the class's own fields; any other value appends.
    // Records already there get NULL in the new field. FALSE when read-only, when the class has no
    // table, when the type is not one of the DAO codes 1-8, 10, 12, when the name is empty, or when
    // the name is already used in a table the field would join (names compare ignoring the case of
    // single-byte letters).
    BOOL AddField(CDaoFieldInfo& info, UINT classCode, int nPos);

    BOOL IsExistGC(UINT classCode);
    // Creates the class's table with the common fields. FALSE for code 0, when it exists, or read-only.
    BOOL NewGC(UINT classCode);
    // Drops the class's table with its records and fields. FALSE when it has none, or read-only.
    BOOL DeleteGC(UINT classCode);

    // Allows (bAllow non-zero) or forbids NULL values in the named fields: the common fields for
    // classCode 0, else the class's own fields; this is the field's "required" mark. Names not found
    // are skipped. FALSE when read-only, when the class has no table, or when no name was found.
    BOOL SetFieldsCanNULL(CStringList& names, int bAllow, UINT classCode);

    // Gives the class's table the code newCode, with its fields and records. FALSE when oldCode has no
    // table, newCode is 0 or has a table already, or read-only; nothing changes then.
    BOOL ModifyGCID(UINT oldCode, UINT newCode);
    // Changes the field named lpszOldName (ignoring case) to the description info: name, type, size,
    // required flag, default value and the other members. Values are kept; a type change converts every
    // value as a write does (see "Values" below). classCode 0 changes a common field in every table.
    // FALSE, changing nothing, when read-only, when there is no such field or table, when the type is
    // not a DAO code 1-8, 10, 12, when the new name is empty or used by another field of a table the
    // field belongs to, or when a value does not convert (or a text is longer than a new, smaller size).
    BOOL ModifyFieldInfo(LPCTSTR lpszOldName, CDaoFieldInfo& info, UINT classCode);
    // Removes the named field (ignoring case) with its values: a common field from every table for
    // classCode 0, else one of the class's own. FALSE, changing nothing, when read-only or there is no
    // such field or table.
    BOOL DeleteField(LPCTSTR lpszName, UINT classCode);
    // Reorders the class's own fields (the common fields for classCode 0): names[i] (ignoring case)
    // goes to the place its positions[i] gives, smaller first, equal positions keeping their order.
    // The two arrays must name each field of the class exactly once. Values are kept. FALSE, changing
    // nothing, when read-only, when there is no table, or when the names do not match the fields.
    BOOL SetFieldPos(CUIntArray& positions, CStringArray& names, UINT classCode);

    // ---- Records ----------------------------------------------------------------------------------

    // Whether the class's table has a record for the user ID; classCode 0 asks every table.
    BOOL IsExistID(UINT userID, UINT classCode);

    // Writes a new record. The list holds one value per field (common fields, then the class's).
    // FALSE for class 0, when the class has no table, when a record with that user ID is there
    // already, when the count differs, when a value cannot be converted to its field's type (see
    // "Values" below), when a required field would be NULL, or read-only. Nothing is written then.
    BOOL NewID(UINT userID, CValueList* pValues, UINT classCode);
    // Writes many new records at once, all or none. Each list is headed by the record's user ID (any
    // numeric value holding a whole number from 0 to 4294967295), followed by the values as above.
    // With classCode 0 nothing is written: the call only checks that every list is there and headed
    // by a valid user ID (the layer makes it before splitting the lists by class). FALSE when a check
    // or a write fails, or read-only (also for class 0).
    BOOL NewID(CValueListList* pLists, UINT classCode);

    // Replaces the values of an existing record. An empty field name writes every field (the count
    // must match as for NewID); a field name writes the list's head value into that field only.
    // FALSE for class 0, when there is no such record or field, when a value cannot be converted,
    // or read-only; nothing is written then.
    BOOL SetIDValue(UINT userID, CValueList* pValues, UINT classCode, LPCTSTR lpszField = "");
    // Appends a record's values to the list: every field when lpszField is empty, else that field's
    // value alone. NULL fields give VT_NULL. classCode 0 reads the common fields of the record in the
    // first table (lowest class code) that holds the user ID. FALSE, appending nothing, when there
    // is no such record or field.
    BOOL GetIDValue(UINT userID, CValueList* pValues, UINT classCode, LPCTSTR lpszField = "");
    // One field's value of a record; classCode 0 looks among the common fields of the record in the
    // first table holding the user ID. FALSE, leaving the value alone, when there is none.
    BOOL GetFieldValue(UINT userID, LPCTSTR lpszField, COleVariant& value, UINT classCode);

    // Removes the user ID's records from every table. TRUE also when there was none; FALSE only
    // when read-only or the write fails.
    BOOL RemoveID(UINT userID);
    // The number of records of the class's table, or of all tables for classCode 0; -1 when the class
    // has no table.
    LONG GetIDCount(UINT classCode);
    // Whether the class's table holds any record, or any table for classCode 0; FALSE when the class
    // has no table. Unlike GetIDCount it reads one record at most, however large the table.
    BOOL HasAnyID(UINT classCode);

    // Values. Each field type has its value type: boolean VT_BOOL, byte VT_UI1, integer VT_I2, long
    // VT_I4, currency VT_CY, single VT_R4, double VT_R8, date VT_DATE, text and memo VT_BSTR. A written
    // value of another type is converted: numbers between numeric types (whole-number types round
    // halves away from zero and refuse values out of their range), any value to text as VartoString
    // gives it, text to the field's type as stringtoVar reads it (text that does not read is refused).
    // VT_EMPTY, VT_NULL and empty text store NULL (empty text is kept for a text field that allows zero
    // length). A text longer than a text field's positive size is refused.

    class Impl;

private:
    Impl* m_pImpl;
};
