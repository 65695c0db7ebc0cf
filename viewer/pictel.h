// The parts of pictel its files share: the commands, picture loading, the
// key callback and the window-manager properties of the main window.
#ifndef PICTEL_H
#define PICTEL_H

#include "tessel.h"

// Names of the main window and its children, found again with tslGetWindow.
#define PICTEL_MAIN "Pictel"
#define PICTEL_VIEW "ViewWnd"
#define PICTEL_VSCROLL "VScroll"
#define PICTEL_HSCROLL "HScroll"
#define PICTEL_MENUBAR "MenuBar"
#define PICTEL_MENU "MenuWnd"

// Pixels per scroll-bar step.
#define PICTEL_STEP 32

int MainLoop(Display* display);
int WndProc_Main(Display* display, TslWindow* main, XEvent* event);
int Draw_Main(Display* display, TslWindow* main);

// Loads a picture and shows it; 0 when the name is empty or the file
// cannot be opened, else 1 (also when it is no picture).
int TakeInPicture(const char* name);
// The picture shown, or null.
const TslImage* picture_current(void);
// Takes the picture from the pane and frees it.
void picture_free(Display* display);
// The status line: the picture's size, kind and name, and its zoom.
void picture_show_status(void);

int OnVScroll(TslWindow* bar, int code, int pos, int arg);
int OnHScroll(TslWindow* bar, int code, int pos, int arg);
int OnKeyEvent(TslWindow* target, XEvent* event, KeySym key);

int OnMenuOpen(void);
int OnMenuQuit(void);
int OnMenuHelp(void);
int OnMenuAbout(void);
// The check mark of the menu's "Fit (z)".
void menu_check_fit(int on);

// Walking the directory of the picture last asked for (walk.cpp).
int OnMenuNext(void);
int OnMenuPrevious(void);
int OnMenuFirst(void);
int OnMenuLast(void);
// Every picture asked for, opened or not, becomes the walk's position.
void walk_opened(const char* path);

// Zoom and position of the picture in the pane (panzoom.cpp).
int OnMenuZoomIn(void);
int OnMenuZoomOut(void);
int OnMenuActualSize(void);
int OnMenuFit(void);
// A new picture's size in the pane, before the pane shows it: fitted
// while fitting is on, else at 100 %.
void zoom_new_picture(const TslImage* img);
// Keeps a fitted picture fitted to a resized pane (repainted by the pane).
void zoom_refit(void);
// One level in (1) or out (-1) keeping the point under (x, y) of the pane.
void zoom_about(int direction, int x, int y);
// " (50%)" after the status text, or nothing at 100 %.
void zoom_status(char* out, size_t size);
// One scroll-bar step (direction 1 or -1) as the scroll keys take it.
void pan_step(int vertical, int direction);
// The picture to any offset, bars following; and the offsets it shows now.
void pan_to(int x, int y);
void pan_offsets(int* x, int* y);

// The pane's mouse and resizes (mouse.cpp).
void mouse_attach(TslWindow* pane);

// WM_CLASS, _NET_WM_PID, WM_CLIENT_MACHINE and _NET_WM_ICON of the main window.
void wm_props_set(Display* display, TslWindow* main);

#endif
