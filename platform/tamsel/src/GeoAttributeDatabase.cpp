#include "tamsel/GeoAttributeDatabase.h"

#include "tamsel/ValueConvert.h"

#include <afx/WinApp.h>
#include <win32/codepage.h>

#include <sqlite3.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdlib>
#include <map>
#include <string>
#include <unordered_map>
#include <vector>

class CdbDBEngine {};

CdbDBEngine* GetDAOEngine() {
    static CdbDBEngine s_engine;
    return &s_engine;
}

namespace {

// Marks the files of this library ("TAMS").
const int kApplicationId = 0x54414D53;
const int kFormatVersion = 1;
const char kKeyColumn[] = "UserID";
// How long a write waits for another process that holds the database's write lock.
const int kBusyWaitMs = 2000;
// How many pages a pending transaction may hold changed in memory before SQLite writes some out early
// (64 MB at the usual page size of 4 KB).
const int kSpillPages = 16384;
const char kDatabaseBusy[] = "属性数据库正被其他程序写入，等待2秒后仍未释放，修改未完成: ";
const char kDatabaseUnwritable[] = "属性数据库不能写入，修改未完成: ";

const char* kMetaSchema =
    "CREATE TABLE TamselClasses(Class INTEGER PRIMARY KEY);"
    "CREATE TABLE TamselFields(Class INTEGER NOT NULL, Position INTEGER NOT NULL, ColumnName TEXT NOT NULL,"
    " Name, Type INTEGER, Size INTEGER, Attributes INTEGER, OrdinalPosition INTEGER, Required INTEGER,"
    " AllowZeroLength INTEGER, CollatingOrder INTEGER, ForeignName, SourceField, SourceTable,"
    " ValidationRule, ValidationText, DefaultValue, PRIMARY KEY(Class, Position));";

struct Field {
    CDaoFieldInfo info;
    std::string column;  // the column's name in the class tables (UTF-8)
};
typedef std::vector<Field> FieldList;

bool IsKnownType(short t) { return (t >= dbBoolean && t <= dbDate) || t == dbText || t == dbMemo; }

std::string Quote(const std::string& name) {
    std::string q = "\"";
    for (char c : name) {
        if (c == '"') q += '"';
        q += c;
    }
    return q + "\"";
}

std::string TableName(UINT code) { return "GC_" + std::to_string(code); }

// SQLite folds only ASCII letters in names; so does CString::CompareNoCase.
bool SameName(const std::string& a, const std::string& b) { return CString(a).CompareNoCase(b.c_str()) == 0; }

const char* DeclaredType(const CDaoFieldInfo& f, std::string& buf) {
    switch (f.m_nType) {
        case dbBoolean: return "BOOLEAN";
        case dbByte: return "TINYINT";
        case dbInteger: return "SMALLINT";
        case dbLong: return "INTEGER";
        case dbCurrency: return "CURRENCY";
        case dbSingle: return "FLOAT";
        case dbDouble: return "DOUBLE";
        case dbDate: return "DATETIME";
        case dbText:
            buf = "VARCHAR(" + std::to_string(f.m_lSize > 0 ? f.m_lSize : 50) + ")";
            return buf.c_str();
        default: return "TEXT";
    }
}

// Text goes in as UTF-8 when it converts both ways without loss, else as its raw GBK bytes.
// With `kept` the bytes are bound where they lie, without SQLite's copy: s and *kept (which receives the
// UTF-8 form) must then stay unchanged until the statement has been stepped, and the parameter must be
// bound again before any later step.
void BindText(sqlite3_stmt* st, int i, const CString& s, std::string* kept = nullptr) {
    const std::string& g = s.str();
    const sqlite3_destructor_type copy = kept ? SQLITE_STATIC : SQLITE_TRANSIENT;
    // ASCII is the same in both encodings.
    if (std::all_of(g.begin(), g.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; })) {
        sqlite3_bind_text(st, i, g.data(), static_cast<int>(g.size()), copy);
        return;
    }
    std::string local;
    std::string& u = kept ? *kept : local;
    if (win32::GbkToUtf8Exact(g, u))
        sqlite3_bind_text(st, i, u.data(), static_cast<int>(u.size()), copy);
    else
        sqlite3_bind_blob(st, i, g.data(), static_cast<int>(g.size()), copy);
}

CString ColumnText(sqlite3_stmt* st, int i) {
    int type = sqlite3_column_type(st, i);
    if (type == SQLITE_NULL) return CString();
    if (type == SQLITE_BLOB) {
        const char* p = static_cast<const char*>(sqlite3_column_blob(st, i));
        return CString(p, sqlite3_column_bytes(st, i));
    }
    const char* p = reinterpret_cast<const char*>(sqlite3_column_text(st, i));
    return CString(win32::Utf8ToGbk(std::string(p ? p : "", static_cast<size_t>(sqlite3_column_bytes(st, i)))));
}

// A value ready for a column.
struct Stored {
    enum Kind { Null, Int, Real, Text } kind = Null;
    long long i = 0;
    double r = 0;
    CString t;
    // The text is the caller's value itself instead of t when set (ConvertValue with borrow): the value
    // must then outlive the statement's step.
    const CString* borrowed = nullptr;
    std::string utf8;  // the text's UTF-8 form while it is bound in place (BindStored with inPlace)
    const CString& TextValue() const { return borrowed ? *borrowed : t; }
};

bool NumberOf(const COleVariant& v, double& d) {
    switch (v.vt) {
        case VT_UI1: d = v.bVal; return true;
        case VT_I2: d = v.iVal; return true;
        case VT_I4: d = v.lVal; return true;
        case VT_BOOL: d = v.boolVal ? -1 : 0; return true;
        case VT_R4: d = v.fltVal; return std::isfinite(d);
        case VT_R8:
        case VT_DATE: d = v.dblVal; return std::isfinite(d);
        case VT_CY: d = static_cast<double>(v.cyVal.int64) / 10000.0; return true;
        default: return false;
    }
}

bool Whole(double d, double lo, double hi, long long& out) {
    double r = std::round(d);
    if (!(r >= lo && r <= hi)) return false;
    out = static_cast<long long>(r);
    return true;
}

