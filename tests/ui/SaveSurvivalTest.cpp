// Every kind of file the library saves, put through the two things a save must survive: the process
// killed at a random moment of it, and a disk that fills up under it. Each writer saves one of two
// variants of its file; afterwards the file must load as exactly one of them, never as neither, and a
// save that failed must have said so.
#include "annotation/GeoClassLabel.h"
#include "core/GeoMap.h"
#include "core/GeoTemplet.h"
#include "core/GeoTheme.h"
#include "core/GeoVectorLayer.h"
#include "raster/GeoImage.h"
#include "raster/GeoImageLayer.h"
#include "support/TempDir.h"
#include "terrain/DemFixtures.h"
#include "ui/Scheme.h"
#include "vector/GeoPLine.h"

#include <afx/Document.h>
#include <afx/WinApp.h>
#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <functional>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using testsupport::TempDir;

// A writer: save writes variant 0 or 1 at path (a file in a folder of its own) and tells whether the
// save reported success (an exception counts as a failure, its text as the message); which tells the
// variant the file(s) at path load as, -1 when they do not load as either.
struct Writer {
    std::string name;
    std::string file;
    std::function<bool(const std::string& path, int variant)> save;
    std::function<int(const std::string& path)> which;
};

// A layer saved as a host saves it: an exception out of SaveLayer is shown to the user.
bool SaveAsHost(CGeoMap& map, CGeoLayer* layer, const std::string& path) {
    try {
        return map.SaveLayer(layer, path.c_str()) == 1;
    } catch (CException& e) {
        AfxMessageBox(e.GetErrorText());
        return false;
    }
}

// ---- vector layer files and maps ----

int LayerObjects(int variant) { return variant ? 900 : 600; }

CGeoVectorLayer* MakeVectorLayer(int variant) {
    CRect bounds(0, 0, 100000, 100000);
    CGeoVectorLayer* layer = CreateVectorLayer(&bounds, nullptr, "roads", "", 0);
    for (int i = 0; i < LayerObjects(variant); ++i) {
        POINT pts[6];
        for (int k = 0; k < 6; ++k) pts[k] = {i * 10 + k * 3, (i * 7 + k * 11) % 100000};
        layer->Add(new CGeoPLine(6, pts, FALSE));
    }
    return layer;
}

// The variant a loaded layer file holds by its object count; -1 when it does not load.
int LayerVariant(const std::string& path) {
    CGeoMap map;
    std::unique_ptr<CGeoLayer> layer;
    try {
        layer.reset(map.LoadLayer(path.c_str()));
    } catch (...) {
        return -1;
    }
    auto* vector = dynamic_cast<CGeoVectorLayer*>(layer.get());
    if (!vector) return -1;
    for (int v = 0; v < 2; ++v)
        if (vector->GetObjectCount() == LayerObjects(v)) return v;
    return -1;
}

Writer LayerFileWriter() {
    return {"layer file", "roads.LYR",
            [](const std::string& path, int variant) {
                std::unique_ptr<CGeoVectorLayer> layer(MakeVectorLayer(variant));
                CGeoMap map;
                return SaveAsHost(map, layer.get(), path);
            },
            LayerVariant};
}

// A map of three layer files beside it, saved as a host saves its document. Its layers are each the
// previous or the new save, independently; the map is sound when it loads all three.
const int kMapLayers = 3;

