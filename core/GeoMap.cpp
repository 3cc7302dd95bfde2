#include "core/GeoMap.h"
#include "core/LayerFileMark.h"

#include "core/GeoLayer.h"

#include <ostrel/ostrel.h>

#include <exception>
#include <memory>

IMPLEMENT_SERIAL(CGeoMap, CGeoObject, 0)

int CGeoMap::s_nMapCount = 0;
const char* const CGeoMap::kInvalidFileName = "\\\\\\";

namespace {

// Layer files run to tens of megabytes: a large archive buffer keeps the system calls per object low.
const UINT kLayerFileBuffer = 1 << 16;

// The layer classes a layer file may name. They register themselves when their libraries are built in,
// so a file naming a class this process does not hold loads like any other unknown name.
const char* const kLayerClassNames[] = {"CGeoVectorLayer", "CGeoImageLayer", "CGeoDEMLayer"};

CGeoLayer* CreateLayerByClassName(const CString& name) {
    for (const char* known : kLayerClassNames) {
        if (name != known) continue;
        CRuntimeClass* cls = CRuntimeClass::FromName(known);
        if (!cls || !cls->IsDerivedFrom(RUNTIME_CLASS(CGeoLayer))) return nullptr;
        return static_cast<CGeoLayer*>(cls->CreateObject());
    }
    return nullptr;
}

const char kLayerNotSaved[] = "图层未保存: ";
const char kLayerNotRead[] = "图层文件无法读取: ";

bool EndsWithLyr(const CString& path) {
    if (path.GetLength() <= 4) return false;
    CString tail = path.Right(4);
    tail.MakeUpper();
    return tail == ".LYR";
}

}  // namespace

CGeoMap::CGeoMap() {
    ++s_nMapCount;
    DefaultObjectName();
}

CGeoMap::CGeoMap(const CRect& bounds) : CGeoMap() { m_rcBounds = bounds; }

CGeoMap::~CGeoMap() { ClearMap(); }

void CGeoMap::DefaultObjectName() { m_strName = CString("图 ") + itos(s_nMapCount); }

void CGeoMap::ClearMap() {
    while (!m_layers.IsEmpty()) delete m_layers.RemoveTail();
}

int CGeoMap::AddLayer(CGeoLayer* pLayer, int nPosition) {
    if (!pLayer || m_layers.Find(pLayer)) return 0;
    if (nPosition == -2) {
        m_layers.AddHead(pLayer);
    } else if (nPosition == -1) {
        m_layers.AddTail(pLayer);
    } else {
        POSITION at = m_layers.FindIndex(nPosition);
        if (!at) return 0;
        m_layers.InsertAfter(at, pLayer);
    }
    return 1;
}

int CGeoMap::DelLayer(CGeoLayer* pLayer) {
    POSITION at = pLayer ? m_layers.Find(pLayer) : nullptr;
    if (!at) return 0;
    m_layers.RemoveAt(at);
    delete pLayer;
    return 1;
}

int CGeoMap::FindLayer(const CGeoLayer* pLayer) const {
    int i = 0;
    for (POSITION p = m_layers.GetHeadPosition(); p; ++i)
        if (m_layers.GetNext(p) == pLayer) return i;
    return -1;
}

CGeoLayer* CGeoMap::FindLayer(int nIndex) const {
    POSITION at = m_layers.FindIndex(nIndex);
    return at ? m_layers.GetAt(at) : nullptr;
}

CGeoLayer* CGeoMap::FindLayer(const CString& name) const {
    for (POSITION p = m_layers.GetHeadPosition(); p;) {
        CGeoLayer* layer = m_layers.GetNext(p);
        if (layer->GetObjectName() == name) return layer;
    }
    return nullptr;
}

int CGeoMap::MoveLayer(CGeoLayer* pLayer, int how) {
    POSITION at = pLayer ? m_layers.Find(pLayer) : nullptr;
    if (!at || how < 0 || how > 3) return 0;
    int i = FindLayer(pLayer);
    int last = GetLayerCount() - 1;
    if (i == 0 && (how == 1 || how == 3)) return 0;
    if (i == last && (how == 0 || how == 2)) return 0;
    switch (how) {
    case 0: {
        POSITION next = at;
        m_layers.GetNext(next);
        m_layers.RemoveAt(at);
        m_layers.InsertAfter(next, pLayer);
        break;
    }
    case 1: {
        POSITION prev = at;
        m_layers.GetPrev(prev);
        m_layers.RemoveAt(at);
        m_layers.InsertBefore(prev, pLayer);
        break;
    }
    case 2:
        m_layers.RemoveAt(at);
        m_layers.AddTail(pLayer);
        break;
    default:
        m_layers.RemoveAt(at);
        m_layers.AddHead(pLayer);
        break;
    }
    return 1;
}

