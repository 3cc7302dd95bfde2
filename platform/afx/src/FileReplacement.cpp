#include "afx/FileReplacement.h"

#include "afx/File.h"
#include "win32/codepage.h"

#include <dirent.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

std::string Native(const CString& gbk) { return win32::GbkPathToNative(gbk.str()); }

CString TempNameFor(const CString& target) {
    static std::atomic<int> counter{0};
    CString name;
    name.Format("%s~%s.%d.%d.tmp", static_cast<LPCTSTR>(afx::PathFolder(target)),
                static_cast<LPCTSTR>(afx::PathFileName(target)), static_cast<int>(::getpid()), counter++);
    return name;
}

CString JournalFor(const CString& firstTarget) {
    return afx::PathFolder(firstTarget) + "~" + afx::PathFileName(firstTarget) + ".commit";
}

bool Exists(const CString& path) {
    struct stat st;
    return ::stat(Native(path).c_str(), &st) == 0;
}

void SetError(CFileException* pError, int err, const CString& name) {
    if (!pError) return;
    pError->m_cause = CFileException::OsErrorToException(err);
    pError->m_lOsError = err;
    pError->m_strFileName = name;
}

// Removes the temporary files a save of target left behind when its process died before it could
// commit or drop them ("~<name>.<pid>.<n>.tmp" of a process that no longer exists). Files of live
// processes, this one included, are theirs to finish.
void RemoveStaleTempFiles(const CString& target) {
    const std::string folder = Native(afx::PathFolder(target));
    const std::string prefix = "~" + Native(afx::PathFileName(target)) + ".";
    DIR* dir = ::opendir(folder.empty() ? "." : folder.c_str());
    if (!dir) return;
    std::vector<std::string> stale;
    while (dirent* e = ::readdir(dir)) {
        const std::string name = e->d_name;
        if (name.size() <= prefix.size() + 4 || name.compare(0, prefix.size(), prefix) != 0 ||
            name.compare(name.size() - 4, 4, ".tmp") != 0)
            continue;
        // What lies between is "<pid>.<counter>", both decimal.
        const std::string middle = name.substr(prefix.size(), name.size() - prefix.size() - 4);
        const size_t dot = middle.find('.');
        if (dot == std::string::npos || dot == 0 || dot + 1 == middle.size() ||
            middle.find_first_not_of("0123456789.") != std::string::npos || middle.find('.', dot + 1) != std::string::npos)
            continue;
        const long pid = std::strtol(middle.substr(0, dot).c_str(), nullptr, 10);
        if (pid <= 0 || pid == ::getpid()) continue;
        if (::kill(static_cast<pid_t>(pid), 0) == -1 && errno == ESRCH) stale.push_back(folder + name);
    }
    ::closedir(dir);
    for (const std::string& path : stale) ::unlink(path.c_str());
}

// The journal's lines: "<temporary>\t<target>\n" per file (GBK paths hold neither byte).
bool ReadJournal(const std::string& native, std::vector<std::pair<CString, CString>>& pairs) {
    FILE* fp = std::fopen(native.c_str(), "rb");
    if (!fp) return false;
    std::string text;
    char buf[4096];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, fp)) > 0) text.append(buf, n);
    std::fclose(fp);
    size_t pos = 0;
    while (pos < text.size()) {
        const size_t eol = text.find('\n', pos);
        if (eol == std::string::npos) break;
        const std::string line = text.substr(pos, eol - pos);
        pos = eol + 1;
        const size_t tab = line.find('\t');
        if (tab == std::string::npos || tab == 0 || tab + 1 == line.size()) continue;
        pairs.emplace_back(CString(line.substr(0, tab).c_str()), CString(line.substr(tab + 1).c_str()));
    }
    return true;
}

}  // namespace

CFileReplacement::~CFileReplacement() { Abort(); }

BOOL CFileReplacement::Add(const CString& target, CString& rTemp, CFileException* pError) {
    const std::string native = Native(target);
    Recover(target);
    RemoveStaleTempFiles(target);
    if (m_entries.empty()) RemoveStaleTempFiles(JournalFor(target));
    struct stat st;
    if (::stat(native.c_str(), &st) == 0 && (st.st_mode & 0222) == 0) {
        // A file the user marked read-only is not replaced behind the mark's back, even where the
        // folder would allow the rename.
        SetError(pError, EACCES, target);
        return FALSE;
    }
    rTemp = TempNameFor(target);
    m_entries.push_back({target, rTemp});
    return TRUE;
}

BOOL CFileReplacement::Commit(CFileException* pError) {
    for (const Entry& e : m_entries) {
        if (!Exists(e.temp)) {
            SetError(pError, ENOENT, e.target);
            return FALSE;
        }
    }
    for (const Entry& e : m_entries) {
        struct stat st;
        if (::stat(Native(e.target).c_str(), &st) == 0) ::chmod(Native(e.temp).c_str(), st.st_mode & 07777);
    }
    std::string journal;
    if (m_entries.size() > 1) {
        const CString journalName = JournalFor(m_entries.front().target);
        const CString journalTemp = TempNameFor(journalName);
        std::string text;
        for (const Entry& e : m_entries) text += e.temp.str() + "\t" + e.target.str() + "\n";
        const std::string nativeTemp = Native(journalTemp);
        FILE* fp = std::fopen(nativeTemp.c_str(), "wb");
        if (!fp) {
            SetError(pError, errno, journalName);
            return FALSE;
        }
        bool ok = std::fwrite(text.data(), 1, text.size(), fp) == text.size();
        int err = ok ? 0 : errno;
        if (std::fclose(fp) != 0 && ok) {
            ok = false;
            err = errno;
        }
        journal = Native(journalName);
        if (ok && ::rename(nativeTemp.c_str(), journal.c_str()) != 0) {
            ok = false;
            err = errno;
        }
        if (!ok) {
            ::unlink(nativeTemp.c_str());
            SetError(pError, err ? err : EIO, journalName);
            return FALSE;
        }
    }
    // From here the journal names the temporaries: they are left for Recover when a rename fails.
    std::vector<Entry> entries;
    entries.swap(m_entries);
    for (const Entry& e : entries) {
        if (::rename(Native(e.temp).c_str(), Native(e.target).c_str()) != 0) {
            const int err = errno;
            // A reader's Recover may have finished this rename already.
            if (!journal.empty() && err == ENOENT && Exists(e.target)) continue;
            if (journal.empty()) ::unlink(Native(e.temp).c_str());
            SetError(pError, err, e.target);
            return FALSE;
        }
    }
    if (!journal.empty()) ::unlink(journal.c_str());
    return TRUE;
}

void CFileReplacement::Abort() {
    for (const Entry& e : m_entries) ::unlink(Native(e.temp).c_str());
    m_entries.clear();
}

void CFileReplacement::Recover(const CString& firstTarget) {
    const std::string journal = Native(JournalFor(firstTarget));
    std::vector<std::pair<CString, CString>> pairs;
    if (!ReadJournal(journal, pairs)) return;
    bool done = true;
    for (const auto& p : pairs) {
        if (::rename(Native(p.first).c_str(), Native(p.second).c_str()) != 0 && errno != ENOENT) done = false;
    }
    if (done) ::unlink(journal.c_str());
}

CString CFileReplacement::FailureText(const CString& path, const CFileException& e) {
    CFileException named(e.m_cause, e.m_lOsError, e.m_strFileName.IsEmpty() ? static_cast<LPCTSTR>(path)
                                                                              : static_cast<LPCTSTR>(e.m_strFileName));
    return named.GetErrorText();
}