Writer MapWriter() {
    return {"map", "world.map",
            [](const std::string& path, int variant) {
                CGeoMap map;
                const std::string folder = path.substr(0, path.rfind('/') + 1);
                for (int i = 0; i < kMapLayers; ++i) {
                    CGeoVectorLayer* layer = MakeVectorLayer(variant);
                    layer->SetFileName((folder + "layer" + std::to_string(i) + ".LYR").c_str());
                    map.AddLayer(layer, -1);
                }
                const size_t before = AfxGetMessageLog().size();
                CDocument doc;
                CFileException fe;
                CFile* file = doc.GetFile(path.c_str(), CFile::modeCreate | CFile::modeReadWrite, &fe);
                if (!file) return false;
                try {
                    CArchive ar(file, CArchive::store | CArchive::bNoFlushOnDelete);
                    map.Serialize(ar);
                    ar.Close();
                    doc.ReleaseFile(file, FALSE);
                } catch (CException& e) {
                    doc.ReleaseFile(file, TRUE);
                    AfxMessageBox(e.GetErrorText());
                    return false;
                }
                return AfxGetMessageLog().size() == before;  // no layer reported unsaved
            },
            [](const std::string& path) {
                CGeoMap map;
                const size_t before = AfxGetMessageLog().size();
                try {
                    CFile file(path.c_str(), CFile::modeRead);
                    CArchive ar(&file, CArchive::load);
                    map.Serialize(ar);
                } catch (...) {
                    return -1;
                }
                if (map.GetLayerCount() != kMapLayers || AfxGetMessageLog().size() != before) return -1;
                auto* first = dynamic_cast<CGeoVectorLayer*>(map.FindLayer(0));
                for (int v = 0; v < 2; ++v)
                    if (first && first->GetObjectCount() == LayerObjects(v)) return v;
                return -1;
            }};
}

// ---- images: an image layer whose image is written with it ----

const int kImageSide = 256;

int PixelOf(int x, int y, int variant) { return (x * 7 + y * 13 + variant * 100) & 0xFF; }

Writer ImageLayerWriter(const char* extension) {
    const std::string image = std::string("photo.") + extension;
    return {std::string("image layer (") + extension + ")", "photo.LYR",
            [image](const std::string& path, int variant) {
                const std::string folder = path.substr(0, path.rfind('/') + 1);
                tagRasterParameter p{};
                p.m_nScale = 10000;
                p.m_dXResolution = p.m_dYResolution = 300.0;
                p.m_dPixelSize = 1.0;
                std::unique_ptr<CGeoImageLayer> layer(CreateImageLayer(nullptr, "", "", 1, 0));
                auto* img = new CGeoImage(kImageSide, kImageSide, 8, 0, 0, p);
                layer->Add(img);
                img->SetRasterFileName((folder + image).c_str());
                BYTE* bits = img->GetDIB()->GetDIBBits();
                const DWORD stride = img->GetDIB()->GetBytesPerLine();
                for (int y = 0; y < kImageSide; ++y)
                    for (int x = 0; x < kImageSide; ++x) bits[y * stride + x] = static_cast<BYTE>(PixelOf(x, y, variant));
                img->Modified(1);
                CGeoMap map;
                return SaveAsHost(map, layer.get(), path);
            },
            [](const std::string& path) {
                CGeoMap map;
                std::unique_ptr<CGeoLayer> layer;
                const size_t before = AfxGetMessageLog().size();
                try {
                    layer.reset(map.LoadLayer(path.c_str()));
                } catch (...) {
                    return -1;
                }
                auto* images = dynamic_cast<CGeoImageLayer*>(layer.get());
                if (!images || images->GetObjectCount() != 1 || AfxGetMessageLog().size() != before) return -1;
                auto* img = static_cast<CGeoImage*>(images->GetObjectList().GetHead());
                const CNewDIB* dib = img->GetDIB();
                if (!dib->Ready() || dib->GetWidth() != kImageSide || dib->GetHeight() != kImageSide) return -1;
                for (int v = 0; v < 2; ++v) {
                    bool all = true;
                    for (int y = 0; y < kImageSide && all; y += 5)
                        for (int x = 0; x < kImageSide && all; x += 3) all = dib->GetPixelIndex(x, y) == PixelOf(x, y, v);
                    if (all) return v;
                }
                return -1;
            }};
}

// ---- DEM grids ----

// The two variants differ in shape as well as values, so that a header of one save read with the
// grid of another cannot pass. Both are made before any child starts: a grid lives in a mapped file,
// which a child under a file-size limit could not make.
using Grids = std::shared_ptr<std::unique_ptr<CGeoDEM>[]>;

Grids MakeGrids() {
    Grids grids(new std::unique_ptr<CGeoDEM>[2]);
    for (int v = 0; v < 2; ++v)
        grids[v] = demtest::MakeDemFn(v ? 120 : 180, v ? 180 : 120, [v](int c, int r) { return c * 3 + r * 7 + v * 1000; },
                                      5000, 90000);
    return grids;
}

