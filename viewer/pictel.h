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

int OnVScroll(TslWindow* bar, int code, int pos, int arg);
int OnHScroll(TslWindow* bar, int code, int pos, int arg);
int OnKeyEvent(TslWindow* target, XEvent* event, KeySym key);

int OnMenuOpen(void);
int OnMenuQuit(void);
int OnMenuHelp(void);
int OnMenuAbout(void);

// WM_CLASS, _NET_WM_PID, WM_CLIENT_MACHINE and _NET_WM_ICON of the main window.
void wm_props_set(Display* display, TslWindow* main);

#endif
