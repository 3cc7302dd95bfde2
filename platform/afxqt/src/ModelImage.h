// Pictures out of the model: a window's canvas, a bitmap, an owner-drawn item, an image-list image.
// Private to afxqt.
#pragma once

#include <QColor>
#include <QImage>
#include <QRect>

#include "win32/winuser.h"

namespace afxqt {

// The pixels of a bitmap of any depth (NULL image for a bad handle).
QImage ImageOfBitmap(HBITMAP hBitmap);
// What the window painted on its canvas last (NULL image when it never painted).
QImage CanvasImage(HWND hWnd);
// An item of an owner-drawn combo box, list box or button drawn by its parent's WM_DRAWITEM on a
// width x height image; ctlType ODT_COMBOBOX, ODT_LISTBOX or ODT_BUTTON, item -1 for a button.
QImage OwnerDrawnItem(HWND hCtl, UINT ctlType, int item, int width, int height, bool selected);
// A row of an owner-drawn report list (LVS_OWNERDRAWFIXED) drawn by the parent's WM_DRAWITEM (which the
// list's own object usually answers), from the row's left edge out to the client's right edge at the
// row's height; NULL image for a row the list does not have.
QImage OwnerDrawnRow(HWND hList, int row);
// Text a static control painted past its client area (a static draws with its parent's clipping, so
// such text shows over the parent): the text again, on background, in client coordinates at *where;
// NULL image (and an empty *where) when its last paint kept inside.
QImage SpilledText(HWND hWnd, QRect* where, QColor background);
// One image of an image list (NULL image for a bad list or index).
QImage ImageListImage(HIMAGELIST hList, int index);

}  // namespace afxqt