// With borrow, a text value is not copied: the stored value refers to v (see Stored::borrowed).
bool ConvertValue(const COleVariant& v, const CDaoFieldInfo& f, Stored& out, bool borrow = false) {
    out.kind = Stored::Null;  // the text keeps its buffer for the next value
    out.i = 0;
    out.r = 0;
    out.t.Empty();
    out.borrowed = nullptr;
    if (v.vt == VT_EMPTY || v.vt == VT_NULL) return true;
    if (v.vt == VT_BSTR) {
        if (f.m_nType == dbText || f.m_nType == dbMemo) {
            if (v.strVal.IsEmpty() && !f.m_bAllowZeroLength) return true;
            if (f.m_nType == dbText && f.m_lSize > 0 && v.strVal.GetLength() > f.m_lSize) return false;
            out.kind = Stored::Text;
            if (borrow)
                out.borrowed = &v.strVal;
            else
                out.t = v.strVal;
            return true;
        }
        if (v.strVal.IsEmpty()) return true;
        COleVariant typed = stringtoVar(v.strVal, f.m_nType);
        if (typed.vt == VT_EMPTY) return false;
        return ConvertValue(typed, f, out);
    }
    if (f.m_nType == dbText || f.m_nType == dbMemo) {
        COleVariant copy = v;
        CString t = VartoString(&copy);
        if (t.IsEmpty() && v.vt != VT_BSTR) return false;  // a type that has no text
        COleVariant asText(t);
        return ConvertValue(asText, f, out);
    }
    double d = 0;
    if (!NumberOf(v, d)) return false;
    switch (f.m_nType) {
        case dbBoolean:
            out.kind = Stored::Int;
            out.i = d != 0 ? 1 : 0;
            return true;
        case dbByte: out.kind = Stored::Int; return Whole(d, 0, 255, out.i);
        case dbInteger: out.kind = Stored::Int; return Whole(d, -32768, 32767, out.i);
        case dbLong: out.kind = Stored::Int; return Whole(d, -2147483648.0, 2147483647.0, out.i);
        case dbCurrency:
            out.kind = Stored::Int;
            if (v.vt == VT_CY) {
                out.i = v.cyVal.int64;
                return true;
            }
            return Whole(d * 10000.0, -9.2e18, 9.2e18, out.i);
        case dbSingle:
            if (std::fabs(d) > 3.4028234663852886e38) return false;
            out.kind = Stored::Real;
            out.r = static_cast<float>(d);
            return true;
        case dbDouble:
        case dbDate:
            out.kind = Stored::Real;
            out.r = d;
            return true;
        default:
            return false;
    }
}

COleVariant ReadValue(sqlite3_stmt* st, int i, const CDaoFieldInfo& f) {
    COleVariant v;
    if (sqlite3_column_type(st, i) == SQLITE_NULL) {
        v.vt = VT_NULL;
        return v;
    }
    long long n = sqlite3_column_int64(st, i);
    double d = sqlite3_column_double(st, i);
    switch (f.m_nType) {
        case dbBoolean: return COleVariant(static_cast<short>(n ? VARIANT_TRUE : VARIANT_FALSE), VT_BOOL);
        case dbByte: return COleVariant(static_cast<BYTE>(n));
        case dbInteger: return COleVariant(static_cast<short>(n));
        case dbLong: return COleVariant(static_cast<LONG>(n));
        case dbCurrency:
            v.vt = VT_CY;
            v.cyVal.int64 = n;
            return v;
        case dbSingle: return COleVariant(static_cast<float>(d));
        case dbDouble: return COleVariant(d);
        case dbDate: return COleVariant(COleDateTime(d));
        default: return COleVariant(ColumnText(st, i));
    }
}

// inPlace binds text without a copy (see BindText): s must outlive the step and not change before it.
void BindStored(sqlite3_stmt* st, int i, Stored& s, bool inPlace = false) {
    switch (s.kind) {
        case Stored::Null: sqlite3_bind_null(st, i); break;
        case Stored::Int: sqlite3_bind_int64(st, i, s.i); break;
        case Stored::Real: sqlite3_bind_double(st, i, s.r); break;
        case Stored::Text: BindText(st, i, s.TextValue(), inPlace ? &s.utf8 : nullptr); break;
    }
}

bool FileExists(const std::string& native) {
    struct stat sb;
    return ::stat(native.c_str(), &sb) == 0 && S_ISREG(sb.st_mode);
}

bool SameFile(const std::string& a, const std::string& b) {
    struct stat sa, sb;
    if (::stat(a.c_str(), &sa) != 0 || ::stat(b.c_str(), &sb) != 0) return false;
    return sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
}

// A new empty file next to `base` (or in the temporary folder when base is empty), created with the
// usual permissions; its name is returned, "" on failure.
std::string NewFileBeside(const std::string& base) {
    static std::atomic<unsigned> s_counter{0};
    std::string stem;
    if (base.empty()) {
        const char* tmp = std::getenv("TMPDIR");
        stem = std::string(tmp && *tmp ? tmp : "/tmp") + "/tamsel";
    } else {
        stem = base;
    }
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string name = stem + "." + std::to_string(::getpid()) + "." + std::to_string(s_counter++) + ".tmp";
        int fd = ::open(name.c_str(), O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC, 0666);
        if (fd >= 0) {
            ::close(fd);
            return name;
        }
        if (errno != EEXIST) break;
    }
    return std::string();
}

}  // namespace

// ---------------------------------------------------------------------------------------------------

class CGeoAttributeDatabase::Impl {
public:
    ~Impl() { Close(); }

    bool Open(const std::string& native, const CString& gbk, bool readOnly, bool create);
    void Close();
    bool Commit();

    // Runs fn inside a savepoint of the pending transaction; a failing fn leaves no trace.
    template <class Fn> bool Change(Fn fn);
    // Runs one statement's worth of change, which SQLite makes atomic by itself, in the pending
    // transaction.
    template <class Fn> bool ChangeOne(Fn fn);
    // Tells the user why a change was refused when the engine could not write (rc its result code).
    void ReportRefusedWrite(int rc);

    bool Exec(const char* sql) { return sqlite3_exec(m_db, sql, nullptr, nullptr, nullptr) == SQLITE_OK; }
    // The value a pragma reads back as text ("" when it gives none).
    std::string PragmaText(const char* name);
    sqlite3_stmt* Prepare(const std::string& sql);
    void ForgetStatements();

    bool LoadSchema();
    bool SaveFields(UINT code);
    FieldList* Fields(UINT code);  // the common fields for 0; NULL when the class has no table
    // The fields of a record of the class: common, then the class's own.
    std::vector<const Field*> RecordFields(UINT code) const;
    void RecordFields(UINT code, std::vector<const Field*>& all) const;
    // The first class whose table holds the user ID (0 when none).
    UINT FindRecordClass(UINT userID);
    bool RecordExists(UINT userID, UINT code);
    bool WriteRecord(UINT userID, UINT code, CValueList* pValues, bool insert);
    struct WriteSql;
    // The write statement of the class (insert or update) with the fields it writes, prepared; NULL
    // when the class has no table or the statement does not prepare.
    WriteSql* Writer(UINT code, bool insert);
    // The fields or their order may have changed: field pointers kept by the writers are stale.
    void SchemaMayChange() { ++m_schemaGeneration; }
    std::string PickColumnName(const CString& name, UINT code) const;
    bool NameTaken(const CString& name, UINT code) const;

