// The window model on a real screen through Qt 6 Widgets.
//
// A host that links this library and calls AfxQtInstallScreen() after creating its QApplication shows
// every window of the model to a person: one widget per model window at the model's rectangle (the
// template's dialog units as the model converts them to pixels), with its caption, the dialog font
// (宋体 9 through the drawing stand-in's face table), enabled and visible state and the template's tab
// order. Modal dialogs and property sheets run a real modal loop (sheets as tabbed dialogs, the Caddox
// sheet with its page tree beside the pages), message boxes are QMessageBox with the Windows button sets,
// file dialogs QFileDialog with the caller's title, filter, default extension and flags, popup menus
// QMenu.
//
// Both directions stay in step. What code changes in the model shows on the widget without any
// notification. What a person does on a widget reaches the model through the scripted driver's actions
// (afxtest.h: typing characters, clicks, selections, row and item clicks, keys through the dialog
// manager, scrolling, mouse messages), so the model sends exactly the notifications a driver's action
// sends; the widget then shows what the model made of it. A window that paints itself (its WM_PAINT
// handler draws on a CPaintDC) is shown from the canvas it painted, and the mouse and wheel reach it as
// messages at the same pixels.
//
// The model answers first to an installed user driver: while one is installed, modals, boxes and menus
// go to it and the screen only shows. The library never changes how the model behaves; a host that does
// not link it, or never installs the screen, keeps the model's own behaviour.
#pragma once

#include "win32/winuser.h"

class QWidget;

// Installs the screen (once; later calls do nothing). Needs a QApplication; FALSE without one.
BOOL AfxQtInstallScreen();
// Removes the screen and deletes its widgets; the model's windows stay as they are.
void AfxQtRemoveScreen();
BOOL AfxQtIsScreenInstalled();

// The widget that shows a model window, NULL when none is shown (yet). Brings the screen in step first.
QWidget* AfxQtWidget(HWND hWnd);
// The model window a widget (or one of its parts) shows, NULL for other widgets.
HWND AfxQtWindowOf(const QWidget* pWidget);
// Brings every widget in step with the model now (the screen also does so on its own after every
// change, once control returns to the event loop).
void AfxQtSync();
