// The widgets that mirror model windows, one kind per window class, and how each is brought in step
// with its window. Private to afxqt.
//
// A widget never decides anything itself: what a person does on it becomes one of the scripted driver's
// actions on the model (afxtest.h), and the widget then shows the model's state again.
#pragma once

#include <QWidget>

#include "win32/winuser.h"

namespace afxqt {

enum class Kind {
    Dialog,      // a top-level "#32770" (dialog or property sheet)
    Panel,       // a child "#32770" (a property page)
    Canvas,      // a window that paints itself: its canvas, with mouse and wheel passed through
    Edit,
    PushButton,
    CheckBox,
    Radio,
    GroupBox,
    Label,
    Picture,     // a static showing a bitmap
    Line,        // an etched static
    Combo,
    ListBox,
    ListReport,  // a list view in report view
    ListIcons,   // a list view in list (or icon) view
    Tree,
    ScrollBar,
    Date,
};

// The kind that shows the window now (a window that has painted itself on its canvas is a canvas,
// except dialogs and pages, which show their canvas under their controls).
Kind KindOf(HWND hWnd);
// A new widget for the window under parent (NULL for a top-level one); the caller sets it in step.
QWidget* CreateMirror(Kind kind, HWND hWnd, QWidget* parent);
// Brings the widget in step with its window: geometry, visibility, enabled state, text and the kind's
// own state (checks, items, selections, scroll positions, pixels).
void RefreshMirror(Kind kind, HWND hWnd, QWidget* widget);
// Where the widgets of the window's children go (a tree's or list's viewport, or the widget itself).
QWidget* ChildHost(Kind kind, QWidget* widget);
// The model window of a mirror widget (set by CreateMirror), NULL for others.
HWND MirroredWindow(const QWidget* widget);

// Implemented by the screen: after a person's action, brings the widgets in step and ends the modal
// loops whose dialogs ended.
void Settle();
// The model's key state follows the person's modifier keys.
void MirrorModifiers(Qt::KeyboardModifiers modifiers);

}  // namespace afxqt