    sqlite3* m_db = nullptr;
    std::string m_native;
    CString m_gbk;
    bool m_readOnly = false;
    bool m_temporary = false;
    bool m_removeOnClose = false;
    FieldList m_common;
    std::map<UINT, FieldList> m_classes;
    std::unordered_map<std::string, sqlite3_stmt*> m_statements;
    // The write statements' text per (class, insert), with the columns it was made for: a record write
    // reuses it while the class's columns are the same, so a run of writes builds no SQL text.
    struct WriteSql {
        std::vector<std::string> columns;
        std::string sql;
        sqlite3_stmt* st = nullptr;  // the prepared statement of sql, until ForgetStatements
        // The record's fields (common, then the class's) as of schema generation `generation`.
        std::vector<const Field*> fields;
        unsigned generation = 0;
    };
    std::map<std::pair<UINT, bool>, WriteSql> m_writeSql;
    // Bumped by every change that may move or reorder fields, drop writers or forget statements; a
    // writer made in an older generation looks its fields up again. The last writer used is kept with
    // its key and generation, so that a run of writes to one class finds it without a look-up (it is
    // only touched while its generation is current, as m_writeSql may have been cleared since).
    unsigned m_schemaGeneration = 1;
    WriteSql* m_lastWriter = nullptr;
    std::pair<UINT, bool> m_lastWriterKey;
    unsigned m_lastWriterGeneration = 0;
    std::map<UINT, std::string> m_existsSql;
    // Per class table, a bound no user ID in it exceeds, so that asking for a new, higher ID (the usual
    // case while records are being written) needs no query. Kept up by single-record inserts; forgotten
    // by every other change.
    std::map<UINT, long long> m_keyBound;
    // WriteRecord's working list, kept between writes so that a run of writes allocates nothing for it;
    // text values are bound in place from it.
    std::vector<Stored> m_recordValues;
};

bool CGeoAttributeDatabase::Impl::Open(const std::string& native, const CString& gbk, bool readOnly, bool create) {
    int flags = (readOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE) | SQLITE_OPEN_NOMUTEX;
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(native.c_str(), &db, flags, nullptr) != SQLITE_OK) {
        sqlite3_close(db);
        return false;
    }
    m_db = db;
    m_native = native;
    m_gbk = gbk;
    m_readOnly = readOnly;
    sqlite3_busy_timeout(m_db, kBusyWaitMs);
    // Writes pile up in one transaction until Save. Past the usual cache size SQLite would write dirty
    // pages out mid-transaction, flushing the journal to disk first, and read them back for the next
    // records; up to kSpillPages dirty pages stay in memory instead. After the commit the cache goes back
    // to its usual size.
    if (!readOnly) Exec(("PRAGMA cache_spill=" + std::to_string(kSpillPages)).c_str());
    if (create) {
        // Only a new temporary file is made here, and it is never opened again after a crash, so its
        // schema goes in without waiting for the disk. The file's bytes come out the same (each statement
        // is still its own transaction); the connection's own settings are put back afterwards.
        const std::string sync = PragmaText("synchronous"), journal = PragmaText("journal_mode");
        std::string sql = "PRAGMA synchronous=OFF;PRAGMA journal_mode=MEMORY;" + std::string(kMetaSchema) +
                          "PRAGMA application_id=" + std::to_string(kApplicationId) +
                          ";PRAGMA user_version=" + std::to_string(kFormatVersion) + ";";
        bool made = !sync.empty() && !journal.empty() && Exec(sql.c_str());
        sql = "PRAGMA journal_mode=" + journal + ";PRAGMA synchronous=" + sync + ";";
        if (!made || !Exec(sql.c_str())) {
            Close();
            return false;
        }
    }
    if (!LoadSchema()) {
        Close();
        return false;
    }
    return true;
}

std::string CGeoAttributeDatabase::Impl::PragmaText(const char* name) {
    sqlite3_stmt* st = nullptr;
    std::string value;
    if (sqlite3_prepare_v2(m_db, ("PRAGMA " + std::string(name)).c_str(), -1, &st, nullptr) == SQLITE_OK &&
        sqlite3_step(st) == SQLITE_ROW) {
        const unsigned char* p = sqlite3_column_text(st, 0);
        if (p) value = reinterpret_cast<const char*>(p);
    }
    sqlite3_finalize(st);
    return value;
}

void CGeoAttributeDatabase::Impl::Close() {
    if (!m_db) return;
    Commit();
    ForgetStatements();
    sqlite3_close(m_db);
    m_db = nullptr;
    if (m_temporary || (m_removeOnClose && !m_readOnly)) ::unlink(m_native.c_str());
    m_common.clear();
    m_classes.clear();
    m_keyBound.clear();
}

bool CGeoAttributeDatabase::Impl::Commit() {
    return sqlite3_get_autocommit(m_db) || Exec("COMMIT");
}

template <class Fn>
bool CGeoAttributeDatabase::Impl::Change(Fn fn) {
    if (!m_db || m_readOnly) return false;
    m_keyBound.clear();
    SchemaMayChange();
    if (sqlite3_get_autocommit(m_db) && !Exec("BEGIN")) return false;
    if (!Exec("SAVEPOINT change")) return false;
    // The in-memory schema is restored together with the database when the change fails.
    FieldList common = m_common;
    std::map<UINT, FieldList> classes = m_classes;
    if (fn()) {
        SchemaMayChange();
        return Exec("RELEASE change");
    }
    const int rc = sqlite3_errcode(m_db);
    SchemaMayChange();
    Exec("ROLLBACK TO change");
    Exec("RELEASE change");
    if (common.size() != m_common.size() || classes.size() != m_classes.size()) ForgetStatements();
    m_common.swap(common);
    m_classes.swap(classes);
    ReportRefusedWrite(rc);
    return false;
}

template <class Fn>
bool CGeoAttributeDatabase::Impl::ChangeOne(Fn fn) {
    if (!m_db || m_readOnly) return false;
    if (sqlite3_get_autocommit(m_db) && !Exec("BEGIN")) return false;
    if (fn()) return true;
    ReportRefusedWrite(sqlite3_errcode(m_db));
    return false;
}

void CGeoAttributeDatabase::Impl::ReportRefusedWrite(int rc) {
    // Only what the file refused is the user's to know; a change refused for its own content (an
    // unknown class, a taken name) is the caller's answer to give.
    switch (rc & 0xFF) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        AfxMessageBox(CString(kDatabaseBusy) + m_gbk, MB_OK | MB_ICONEXCLAMATION);
        break;
    case SQLITE_READONLY:
    case SQLITE_CANTOPEN:
    case SQLITE_IOERR:
    case SQLITE_FULL:
    case SQLITE_PERM:
        AfxMessageBox(CString(kDatabaseUnwritable) + m_gbk + " (" + sqlite3_errstr(rc) + ")", MB_OK | MB_ICONEXCLAMATION);
        break;
    default:
        break;
    }
}

sqlite3_stmt* CGeoAttributeDatabase::Impl::Prepare(const std::string& sql) {
    auto it = m_statements.find(sql);
    if (it != m_statements.end()) {
        sqlite3_reset(it->second);
        sqlite3_clear_bindings(it->second);
        return it->second;
    }
    sqlite3_stmt* st = nullptr;
    if (sqlite3_prepare_v2(m_db, sql.c_str(), -1, &st, nullptr) != SQLITE_OK) {
        sqlite3_finalize(st);
        return nullptr;
    }
    m_statements.emplace(sql, st);
    return st;
}

void CGeoAttributeDatabase::Impl::ForgetStatements() {
    m_keyBound.clear();
    SchemaMayChange();
    for (auto& e : m_writeSql) e.second.st = nullptr;
    for (auto& e : m_statements) sqlite3_finalize(e.second);
    m_statements.clear();
}

