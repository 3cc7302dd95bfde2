// How the scheme designer scales with the size of its scheme: a scheme of 50 layers, each with C classes
// of 20 fields, is opened in the designer (file read, tree built), its classes sorted by code and put
// back in stored order, and saved, at C = 20 and C = 200 (10^3 and 10^4 class items). Prints the time
// per class item of each step at both sizes and the slope of log time against log size: 1 is linear,
// 2 quadratic. There is no outside peer for a dialog; the smaller run is the reference. It never passes
// or fails on time.
#include "ui/SchemaDesignDlg.h"
#include "ui/resources/SchemeDesignTemplates.h"

#include <afx/afxtest.h>
#include "core/GeoFieldList.h"

#include "BenchUtil.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

const int kLayers = 50;
const int kFields = 20;

struct Times {
    double open = 0, sort = 0, unsort = 0, save = 0;
};

std::string WriteScheme(const std::string& path, int nClasses) {
    CTypedPtrList<CObList, CGeoTheme*> list;
    for (int l = 0; l < kLayers; ++l) {
        auto* theme = new CGeoTheme;
        CString name;
        name.Format("图层%d", l);
        theme->SetName(name);
        for (int c = 0; c < nClasses; ++c) {
            CGeoGClass gc;
            gc.SetGCID(static_cast<UINT>((c * 7919) % 100000 + 1));  // codes out of order, all distinct
            name.Format("地物%d", c);
            gc.SetGCName(name);
            for (int f = 0; f < kFields; ++f) {
                CDaoFieldInfo info = GetDefaultFieldInfo();
                info.m_strName.Format("F%d", f);
                gc.AddField(info, -2);
            }
            theme->AddGC(gc, -2);
        }
        list.AddTail(theme);
    }
    SaveSchemeFile(list, path.c_str());
    ClearThemeList(&list);
    return path;
}

Times Run(const std::string& path) {
    Times t;
    afxtest::Session person(false);
    CSchemaDesignDlg dlg;
    dlg.InitData(path.c_str());
    double start = bench::Now();
    person.ExpectDialog(CSchemaDesignDlg::IDD, [&](CDialog& d) {
        double now = bench::Now();
        t.open = now - start;
        d.SendMessage(WM_COMMAND, ID_SD_SORT_CODE, 0);
        t.sort = bench::Now() - now;
        now = bench::Now();
        d.SendMessage(WM_COMMAND, ID_SD_SORT_NONE, 0);
        t.unsort = bench::Now() - now;
        dlg.m_treeScheme.SelectItem(dlg.m_treeScheme.GetRootItem());
        now = bench::Now();
        d.SendMessage(WM_COMMAND, ID_SD_TREE_SAVEALL, 0);
        t.save = bench::Now() - now;
        dlg.EndDialog(IDOK);
    });
    dlg.DoModal();
    return t;
}

Times Best(const std::string& path, int rounds) {
    Times best{1e300, 1e300, 1e300, 1e300};
    for (int r = 0; r < rounds; ++r) {
        const Times t = Run(path);
        best.open = std::min(best.open, t.open);
        best.sort = std::min(best.sort, t.sort);
        best.unsort = std::min(best.unsort, t.unsort);
        best.save = std::min(best.save, t.save);
    }
    return best;
}

}  // namespace

int main() {
    char tmpl[] = "/tmp/schemebench-XXXXXX";
    if (!mkdtemp(tmpl)) return 1;
    const std::string dir = tmpl;
    const int sizes[2] = {20, 200};
    Times times[2];
    for (int i = 0; i < 2; ++i) times[i] = Best(WriteScheme(dir + "/s" + std::to_string(i) + ".sch", sizes[i]), 3);
    std::printf("scheme designer, %d layers x C classes x %d fields (time per class item; slope of log t / log n)\n",
                kLayers, kFields);
    std::printf("%-28s %14s %14s %8s\n", "step", "us/item C=20", "us/item C=200", "slope");
    const double n0 = kLayers * sizes[0], n1 = kLayers * sizes[1];
    auto row = [&](const char* what, double t0, double t1) {
        std::printf("%-28s %14.3f %14.3f %8.2f\n", what, t0 / n0 * 1e6, t1 / n1 * 1e6, std::log(t1 / t0) / std::log(n1 / n0));
    };
    row("open (read, build tree)", times[0].open, times[1].open);
    row("sort by code", times[0].sort, times[1].sort);
    row("back to stored order", times[0].unsort, times[1].unsort);
    row("save all", times[0].save, times[1].save);
    std::system(("rm -rf " + dir).c_str());
    return 0;
}
