// The property dialogs of images and mosaic lines, reached through hooks.
//
// The dialogs live on the top floor (ui/), which this floor never includes; ui/ fills these hooks when
// the library loads. A hook that is not filled (NULL) behaves as a dialog the user cancelled (result 0).
// Every hook runs on the host's user-interface thread.
#pragma once

class CGeoImage;
class CGeoMosaicPLine;

struct tagRasterDialogHooks {
    // The image property dialog: 1 when the user confirmed a change of the name, the dpi or the scale
    // (applied to the image), else 0.
    int (*pfnImageProperties)(CGeoImage* image);
    // The read-only mosaic-line property dialog: 1 when closed with OK, else 0.
    int (*pfnMosaicLineProperties)(CGeoMosaicPLine* line);
};

// The hooks now in force (all NULL until the dialogs fill them).
const tagRasterDialogHooks& GetRasterDialogHooks();
// Replaces every hook at once and returns the previous set, so that a test can put it back.
tagRasterDialogHooks SetRasterDialogHooks(const tagRasterDialogHooks& hooks);