bool CGeoAttributeDatabase::Impl::LoadSchema() {
    SchemaMayChange();
    m_common.clear();
    m_classes.clear();
    sqlite3_stmt* st = nullptr;
    // A file that SQLite cannot read, or one of another kind, fails here.
    if (sqlite3_prepare_v2(m_db, "PRAGMA application_id", -1, &st, nullptr) != SQLITE_OK ||
        sqlite3_step(st) != SQLITE_ROW || sqlite3_column_int(st, 0) != kApplicationId) {
        sqlite3_finalize(st);
        return false;
    }
    sqlite3_finalize(st);
    st = Prepare("SELECT Class FROM TamselClasses ORDER BY Class");
    if (!st) return false;
    int rc;
    while ((rc = sqlite3_step(st)) == SQLITE_ROW)
        m_classes[static_cast<UINT>(sqlite3_column_int64(st, 0))];
    if (rc != SQLITE_DONE) return false;
    st = Prepare(
        "SELECT Class, ColumnName, Name, Type, Size, Attributes, OrdinalPosition, Required, AllowZeroLength,"
        " CollatingOrder, ForeignName, SourceField, SourceTable, ValidationRule, ValidationText, DefaultValue"
        " FROM TamselFields ORDER BY Class, Position");
    if (!st) return false;
    while ((rc = sqlite3_step(st)) == SQLITE_ROW) {
        Field f;
        UINT code = static_cast<UINT>(sqlite3_column_int64(st, 0));
        const char* col = reinterpret_cast<const char*>(sqlite3_column_text(st, 1));
        f.column = col ? col : "";
        f.info.m_strName = ColumnText(st, 2);
        f.info.m_nType = static_cast<short>(sqlite3_column_int(st, 3));
        f.info.m_lSize = sqlite3_column_int(st, 4);
        f.info.m_lAttributes = sqlite3_column_int(st, 5);
        f.info.m_nOrdinalPosition = static_cast<short>(sqlite3_column_int(st, 6));
        f.info.m_bRequired = sqlite3_column_int(st, 7);
        f.info.m_bAllowZeroLength = sqlite3_column_int(st, 8);
        f.info.m_lCollatingOrder = sqlite3_column_int(st, 9);
        f.info.m_strForeignName = ColumnText(st, 10);
        f.info.m_strSourceField = ColumnText(st, 11);
        f.info.m_strSourceTable = ColumnText(st, 12);
        f.info.m_strValidationRule = ColumnText(st, 13);
        f.info.m_strValidationText = ColumnText(st, 14);
        f.info.m_strDefaultValue = ColumnText(st, 15);
        if (code == 0) {
            m_common.push_back(f);
        } else {
            auto it = m_classes.find(code);
            if (it == m_classes.end()) return false;  // fields of a table that is not there
            it->second.push_back(f);
        }
    }
    return rc == SQLITE_DONE;
}

bool CGeoAttributeDatabase::Impl::SaveFields(UINT code) {
    static const FieldList none;
    const FieldList* list = Fields(code);
    if (!list) list = &none;  // a dropped table: its rows go
    sqlite3_stmt* del = Prepare("DELETE FROM TamselFields WHERE Class=?");
    if (!del) return false;
    sqlite3_bind_int64(del, 1, code);
    if (sqlite3_step(del) != SQLITE_DONE) return false;
    sqlite3_stmt* ins = Prepare("INSERT INTO TamselFields VALUES(?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?)");
    if (!ins) return false;
    int pos = 0;
    for (const Field& f : *list) {
        sqlite3_reset(ins);
        sqlite3_clear_bindings(ins);
        sqlite3_bind_int64(ins, 1, code);
        sqlite3_bind_int(ins, 2, pos++);
        sqlite3_bind_text(ins, 3, f.column.c_str(), -1, SQLITE_TRANSIENT);
        BindText(ins, 4, f.info.m_strName);
        sqlite3_bind_int(ins, 5, f.info.m_nType);
        sqlite3_bind_int(ins, 6, f.info.m_lSize);
        sqlite3_bind_int(ins, 7, f.info.m_lAttributes);
        sqlite3_bind_int(ins, 8, f.info.m_nOrdinalPosition);
        sqlite3_bind_int(ins, 9, f.info.m_bRequired);
        sqlite3_bind_int(ins, 10, f.info.m_bAllowZeroLength);
        sqlite3_bind_int(ins, 11, f.info.m_lCollatingOrder);
        BindText(ins, 12, f.info.m_strForeignName);
        BindText(ins, 13, f.info.m_strSourceField);
        BindText(ins, 14, f.info.m_strSourceTable);
        BindText(ins, 15, f.info.m_strValidationRule);
        BindText(ins, 16, f.info.m_strValidationText);
        BindText(ins, 17, f.info.m_strDefaultValue);
        if (sqlite3_step(ins) != SQLITE_DONE) return false;
    }
    return true;
}

FieldList* CGeoAttributeDatabase::Impl::Fields(UINT code) {
    if (code == 0) return &m_common;
    auto it = m_classes.find(code);
    return it == m_classes.end() ? nullptr : &it->second;
}

std::vector<const Field*> CGeoAttributeDatabase::Impl::RecordFields(UINT code) const {
    std::vector<const Field*> all;
    RecordFields(code, all);
    return all;
}

void CGeoAttributeDatabase::Impl::RecordFields(UINT code, std::vector<const Field*>& all) const {
    all.clear();
    auto it = m_classes.find(code);
    all.reserve(m_common.size() + (it != m_classes.end() ? it->second.size() : 0));
    for (const Field& f : m_common) all.push_back(&f);
    if (it != m_classes.end())
        for (const Field& f : it->second) all.push_back(&f);
}

bool CGeoAttributeDatabase::Impl::RecordExists(UINT userID, UINT code) {
    if (!m_classes.count(code)) return false;
    auto bound = m_keyBound.find(code);
    if (bound == m_keyBound.end()) {
        sqlite3_stmt* st = Prepare("SELECT max(" + std::string(kKeyColumn) + ") FROM " + Quote(TableName(code)));
        if (!st) return false;
        long long top = -1;
        if (sqlite3_step(st) == SQLITE_ROW && sqlite3_column_type(st, 0) != SQLITE_NULL) top = sqlite3_column_int64(st, 0);
        sqlite3_reset(st);
        bound = m_keyBound.emplace(code, top).first;
    }
    if (static_cast<long long>(userID) > bound->second) return false;
    std::string& sql = m_existsSql[code];  // the table name alone decides this text
    if (sql.empty()) sql = "SELECT 1 FROM " + Quote(TableName(code)) + " WHERE " + kKeyColumn + "=?";
    sqlite3_stmt* st = Prepare(sql);
    if (!st) return false;
    sqlite3_bind_int64(st, 1, userID);
    bool found = sqlite3_step(st) == SQLITE_ROW;
    sqlite3_reset(st);
    return found;
}

UINT CGeoAttributeDatabase::Impl::FindRecordClass(UINT userID) {
    for (auto& c : m_classes)
        if (RecordExists(userID, c.first)) return c.first;
    return 0;
}

bool CGeoAttributeDatabase::Impl::NameTaken(const CString& name, UINT code) const {
    auto clash = [&](const FieldList& l) {
        for (const Field& f : l)
            if (f.info.m_strName.CompareNoCase(name) == 0) return true;
        return false;
    };
    if (clash(m_common)) return true;
    for (auto& c : m_classes)
        if ((code == 0 || c.first == code) && clash(c.second)) return true;
    return false;
}