std::function<int(const std::string&)> GridVariant(Grids grids) {
    return [grids](const std::string& path) {
        CGeoDEM dem;
        const size_t before = AfxGetMessageLog().size();
        if (!dem.LoadRasterFile(path.c_str()) || AfxGetMessageLog().size() != before) return -1;
        for (int v = 0; v < 2; ++v) {
            const CGeoDEM& want = *grids[v];
            if (dem.GetWidth() != want.GetWidth() || dem.GetHeight() != want.GetHeight()) continue;
            const size_t n = static_cast<size_t>(want.GetWidth()) * want.GetHeight();
            if (std::memcmp(dem.GetNodes(), want.GetNodes(), n * sizeof(LONG)) == 0) return v;
        }
        return -1;
    };
}

Writer GrdWriter() {
    Grids grids = MakeGrids();
    return {"DEM grid (.grd)", "height.grd",
            [grids](const std::string& path, int variant) { return grids[variant]->SaveAsGrd(path.c_str()) == 1; },
            GridVariant(grids)};
}

Writer BilWriter(int bits) {
    Grids grids = MakeGrids();
    return {"DEM grid (.bil, " + std::to_string(bits) + " bits)", "height.bil",
            [grids, bits](const std::string& path, int variant) { return grids[variant]->SaveAsBil(path.c_str(), bits) == 1; },
            GridVariant(grids)};
}

// ---- label sets, scheme files, templets ----

int Entries(int variant) { return variant ? 90 : 60; }

Writer LabelSetWriter() {
    return {"label set", "labels.lab",
            [](const std::string& path, int variant) {
                CGeoProLabel sets[3];
                for (int i = 0; i < Entries(variant); ++i) {
                    CGeoLayerLabel layer;
                    layer.SetLayerName(("layer " + std::to_string(i)).c_str());
                    CGeoClassLabel label;
                    label.SetClassID(static_cast<UINT>(i + 1));
                    layer.Add(label);
                    for (CGeoProLabel& set : sets) set.Add(&layer);
                }
                return WriteGeoAttributeLabel(path.c_str(), sets[0], sets[1], sets[2]) == 1;
            },
            [](const std::string& path) {
                CGeoProLabel sets[3];
                if (!ReadGeoAttributeLabel(path.c_str(), sets[0], sets[1], sets[2])) return -1;
                for (int v = 0; v < 2; ++v)
                    if (sets[0].GetSize() == Entries(v) && sets[2].GetSize() == Entries(v)) return v;
                return -1;
            }};
}

CGeoTheme NamedTheme(int i) {
    CGeoTheme theme;
    theme.SetName(("theme " + std::to_string(i)).c_str());
    return theme;
}

Writer SchemeFileWriter() {
    return {"scheme file", "plan.sch",
            [](const std::string& path, int variant) {
                CTypedPtrList<CObList, CGeoTheme*> list;
                for (int i = 0; i < Entries(variant); ++i) list.AddTail(new CGeoTheme(NamedTheme(i)));
                const bool saved = SaveSchemeFile(list, path.c_str()) == 1;
                while (!list.IsEmpty()) delete list.RemoveHead();
                return saved;
            },
            [](const std::string& path) {
                CTypedPtrList<CObList, CGeoTheme*> list;
                int result = -1;
                try {
                    if (ReadSchemeFile(path.c_str(), list))
                        for (int v = 0; v < 2; ++v)
                            if (list.GetCount() == Entries(v)) result = v;
                } catch (...) {
                }
                while (!list.IsEmpty()) delete list.RemoveHead();
                return result;
            }};
}

Writer TempletWriter() {
    return {"templet", "plan.tpt",
            [](const std::string& path, int variant) {
                CGeoTemplet templet;
                for (int i = 0; i < Entries(variant); ++i) templet.AddTheme(NamedTheme(i), -2);
                return templet.SaveTemplet(path.c_str()) == 1;
            },
            [](const std::string& path) {
                CGeoTemplet templet;
                try {
                    if (!templet.LoadTemplet(path.c_str())) return -1;
                } catch (...) {
                    return -1;
                }
                for (int v = 0; v < 2; ++v)
                    if (templet.GetThemeCount() == Entries(v)) return v;
                return -1;
            }};
}

