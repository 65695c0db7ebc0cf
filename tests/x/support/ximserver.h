// A real input-method server for X tests: uim-xim with a chosen engine,
// started on the test display in the EUC-JP locale and stopped again.
#ifndef TSL_TEST_XIMSERVER_H
#define TSL_TEST_XIMSERVER_H

#include <X11/Xlib.h>

extern const char* const kXimLocale;  // "ja_JP.EUC-JP"

// Starts uim-xim (engine "direct", "anthy", ...) unless one of ours runs;
// false when it does not register within four seconds.
bool xim_start_uim(Display* d, const char* engine);
void xim_stop_uim();
// Whether some uim-xim serves the display.
bool xim_uim_registered(Display* d);

// The locale, modifiers and font set the start-up would set for the
// modifiers given ("@im=uim"); false when the locale is missing.  With
// "@im=uim" the server is started with engine.
bool xim_enter_locale(Display* d, const char* modifiers, const char* engine = "direct");
// Back to the C locale; frees the font set and closes the input method.
void xim_leave_locale(Display* d);

#endif