std::string CGeoAttributeDatabase::Impl::PickColumnName(const CString& name, UINT code) const {
    auto taken = [&](const std::string& col) {
        if (SameName(col, kKeyColumn)) return true;
        for (const Field& f : m_common)
            if (SameName(f.column, col)) return true;
        for (auto& c : m_classes)
            if (code == 0 || c.first == code)
                for (const Field& f : c.second)
                    if (SameName(f.column, col)) return true;
        return false;
    };
    std::string u = win32::GbkToUtf8(name.str());
    if (win32::Utf8ToGbk(u) == name.str() && !taken(u)) return u;
    for (int n = 1;; ++n) {
        std::string col = "Field" + std::to_string(n);
        if (!taken(col)) return col;
    }
}

CGeoAttributeDatabase::Impl::WriteSql* CGeoAttributeDatabase::Impl::Writer(UINT code, bool insert) {
    const std::pair<UINT, bool> key(code, insert);
    if (m_lastWriterGeneration == m_schemaGeneration && m_lastWriterKey == key) return m_lastWriter;
    if (!m_classes.count(code)) return nullptr;
    WriteSql& w = m_writeSql[key];
    if (w.generation != m_schemaGeneration) {
        RecordFields(code, w.fields);
        w.generation = m_schemaGeneration;
    }
    const std::vector<const Field*>& fields = w.fields;
    bool same = w.columns.size() == fields.size();
    for (size_t i = 0; same && i < fields.size(); ++i) same = w.columns[i] == fields[i]->column;
    if (!same) {
        w.columns.clear();
        for (const Field* f : fields) w.columns.push_back(f->column);
        w.sql.clear();
        w.st = nullptr;
    }
    std::string& sql = w.sql;
    if (sql.empty() && insert) {
        sql = "INSERT INTO " + Quote(TableName(code)) + "(" + kKeyColumn;
        for (const Field* f : fields) sql += "," + Quote(f->column);
        sql += ") VALUES(?";
        for (size_t i = 0; i < fields.size(); ++i) sql += ",?";
        sql += ")";
    } else if (sql.empty()) {
        sql = "UPDATE " + Quote(TableName(code)) + " SET " + kKeyColumn + "=?";
        for (const Field* f : fields) sql += "," + Quote(f->column) + "=?";
        sql += " WHERE " + std::string(kKeyColumn) + "=?1";
    }
    if (!w.st) w.st = Prepare(sql);
    if (!w.st) return nullptr;
    m_lastWriter = &w;
    m_lastWriterKey = key;
    m_lastWriterGeneration = m_schemaGeneration;
    return &w;
}

bool CGeoAttributeDatabase::Impl::WriteRecord(UINT userID, UINT code, CValueList* pValues, bool insert) {
    if (!pValues) return false;
    WriteSql* w = Writer(code, insert);
    if (!w) return false;
    const std::vector<const Field*>& fields = w->fields;
    if (pValues->GetCount() != static_cast<int>(fields.size())) return false;
    std::vector<Stored>& stored = m_recordValues;
    stored.resize(fields.size());
    POSITION pos = pValues->GetHeadPosition();
    for (size_t i = 0; i < fields.size(); ++i) {
        // The list outlives the step below, so its texts are bound from where they are.
        if (!ConvertValue(pValues->GetNext(pos), fields[i]->info, stored[i], true)) return false;
        if (stored[i].kind == Stored::Null && fields[i]->info.m_bRequired) return false;
    }
    // Every parameter is bound below, so a statement kept from the last write needs no clearing; the
    // text is bound in place from `stored`, which stays as it is until the step is done.
    sqlite3_stmt* st = w->st;
    sqlite3_bind_int64(st, 1, userID);
    for (size_t i = 0; i < stored.size(); ++i) BindStored(st, static_cast<int>(i) + 2, stored[i], true);
    int rc = sqlite3_step(st);
    bool ok = rc == SQLITE_DONE && sqlite3_changes(m_db) == 1;
    sqlite3_reset(st);
    if (ok && insert) {
        auto bound = m_keyBound.find(code);
        if (bound != m_keyBound.end()) bound->second = std::max(bound->second, static_cast<long long>(userID));
    }
    return ok;
}

// ---------------------------------------------------------------------------------------------------

CGeoAttributeDatabase::CGeoAttributeDatabase(CdbDBEngine* pEngine) : m_pImpl(new Impl) {
    if (!pEngine) return;
    std::string native = NewFileBeside(std::string());
    if (native.empty()) return;
    m_pImpl->m_temporary = true;
    if (!m_pImpl->Open(native, CString(win32::NativePathToGbk(native)), false, true)) {
        ::unlink(native.c_str());
        m_pImpl->m_temporary = false;
    }
}

CGeoAttributeDatabase::CGeoAttributeDatabase(CdbDBEngine* pEngine, LPCTSTR lpszPath, int bReadOnly)
    : m_pImpl(new Impl) {
    CString gbk(lpszPath);
    if (!pEngine || gbk.IsEmpty()) return;
    std::string native = win32::GbkPathToNative(gbk.str());
    if (!FileExists(native)) return;
    CFileStatus status;
    bool readOnly = bReadOnly || (CFile::GetStatus(gbk, status) && (status.m_attribute & CFile::readOnly));
    m_pImpl->Open(native, gbk, readOnly, false);
}

CGeoAttributeDatabase::~CGeoAttributeDatabase() { delete m_pImpl; }

BOOL CGeoAttributeDatabase::IsOpen() const { return m_pImpl->m_db != nullptr; }
BOOL CGeoAttributeDatabase::IsReadOnly() const { return m_pImpl->m_db && m_pImpl->m_readOnly; }
CString CGeoAttributeDatabase::GetPathName() const { return m_pImpl->m_db ? m_pImpl->m_gbk : CString(); }

void CGeoAttributeDatabase::RemoveFileWhenDestruct(int bRemove) { m_pImpl->m_removeOnClose = bRemove != 0; }
int CGeoAttributeDatabase::IsRemoveFileWhenDestruct() const { return m_pImpl->m_removeOnClose; }

void CGeoAttributeDatabase::RemoveDatabase() { delete this; }

BOOL CGeoAttributeDatabase::Save(LPCTSTR lpszPath) {
    Impl& d = *m_pImpl;
    CString gbk(lpszPath);
    if (!d.m_db || gbk.IsEmpty()) return FALSE;
    std::string target = win32::GbkPathToNative(gbk.str());
    if (target == d.m_native || SameFile(target, d.m_native)) return d.m_readOnly ? TRUE : d.Commit();
    CFileStatus status;
    if (CFile::GetStatus(gbk, status) && (status.m_attribute & CFile::readOnly)) return FALSE;
    if (!d.Commit()) return FALSE;

    // Copy into a new file beside the target, then put it in the target's place.
    std::string temp = NewFileBeside(target);
    if (temp.empty()) return FALSE;
    sqlite3* dst = nullptr;
    bool ok = sqlite3_open_v2(temp.c_str(), &dst, SQLITE_OPEN_READWRITE, nullptr) == SQLITE_OK;
    if (ok) {
        sqlite3_backup* b = sqlite3_backup_init(dst, "main", d.m_db, "main");
        ok = b && sqlite3_backup_step(b, -1) == SQLITE_DONE;
        if (sqlite3_backup_finish(b) != SQLITE_OK) ok = false;
    }
    if (sqlite3_close(dst) != SQLITE_OK) ok = false;
    if (ok) ok = ::rename(temp.c_str(), target.c_str()) == 0;
    if (!ok) {
        ::unlink(temp.c_str());
        return FALSE;
    }

    // Go on working on the saved file.
    Impl next;
    if (!next.Open(target, gbk, false, false)) return TRUE;  // saved; stay where we were
    d.ForgetStatements();
    sqlite3_close(d.m_db);
    if (d.m_temporary) ::unlink(d.m_native.c_str());
    d.m_db = next.m_db;
    d.m_native = next.m_native;
    d.m_gbk = next.m_gbk;
    d.m_readOnly = false;
    d.m_temporary = false;
    d.m_common.swap(next.m_common);
    d.m_classes.swap(next.m_classes);
    d.m_statements.swap(next.m_statements);
    d.m_keyBound.clear();
    next.m_db = nullptr;
    return TRUE;
}