int CGeoMap::SaveLayer(CGeoLayer* pLayer, CString path) {
    if (!pLayer) return 0;
    if (path.IsEmpty()) path = pLayer->GetFileName();
    if (path.IsEmpty()) {
        CFileDialog dlg(FALSE, "*.LYR", pLayer->GetObjectName(), OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT,
                        "Layer Files(*.LYR)|*.LYR|All Files(*.*)|*.*||");
        dlg.m_ofn.lpstrTitle = "保存图层";
        if (dlg.DoModal() != IDOK) return 0;
        path = dlg.GetPathName();
    }
    if (!EndsWithLyr(path)) path += ".LYR";

    CDocument doc;
    CFileException fe;
    CFile* pFile = doc.GetFile(path, CFile::modeCreate | CFile::modeReadWrite | CFile::shareExclusive, &fe);
    if (!pFile) {
        doc.ReportSaveLoadException(path, &fe, TRUE, AFX_IDP_INVALID_FILENAME);
        return 0;
    }
    CLayerFileMark::Publishing publishing;
    try {
        CArchive ar(pFile, CArchive::store | CArchive::bNoFlushOnDelete, kLayerFileBuffer);
        ar << CString(pLayer->GetRuntimeClass()->m_lpszClassName);
        pLayer->Serialize(ar);
        ar.Close();
    } catch (...) {
        // The temporary file is dropped: the layer file keeps what it held before this save.
        doc.ReleaseFile(pFile, TRUE);
        throw;
    }
    doc.ReleaseFile(pFile, FALSE);
    // The layer file is in place: it takes the generation mark its database was saved with.
    const CString mark = publishing.Take();
    if (!mark.IsEmpty()) CLayerFileMark::Write(path, mark);
    pLayer->SetFileName(path);
    return 1;
}

CGeoLayer* CGeoMap::LoadLayer(CString path) {
    CDocument doc;
    CFileException fe;
    CFile* pFile = doc.GetFile(path, CFile::modeRead | CFile::shareDenyWrite, &fe);
    if (!pFile) {
        doc.ReportSaveLoadException(path, &fe, FALSE, AFX_IDP_FAILED_TO_OPEN_DOC);
        return nullptr;
    }
    std::unique_ptr<CGeoLayer> layer;
    try {
        CArchive ar(pFile, CArchive::load, kLayerFileBuffer);
        if (pFile->GetLength() != 0) {
            CString className;
            ar >> className;
            layer.reset(CreateLayerByClassName(className));
            if (layer) layer->Serialize(ar);
        }
        ar.Close();
    } catch (...) {
        // The half-read layer is deleted by its owner here before the exception goes on.
        layer.reset();
        doc.ReleaseFile(pFile, TRUE);
        throw;
    }
    doc.ReleaseFile(pFile, FALSE);
    if (layer) layer->SetFileName(path);
    return layer.release();
}

void CGeoMap::Serialize(CArchive& ar) {
    CGeoObject::Serialize(ar);
    if (ar.IsStoring()) {
        ar << static_cast<DWORD>(m_layers.GetCount());
        for (POSITION p = m_layers.GetHeadPosition(); p;) {
            CGeoLayer* layer = m_layers.GetNext(p);
            const CString before = layer->GetFileName();
            CString why;
            bool saved = false;
            try {
                saved = SaveLayer(layer, before) != 0;
            } catch (CUserException&) {
                // Cancelled, or refused after its own message.
            } catch (CException& e) {
                why = e.GetErrorText();
            }
            if (saved) {
                ar << layer->GetFileName();
                continue;
            }
            // The layer's file still holds its last save (layer files are replaced only when complete):
            // the map keeps pointing at it rather than forgetting the layer.
            if (!before.IsEmpty()) {
                CString text = CString(kLayerNotSaved) + layer->GetObjectName() + " (" + before + ")";
                if (!why.IsEmpty()) text += "\n" + why;
                AfxMessageBox(text, MB_OK | MB_ICONEXCLAMATION);
            } else if (!why.IsEmpty()) {
                AfxMessageBox(CString(kLayerNotSaved) + layer->GetObjectName() + "\n" + why, MB_OK | MB_ICONEXCLAMATION);
            }
            ar << (before.IsEmpty() ? CString(kInvalidFileName) : before);
        }
    } else {
        DWORD n;
        ar >> n;
        while (n--) {
            CString path;
            ar >> path;
            if (path == kInvalidFileName) continue;
            // One layer that cannot be read costs that layer only: the map goes on with the others.
            CGeoLayer* layer = nullptr;
            CString why;
            try {
                layer = LoadLayer(path);
            } catch (CException& e) {
                why = e.GetErrorText();
                if (why.IsEmpty()) why = "?";
            } catch (std::exception&) {
                why = "内存不足。";
            }
            if (layer) {
                AddLayer(layer, -1);
                continue;
            }
            CFileStatus status;
            // A file that cannot be opened has been named by LoadLayer already.
            if (why.IsEmpty() && !CFile::GetStatus(path, status)) continue;
            CString text = CString(kLayerNotRead) + path;
            if (!why.IsEmpty()) text += "\n" + why;
            AfxMessageBox(text, MB_OK | MB_ICONEXCLAMATION);
        }
    }
}
