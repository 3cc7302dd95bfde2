// Replacing files as a whole. Every file of one save is written beside its target under a temporary
// name ("~<name>.<pid>.<n>.tmp" in the target's folder); only when all of them are complete are they
// renamed over their targets, so a save that fails or is killed halfway leaves the previous files as
// they were.
//
// A save of several files (a grid and its header, say) is committed through a journal: before the
// first rename, a file "~<first target's name>.commit" beside the first target lists every temporary
// and its target; it is removed after the last rename. A process killed between two renames leaves the
// journal behind, and the next Recover of the first target (readers call it before they open the
// files; the next save does it too) finishes the renames, so the files are never found half old and
// half new.
//
//     CFileReplacement save;
//     CString temp;
//     if (!save.Add(target, temp, &e)) ...   // write the new content to temp
//     if (!save.Commit(&e)) ...               // the targets now hold the new content
//
// Paths are GBK, as everywhere in the class library.
#pragma once

#include "afx/Exception.h"
#include "afx/String.h"

#include <vector>

class CFileReplacement {
public:
    CFileReplacement() = default;
    // Deletes the temporaries of a save that was never committed.
    ~CFileReplacement();
    CFileReplacement(const CFileReplacement&) = delete;
    CFileReplacement& operator=(const CFileReplacement&) = delete;

    // Takes target into this save and gives the temporary path to write its new content to (no file
    // is made; the caller creates it). Finishes a committed save of target that a killed process left
    // (Recover) and deletes the temporaries of dead processes first. A target that exists with no
    // write permission for anyone (a read-only file) is refused: FALSE, with accessDenied and the
    // target's name in *pError when given. Targets of one save must differ.
    BOOL Add(const CString& target, CString& rTemp, CFileException* pError = nullptr);

    // Renames every temporary over its target, in the order added; each new file takes the permission
    // bits of the file it replaces. A temporary that is missing (the caller never wrote it) fails the
    // commit before anything is renamed. FALSE with the cause and the file in *pError when a rename
    // fails; the files renamed before it stay in place, and the journal of a save of several files is
    // left behind for Recover to finish when the failure was not the journal's own. TRUE when every
    // target holds its new content. A save with no target commits nothing and returns TRUE.
    BOOL Commit(CFileException* pError = nullptr);

    // Deletes the temporaries and forgets the targets; nothing already renamed is undone.
    void Abort();

    // Finishes the commit of a save whose first target was firstTarget when its journal is present (a
    // process died between its renames): the temporaries still there are renamed over their targets
    // and the journal is deleted. Nothing happens when there is no journal. Never throws.
    static void Recover(const CString& firstTarget);

    // The text for a failed save of path: the cause in e (its file name when it has one, else path,
    // then the reason).
    static CString FailureText(const CString& path, const CFileException& e);

private:
    struct Entry {
        CString target;
        CString temp;
    };
    std::vector<Entry> m_entries;
};