BOOL CGeoAttributeDatabase::AddField(CDaoFieldInfo& info, UINT classCode, int nPos) {
    Impl& d = *m_pImpl;
    if (!d.m_db || d.m_readOnly || !IsKnownType(info.m_nType) || info.m_strName.IsEmpty()) return FALSE;
    if (!d.Fields(classCode) || d.NameTaken(info.m_strName, classCode)) return FALSE;
    return d.Change([&] {
        Field f;
        f.info = info;
        f.column = d.PickColumnName(info.m_strName, classCode);
        std::string type;
        std::string decl = Quote(f.column) + " " + DeclaredType(info, type);
        for (auto& c : d.m_classes) {
            if (classCode != 0 && c.first != classCode) continue;
            std::string sql = "ALTER TABLE " + Quote(TableName(c.first)) + " ADD COLUMN " + decl;
            if (!d.Exec(sql.c_str())) return false;
        }
        d.ForgetStatements();
        FieldList& list = *d.Fields(classCode);
        if (nPos >= 0 && nPos < static_cast<int>(list.size()))
            list.insert(list.begin() + nPos, f);
        else
            list.push_back(f);
        return d.SaveFields(classCode);
    });
}

BOOL CGeoAttributeDatabase::IsExistGC(UINT classCode) {
    return m_pImpl->m_db && classCode != 0 && m_pImpl->m_classes.count(classCode) != 0;
}

BOOL CGeoAttributeDatabase::NewGC(UINT classCode) {
    Impl& d = *m_pImpl;
    if (!d.m_db || d.m_readOnly || classCode == 0 || d.m_classes.count(classCode)) return FALSE;
    return d.Change([&] {
        std::string sql = "CREATE TABLE " + Quote(TableName(classCode)) + "(" + kKeyColumn + " INTEGER PRIMARY KEY";
        for (const Field& f : d.m_common) {
            std::string type;
            sql += "," + Quote(f.column) + " " + DeclaredType(f.info, type);
        }
        sql += ")";
        if (!d.Exec(sql.c_str())) return false;
        sqlite3_stmt* st = d.Prepare("INSERT INTO TamselClasses VALUES(?)");
        if (!st) return false;
        sqlite3_bind_int64(st, 1, classCode);
        if (sqlite3_step(st) != SQLITE_DONE) return false;
        d.m_classes[classCode];
        return true;
    });
}

BOOL CGeoAttributeDatabase::DeleteGC(UINT classCode) {
    Impl& d = *m_pImpl;
    if (!d.m_db || d.m_readOnly || !d.m_classes.count(classCode)) return FALSE;
    return d.Change([&] {
        d.ForgetStatements();
        std::string sql = "DROP TABLE " + Quote(TableName(classCode));
        if (!d.Exec(sql.c_str())) return false;
        sqlite3_stmt* st = d.Prepare("DELETE FROM TamselClasses WHERE Class=?");
        if (!st) return false;
        sqlite3_bind_int64(st, 1, classCode);
        if (sqlite3_step(st) != SQLITE_DONE) return false;
        d.m_classes.erase(classCode);
        return d.SaveFields(classCode);
    });
}

BOOL CGeoAttributeDatabase::SetFieldsCanNULL(CStringList& names, int bAllow, UINT classCode) {
    Impl& d = *m_pImpl;
    if (!d.m_db || d.m_readOnly || !d.Fields(classCode)) return FALSE;
    return d.Change([&] {
        bool any = false;
        for (Field& f : *d.Fields(classCode)) {
            for (POSITION p = names.GetHeadPosition(); p;) {
                if (f.info.m_strName.CompareNoCase(names.GetNext(p)) == 0) {
                    f.info.m_bRequired = bAllow ? FALSE : TRUE;
                    any = true;
                    break;
                }
            }
        }
        return any && d.SaveFields(classCode);
    });
}

BOOL CGeoAttributeDatabase::IsExistID(UINT userID, UINT classCode) {
    Impl& d = *m_pImpl;
    if (!d.m_db) return FALSE;
    return classCode == 0 ? d.FindRecordClass(userID) != 0 : d.RecordExists(userID, classCode);
}

BOOL CGeoAttributeDatabase::SetPairMark(const CString& mark) {
    Impl& d = *m_pImpl;
    return d.ChangeOne([&] {
        if (!d.Exec("CREATE TABLE IF NOT EXISTS TamselMeta(Key TEXT PRIMARY KEY, Value TEXT)")) return false;
        sqlite3_stmt* st = d.Prepare("INSERT OR REPLACE INTO TamselMeta(Key, Value) VALUES('PairMark', ?)");
        if (!st) return false;
        sqlite3_bind_text(st, 1, mark.str().data(), static_cast<int>(mark.str().size()), SQLITE_TRANSIENT);
        bool ok = sqlite3_step(st) == SQLITE_DONE;
        sqlite3_reset(st);
        return ok;
    });
}

CString CGeoAttributeDatabase::GetPairMark() {
    Impl& d = *m_pImpl;
    if (!d.m_db) return CString();
    sqlite3_stmt* st = nullptr;
    // Prepared apart from the statement cache: the table may not exist, and then there is no mark.
    if (sqlite3_prepare_v2(d.m_db, "SELECT Value FROM TamselMeta WHERE Key='PairMark'", -1, &st, nullptr) != SQLITE_OK) {
        sqlite3_finalize(st);
        return CString();
    }
    CString mark;
    if (sqlite3_step(st) == SQLITE_ROW && sqlite3_column_type(st, 0) == SQLITE_TEXT)
        mark = CString(reinterpret_cast<const char*>(sqlite3_column_text(st, 0)), sqlite3_column_bytes(st, 0));
    sqlite3_finalize(st);
    return mark;
}

BOOL CGeoAttributeDatabase::NewID(UINT userID, CValueList* pValues, UINT classCode) {
    Impl& d = *m_pImpl;
    if (classCode == 0 || !d.m_classes.count(classCode)) return FALSE;
    return d.ChangeOne([&] { return d.WriteRecord(userID, classCode, pValues, true); });
}

