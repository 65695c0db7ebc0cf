// Fixtures and helpers shared by the X tests: a display per test with
// g_tessel filled the way the start-up fills it (without reading any
// resource file), skipped when absent, all toolkit windows destroyed
// afterwards; read-back of what the server holds, an event pump, and small
// builders for synthetic events and solid pictures.
#ifndef TSL_TEST_XFIXTURE_H
#define TSL_TEST_XFIXTURE_H

#include <gtest/gtest.h>

#include <cstdlib>

#include <string>
#include <vector>

#include "tessel.h"

// Opens the display named by env_var (DISPLAY when null; also
// TSL_DISPLAY_16 / TSL_DISPLAY_8 for the 16- and 8-bit servers) and fills
// g_tessel: display, screen size, depth, colormap, standard colours, window
// colours (back grey 105, border black, font grey 190, paper grey 105,
// action blue and derived shades), fonts (14-pixel JIS X 0201 and JIS X 0208),
// GCs, interval 35, EUC text.  Returns null when the display cannot be opened.
Display* xenv_open(const char* env_var = nullptr);
// Frees what xenv_open made and closes the display.  Windows still in the
// toolkit's list are not touched.
void xenv_close();

// Pixel values of a drawable read with XGetImage: one, or a rectangle row by row.
unsigned long xenv_pixel(Display* display, Drawable d, int x, int y);
std::vector<unsigned long> xenv_pixels(Display* display, Drawable d, int x, int y, int w, int h);

// Processes events for ms milliseconds, dispatching through the toolkit's
// dispatcher to every top-level window.
void xenv_pump(Display* display, int ms);
// Waits until a window is viewable (MapNotify seen by the server).
void xenv_wait_mapped(Display* display, Window w);

// Destroys every toolkit window, top levels first.
void xenv_destroy_all(Display* d);

// Sends a synthetic event to w.  Key events carry keysym's keycode and time.
void xenv_send_key(Display* d, Window w, KeySym keysym, Time time = 0, unsigned state = 0);
void xenv_send_button(Display* d, Window w, int button = 1);
void xenv_send_client(Display* d, Window w, Atom type, long value);
// The window manager's WM_DELETE_WINDOW for a toolkit window.
void xenv_send_close(Display* d, TslWindow* w);

// Fills a rectangle of a drawable through a temporary GC.
void xenv_fill(Display* d, Drawable dr, unsigned long pixel, int x, int y, int w, int h);

// A w x h picture of one pixel value; free with xenv_free_image.
TslImage* xenv_solid_image(Display* d, int w, int h, unsigned long pixel);
void xenv_free_image(Display* d, TslImage* img);

// Position of a top-level X window among the root's children, bottom first.
int xenv_stack_pos(Display* d, Window w);

// A display per test: DISPLAY, or the server named by the parameter.
class XDisplayTest {
protected:
    Display* d = nullptr;
    bool open_display(const char* env)
    {
        if (env && !getenv(env))
            return false;
        d = xenv_open(env);
        return d != nullptr;
    }
    void close_display()
    {
        if (!d)
            return;
        xenv_destroy_all(d);
        g_tessel.wallImage = nullptr;
        xenv_close();
        d = nullptr;
    }
};

class XTest : public ::testing::Test, protected XDisplayTest {
protected:
    void SetUp() override
    {
        if (!open_display(nullptr))
            GTEST_SKIP() << "no display";
    }
    void TearDown() override { close_display(); }
};

// Parameter: null for DISPLAY, or "TSL_DISPLAY_16" / "TSL_DISPLAY_8".
class XDepthTest : public ::testing::TestWithParam<const char*>, protected XDisplayTest {
protected:
    void SetUp() override
    {
        if (!open_display(GetParam()))
            GTEST_SKIP() << (GetParam() ? GetParam() : "DISPLAY") << " not set";
    }
    void TearDown() override { close_display(); }
};

#define TSL_ALL_DEPTHS ::testing::Values(nullptr, "TSL_DISPLAY_16", "TSL_DISPLAY_8")

#endif