// The writers, by index (parameters of the tests below).
const char* const kWriterNames[] = {"LayerFile", "Map", "ImageLayerBmp", "ImageLayerTif", "Grd", "Bil32", "Bil16",
                                    "LabelSet", "SchemeFile", "Templet"};

Writer MakeWriter(int i) {
    switch (i) {
    case 0: return LayerFileWriter();
    case 1: return MapWriter();
    case 2: return ImageLayerWriter("bmp");
    case 3: return ImageLayerWriter("tif");
    case 4: return GrdWriter();
    case 5: return BilWriter(32);
    case 6: return BilWriter(16);
    case 7: return LabelSetWriter();
    case 8: return SchemeFileWriter();
    default: return TempletWriter();
    }
}

// The temporary files left in the folder.
int Leftovers(const std::string& folder) {
    int n = 0;
    for (const auto& e : std::filesystem::directory_iterator(folder))
        if (e.path().filename().string()[0] == '~') ++n;
    return n;
}

class SaveSurvival : public ::testing::TestWithParam<int> {};

}  // namespace

TEST_P(SaveSurvival, ASaveKilledAnywhereLeavesThePreviousOrTheNewFile) {
    const Writer w = MakeWriter(GetParam());
    std::mt19937 random(37 + GetParam());
    TempDir dir;
    const std::string path = dir(w.file);
    // A clean save's length sets the span the kills are spread over: a few saves' worth, so that
    // most land inside a save, at every stage of it.
    const auto start = std::chrono::steady_clock::now();
    ASSERT_TRUE(w.save(path, 0)) << w.name;
    const auto one = std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - start);
    ASSERT_EQ(w.which(path), 0) << w.name;
    std::uniform_int_distribution<long> delay(0, std::max<long>(2000, 3 * one.count()));
    for (int round = 0; round < 24; ++round) {
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            for (int i = 1; i < 100000; ++i) w.save(path, i & 1);
            _exit(0);
        }
        usleep(static_cast<useconds_t>(delay(random)));
        kill(child, SIGKILL);
        int status = 0;
        waitpid(child, &status, 0);
        const int v = w.which(path);
        ASSERT_TRUE(v == 0 || v == 1) << w.name << ": nothing loads after kill " << round;
    }
    // The next save clears what the killed saves left behind.
    ASSERT_TRUE(w.save(path, 1)) << w.name;
    EXPECT_EQ(w.which(path), 1) << w.name;
    EXPECT_EQ(Leftovers(dir.Path()), 0) << w.name;
}

TEST_P(SaveSurvival, AFullDiskFailsTheSaveWithAMessageAndKeepsThePreviousFile) {
    const Writer w = MakeWriter(GetParam());
    TempDir dir;
    const std::string path = dir(w.file);
    ASSERT_TRUE(w.save(path, 0)) << w.name;
    // The child may write no file past 512 bytes: a write beyond fails with EFBIG, as on a full disk.
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{512, 512};
        setrlimit(RLIMIT_FSIZE, &limit);
        AfxClearMessageLog();
        const bool saved = w.save(path, 1);
        _exit(saved ? 3 : AfxGetMessageLog().empty() ? 4 : 0);
    }
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status)) << w.name;
    const char* const outcome[] = {"", "", "", "the failed save reported success", "the failed save said nothing"};
    EXPECT_EQ(WEXITSTATUS(status), 0) << w.name << ": " << (WEXITSTATUS(status) < 5 ? outcome[WEXITSTATUS(status)] : "");
    EXPECT_EQ(w.which(path), 0) << w.name << ": the previous file did not survive";
    EXPECT_EQ(Leftovers(dir.Path()), 0) << w.name;
}

INSTANTIATE_TEST_SUITE_P(EveryWriter, SaveSurvival, ::testing::Range(0, 10),
                         [](const ::testing::TestParamInfo<int>& info) { return std::string(kWriterNames[info.param]); });