BOOL CGeoAttributeDatabase::NewID(CValueListList* pLists, UINT classCode) {
    Impl& d = *m_pImpl;
    if (!d.m_db || d.m_readOnly || !pLists) return FALSE;
    if (classCode != 0 && !d.m_classes.count(classCode)) return FALSE;
    // Every list must be headed by a user ID.
    std::vector<UINT> ids;
    for (POSITION p = pLists->GetHeadPosition(); p;) {
        CValueList* l = pLists->GetNext(p);
        if (!l || l->IsEmpty()) return FALSE;
        double v = 0;
        long long id = 0;
        if (!NumberOf(l->GetHead(), v) || v != std::floor(v) || !Whole(v, 0, 4294967295.0, id)) return FALSE;
        ids.push_back(static_cast<UINT>(id));
    }
    if (classCode == 0) return TRUE;
    return d.Change([&] {
        size_t k = 0;
        for (POSITION p = pLists->GetHeadPosition(); p; ++k) {
            CValueList* l = pLists->GetNext(p);
            CValueList values;
            POSITION q = l->GetHeadPosition();
            for (l->GetNext(q); q;) values.AddTail(l->GetNext(q));
            if (!d.WriteRecord(ids[k], classCode, &values, true)) return false;
        }
        return true;
    });
}

BOOL CGeoAttributeDatabase::SetIDValue(UINT userID, CValueList* pValues, UINT classCode, LPCTSTR lpszField) {
    Impl& d = *m_pImpl;
    if (!pValues || classCode == 0 || !d.m_classes.count(classCode)) return FALSE;
    CString field(lpszField);
    if (field.IsEmpty()) return d.ChangeOne([&] { return d.WriteRecord(userID, classCode, pValues, false); });
    if (pValues->IsEmpty()) return FALSE;
    for (const Field* pf : d.RecordFields(classCode)) {
        const Field& f = *pf;
        if (f.info.m_strName.CompareNoCase(field) != 0) continue;
        Stored s;
        if (!ConvertValue(pValues->GetHead(), f.info, s) || (s.kind == Stored::Null && f.info.m_bRequired))
            return FALSE;
        return d.ChangeOne([&] {
            sqlite3_stmt* st = d.Prepare("UPDATE " + Quote(TableName(classCode)) + " SET " + Quote(f.column) +
                                         "=? WHERE " + kKeyColumn + "=?");
            if (!st) return false;
            BindStored(st, 1, s);
            sqlite3_bind_int64(st, 2, userID);
            bool ok = sqlite3_step(st) == SQLITE_DONE && sqlite3_changes(d.m_db) == 1;
            sqlite3_reset(st);
            return ok;
        });
    }
    return FALSE;
}

BOOL CGeoAttributeDatabase::GetIDValue(UINT userID, CValueList* pValues, UINT classCode, LPCTSTR lpszField) {
    Impl& d = *m_pImpl;
    if (!d.m_db || !pValues) return FALSE;
    UINT table = classCode;
    std::vector<const Field*> fields;
    if (classCode == 0) {
        table = d.FindRecordClass(userID);
        fields = d.RecordFields(0);
    } else {
        fields = d.RecordFields(classCode);
    }
    if (!d.m_classes.count(table)) return FALSE;
    CString field(lpszField);
    if (!field.IsEmpty()) {
        std::vector<const Field*> one;
        for (const Field* f : fields)
            if (f->info.m_strName.CompareNoCase(field) == 0) {
                one.push_back(f);
                break;
            }
        if (one.empty()) return FALSE;
        fields.swap(one);
    }
    std::string sql = "SELECT " + std::string(kKeyColumn);
    for (const Field* f : fields) sql += "," + Quote(f->column);
    sql += " FROM " + Quote(TableName(table)) + " WHERE " + kKeyColumn + "=?";
    sqlite3_stmt* st = d.Prepare(sql);
    if (!st) return FALSE;
    sqlite3_bind_int64(st, 1, userID);
    if (sqlite3_step(st) != SQLITE_ROW) {
        sqlite3_reset(st);
        return FALSE;
    }
    for (size_t i = 0; i < fields.size(); ++i) {
        COleVariant v = ReadValue(st, static_cast<int>(i) + 1, fields[i]->info);
        pValues->AddTail(v);
    }
    sqlite3_reset(st);
    return TRUE;
}

BOOL CGeoAttributeDatabase::GetFieldValue(UINT userID, LPCTSTR lpszField, COleVariant& value, UINT classCode) {
    CValueList one;
    if (!lpszField || !*lpszField || !GetIDValue(userID, &one, classCode, lpszField)) return FALSE;
    value = one.GetHead();
    return TRUE;
}

BOOL CGeoAttributeDatabase::RemoveID(UINT userID) {
    Impl& d = *m_pImpl;
    return d.Change([&] {
        for (auto& c : d.m_classes) {
            sqlite3_stmt* st = d.Prepare("DELETE FROM " + Quote(TableName(c.first)) + " WHERE " + kKeyColumn + "=?");
            if (!st) return false;
            sqlite3_bind_int64(st, 1, userID);
            int rc = sqlite3_step(st);
            sqlite3_reset(st);
            if (rc != SQLITE_DONE) return false;
        }
        return true;
    });
}

LONG CGeoAttributeDatabase::GetIDCount(UINT classCode) {
    Impl& d = *m_pImpl;
    if (!d.m_db || (classCode != 0 && !d.m_classes.count(classCode))) return -1;
    long long total = 0;
    for (auto& c : d.m_classes) {
        if (classCode != 0 && c.first != classCode) continue;
        sqlite3_stmt* st = d.Prepare("SELECT count(*) FROM " + Quote(TableName(c.first)));
        if (!st) return -1;
        if (sqlite3_step(st) == SQLITE_ROW) total += sqlite3_column_int64(st, 0);
        sqlite3_reset(st);
    }
    return static_cast<LONG>(total);
}

BOOL CGeoAttributeDatabase::HasAnyID(UINT classCode) {
    Impl& d = *m_pImpl;
    if (!d.m_db) return FALSE;
    for (auto& c : d.m_classes) {
        if (classCode != 0 && c.first != classCode) continue;
        sqlite3_stmt* st = d.Prepare("SELECT 1 FROM " + Quote(TableName(c.first)) + " LIMIT 1");
        if (!st) return FALSE;
        const bool any = sqlite3_step(st) == SQLITE_ROW;
        sqlite3_reset(st);
        if (any) return TRUE;
    }
    return FALSE;
}

namespace {

int FindFieldIndex(const FieldList& list, const CString& name) {
    for (size_t i = 0; i < list.size(); ++i)
        if (list[i].info.m_strName.CompareNoCase(name) == 0) return static_cast<int>(i);
    return -1;
}

}  // namespace

BOOL CGeoAttributeDatabase::ModifyGCID(UINT oldCode, UINT newCode) {
    Impl& d = *m_pImpl;
    if (!d.m_db || d.m_readOnly || newCode == 0 || !d.m_classes.count(oldCode) || d.m_classes.count(newCode))
        return FALSE;
    return d.Change([&] {
        d.ForgetStatements();
        d.m_writeSql.clear();
        d.m_existsSql.erase(oldCode);
        d.m_existsSql.erase(newCode);
        std::string sql = "ALTER TABLE " + Quote(TableName(oldCode)) + " RENAME TO " + Quote(TableName(newCode));
        if (!d.Exec(sql.c_str())) return false;
        for (const char* q : {"UPDATE TamselClasses SET Class=? WHERE Class=?", "UPDATE TamselFields SET Class=? WHERE Class=?"}) {
            sqlite3_stmt* st = d.Prepare(q);
            if (!st) return false;
            sqlite3_bind_int64(st, 1, newCode);
            sqlite3_bind_int64(st, 2, oldCode);
            if (sqlite3_step(st) != SQLITE_DONE) return false;
        }
        d.m_classes[newCode].swap(d.m_classes[oldCode]);
        d.m_classes.erase(oldCode);
        return true;
    });
}

BOOL CGeoAttributeDatabase::ModifyFieldInfo(LPCTSTR lpszOldName, CDaoFieldInfo& info, UINT classCode) {
    Impl& d = *m_pImpl;
    if (!d.m_db || d.m_readOnly || !IsKnownType(info.m_nType) || info.m_strName.IsEmpty()) return FALSE;
    FieldList* list = d.Fields(classCode);
    if (!list) return FALSE;
    const CString oldName(lpszOldName ? lpszOldName : "");
    const int k = FindFieldIndex(*list, oldName);
    if (k < 0) return FALSE;
    const bool renamed = info.m_strName.CompareNoCase(oldName) != 0;
    if (renamed && d.NameTaken(info.m_strName, classCode)) return FALSE;
    return d.Change([&] {
        d.ForgetStatements();
        d.m_writeSql.clear();
        FieldList& fields = *d.Fields(classCode);
        const Field before = fields[k];
        Field after = before;
        after.info = info;
        std::vector<UINT> tables;
        for (auto& c : d.m_classes)
            if (classCode == 0 || c.first == classCode) tables.push_back(c.first);
        if (renamed) {
            // The column follows the field's name where the name can be a column of its own (the field's
            // present column does not count as taken).
            fields[k].column.clear();
            after.column = d.PickColumnName(info.m_strName, classCode);
            fields[k] = before;
        }
        const bool retype = before.info.m_nType != info.m_nType;
        const bool shrink = info.m_nType == dbText && info.m_lSize > 0 &&
                            (before.info.m_nType != dbText || before.info.m_lSize <= 0 || info.m_lSize < before.info.m_lSize);
        // Every value is read as the old field and converted to the new one before anything is written.
        std::vector<std::vector<std::pair<long long, Stored>>> values(tables.size());
        if (retype || shrink) {
            for (size_t t = 0; t < tables.size(); ++t) {
                sqlite3_stmt* st = d.Prepare("SELECT " + std::string(kKeyColumn) + "," + Quote(before.column) + " FROM " +
                                             Quote(TableName(tables[t])));
                if (!st) return false;
                int rc;
                while ((rc = sqlite3_step(st)) == SQLITE_ROW) {
                    Stored s;
                    if (!ConvertValue(ReadValue(st, 1, before.info), info, s)) return false;
                    values[t].emplace_back(sqlite3_column_int64(st, 0), s);
                }
                sqlite3_reset(st);
                if (rc != SQLITE_DONE) return false;
            }
        }
        if (renamed && after.column != before.column) {
            for (UINT code : tables) {
                std::string sql = "ALTER TABLE " + Quote(TableName(code)) + " RENAME COLUMN " + Quote(before.column) + " TO " +
                                  Quote(after.column);
                if (!d.Exec(sql.c_str())) return false;
            }
        }
        fields[k] = after;
        if (retype) {
            // A column's declared type decides how SQLite keeps its values, so the tables are rebuilt with
            // the new type before the converted values go in.
            for (size_t t = 0; t < tables.size(); ++t) {
                const UINT code = tables[t];
                const std::string name = TableName(code), old = name + "_old";
                std::string cols = kKeyColumn, decl = std::string(kKeyColumn) + " INTEGER PRIMARY KEY";
                for (const Field* f : d.RecordFields(code)) {
                    std::string type;
                    cols += "," + Quote(f->column);
                    decl += "," + Quote(f->column) + " " + DeclaredType(f->info, type);
                }
                const std::string sql = "ALTER TABLE " + Quote(name) + " RENAME TO " + Quote(old) + ";CREATE TABLE " +
                                        Quote(name) + "(" + decl + ");INSERT INTO " + Quote(name) + "(" + cols + ") SELECT " +
                                        cols + " FROM " + Quote(old) + ";DROP TABLE " + Quote(old) + ";";
                if (!d.Exec(sql.c_str())) return false;
                sqlite3_stmt* up = d.Prepare("UPDATE " + Quote(name) + " SET " + Quote(after.column) + "=? WHERE " +
                                             kKeyColumn + "=?");
                if (!up) return false;
                for (auto& v : values[t]) {
                    sqlite3_reset(up);
                    sqlite3_clear_bindings(up);
                    BindStored(up, 1, v.second);
                    sqlite3_bind_int64(up, 2, v.first);
                    if (sqlite3_step(up) != SQLITE_DONE) return false;
                }
                sqlite3_reset(up);
            }
        }
        return d.SaveFields(classCode);
    });
}

BOOL CGeoAttributeDatabase::DeleteField(LPCTSTR lpszName, UINT classCode) {
    Impl& d = *m_pImpl;
    if (!d.m_db || d.m_readOnly || !d.Fields(classCode)) return FALSE;
    const int k = FindFieldIndex(*d.Fields(classCode), CString(lpszName ? lpszName : ""));
    if (k < 0) return FALSE;
    return d.Change([&] {
        d.ForgetStatements();
        d.m_writeSql.clear();
        FieldList& fields = *d.Fields(classCode);
        for (auto& c : d.m_classes) {
            if (classCode != 0 && c.first != classCode) continue;
            std::string sql = "ALTER TABLE " + Quote(TableName(c.first)) + " DROP COLUMN " + Quote(fields[k].column);
            if (!d.Exec(sql.c_str())) return false;
        }
        fields.erase(fields.begin() + k);
        return d.SaveFields(classCode);
    });
}

BOOL CGeoAttributeDatabase::SetFieldPos(CUIntArray& positions, CStringArray& names, UINT classCode) {
    Impl& d = *m_pImpl;
    if (!d.m_db || d.m_readOnly || !d.Fields(classCode)) return FALSE;
    FieldList& fields = *d.Fields(classCode);
    if (positions.GetSize() != names.GetSize() || static_cast<size_t>(names.GetSize()) != fields.size()) return FALSE;
    std::vector<std::pair<UINT, int>> order;  // (position, field index)
    std::vector<bool> seen(fields.size(), false);
    for (INT_PTR i = 0; i < names.GetSize(); ++i) {
        const int k = FindFieldIndex(fields, names[i]);
        if (k < 0 || seen[k]) return FALSE;
        seen[k] = true;
        order.emplace_back(positions[i], k);
    }
    std::stable_sort(order.begin(), order.end(),
                     [](const std::pair<UINT, int>& a, const std::pair<UINT, int>& b) { return a.first < b.first; });
    return d.Change([&] {
        d.ForgetStatements();
        d.m_writeSql.clear();
        FieldList& list = *d.Fields(classCode);
        FieldList sorted;
        for (auto& o : order) sorted.push_back(list[o.second]);
        list.swap(sorted);
        return d.SaveFields(classCode);
    });
}
