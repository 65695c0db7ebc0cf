// The picture's zoom and position in the pane: the zoom commands, a fitted
// picture kept fitted, and scrolling by scroll-bar steps or to any pixel.
// The bars count the picture as shown: their range is its zoomed size and
// a step is 32 of its pixels.
#include <cmath>
#include <cstdio>

#include "pictel.h"
#include "view.h"
#include "zoom_geom.h"

// Fitting is a mode that outlives the picture; a level holds until the
// next picture.
static bool g_bFit = false;
static int g_nLevel = 0;
// The size the pane shows the picture at.
static ZoomSize g_shown = {0, 0};
// Set while the bars are moved to match offsets the pane already has.
static bool g_bFollowing = false;

static TslWindow* pane_window(void)
{
    return tslGetWindow(PICTEL_VIEW);
}

static ZoomSize shown_size(const TslImage* img, const TslWindow* pane)
{
    if (g_bFit && pane)
        return zoom_fit_size(img->width, img->height, pane->rect.width, pane->rect.height);
    return zoom_level_size(img->width, img->height, g_nLevel);
}

// The pane's size for the picture and the bars' ranges; nothing repainted.
static void set_extent(ZoomSize shown)
{
    g_shown = shown;
    SetZoom_View(nullptr, shown.width, shown.height);
    tslSetMax_ScrollBar(tslGetWindow(PICTEL_VSCROLL), shown.height);
    tslSetMax_ScrollBar(tslGetWindow(PICTEL_HSCROLL), shown.width);
}

// The pane's offsets, clamped, with the bars moved to match; repainted
// when `paint` and something moved.
static void set_offsets(TslWindow* pane, int x, int y, bool paint)
{
    x = zoom_clamp_offset(pane->rect.width, g_shown.width, x);
    y = zoom_clamp_offset(pane->rect.height, g_shown.height, y);
    g_bFollowing = true;
    tslSetPos_ScrollBar(tslGetWindow(PICTEL_HSCROLL),
                        zoom_bar_pos(pane->rect.width, g_shown.width, x, PICTEL_STEP));
    tslSetPos_ScrollBar(tslGetWindow(PICTEL_VSCROLL),
                        zoom_bar_pos(pane->rect.height, g_shown.height, y, PICTEL_STEP));
    g_bFollowing = false;
    bool moved = x != GetHPos_View() || y != GetVPos_View();
    SetHPos_View(nullptr, x);
    SetVPos_View(nullptr, y);
    if (paint && moved)
        tslSendEvent(pane, TSLM_PAINT);
}

// The picture at the size its mode gives, the point under (ax, ay) of the
// pane kept in place; one repaint.
static void rezoom(int ax, int ay)
{
    menu_check_fit(g_bFit);
    const TslImage* img = picture_current();
    TslWindow* pane = pane_window();
    if (!img || !pane)
        return;
    ZoomSize from = g_shown, to = shown_size(img, pane);
    int x = zoom_anchor_offset(pane->rect.width, from.width, to.width, GetHPos_View(), ax);
    int y = zoom_anchor_offset(pane->rect.height, from.height, to.height, GetVPos_View(), ay);
    set_extent(to);
    set_offsets(pane, x, y, false);
    tslSendEvent(pane, TSLM_PAINT);
    picture_show_status();
}

static int zoom_step(int direction, int ax, int ay)
{
    const TslImage* img = picture_current();
    int level;
    if (!img || !zoom_next_level(img->width, img->height, g_shown, direction, &level))
        return 1;
    g_bFit = false;
    g_nLevel = level;
    rezoom(ax, ay);
    return 1;
}

static int centre_x(void)
{
    TslWindow* pane = pane_window();
    return pane ? pane->rect.width / 2 : 0;
}

static int centre_y(void)
{
    TslWindow* pane = pane_window();
    return pane ? pane->rect.height / 2 : 0;
}

int OnMenuZoomIn(void)
{
    return zoom_step(1, centre_x(), centre_y());
}

int OnMenuZoomOut(void)
{
    return zoom_step(-1, centre_x(), centre_y());
}

int OnMenuActualSize(void)
{
    g_bFit = false;
    g_nLevel = 0;
    rezoom(centre_x(), centre_y());
    return 1;
}

// Leaving the fit shows the picture at 100 %.
int OnMenuFit(void)
{
    g_bFit = !g_bFit;
    g_nLevel = 0;
    rezoom(centre_x(), centre_y());
    return 1;
}

void zoom_about(int direction, int x, int y)
{
    zoom_step(direction, x, y);
}

void zoom_new_picture(const TslImage* img)
{
    if (!g_bFit)
        g_nLevel = 0;
    set_extent(shown_size(img, pane_window()));
}

void zoom_refit(void)
{
    const TslImage* img = picture_current();
    TslWindow* pane = pane_window();
    if (!g_bFit || !img || !pane)
        return;
    ZoomSize to = shown_size(img, pane);
    if (to.width == g_shown.width && to.height == g_shown.height)
        return;
    set_extent(to);
    set_offsets(pane, 0, 0, false);
    picture_show_status();
}

void zoom_status(char* out, size_t size)
{
    out[0] = '\0';
    const TslImage* img = picture_current();
    if (!img || img->width <= 0 || img->height <= 0)
        return;
    double percent = img->width >= img->height ? 100.0 * g_shown.width / img->width
                                               : 100.0 * g_shown.height / img->height;
    if (!g_bFit)
        percent = std::ldexp(100.0, g_nLevel);
    if (percent != 100.0)
        snprintf(out, size, " (%.3g%%)", percent);
}

// The bar position one step on from an offset, or -1 where the step is
// not taken: back below 0, or forward once the step's first pixel would
// pass the last pane-full of the picture (p x step <= shown - pane + step
// - 1).  From an offset between steps, a step goes to the step beyond it.
static int step_to(int offset, int direction, int shownLength, int paneLength)
{
    int p = direction < 0 ? (offset + PICTEL_STEP - 1) / PICTEL_STEP - 1 : offset / PICTEL_STEP + 1;
    if (direction < 0)
        return p >= 0 ? p : -1;
    long long reach = (long long)shownLength - paneLength + PICTEL_STEP - 1;
    return (long long)p * PICTEL_STEP <= reach ? p : -1;
}

void pan_step(int vertical, int direction)
{
    TslWindow* pane = pane_window();
    if (!picture_current() || !pane)
        return;
    int p = vertical ? step_to(GetVPos_View(), direction, g_shown.height, pane->rect.height)
                     : step_to(GetHPos_View(), direction, g_shown.width, pane->rect.width);
    if (p < 0)
        return;
    // The bar's callback moves the pane, unless the bar was there already.
    if (vertical) {
        tslSetPos_ScrollBar(tslGetWindow(PICTEL_VSCROLL), p);
        SetVPos_View(pane, p * PICTEL_STEP);
    } else {
        tslSetPos_ScrollBar(tslGetWindow(PICTEL_HSCROLL), p);
        SetHPos_View(pane, p * PICTEL_STEP);
    }
}

void pan_to(int x, int y)
{
    TslWindow* pane = pane_window();
    if (picture_current() && pane)
        set_offsets(pane, x, y, true);
}

void pan_offsets(int* x, int* y)
{
    TslWindow* pane = pane_window();
    *x = pane ? zoom_clamp_offset(pane->rect.width, g_shown.width, GetHPos_View()) : 0;
    *y = pane ? zoom_clamp_offset(pane->rect.height, g_shown.height, GetVPos_View()) : 0;
}

int OnVScroll(TslWindow*, int, int pos, int)
{
    if (!g_bFollowing)
        SetVPos_View(pane_window(), pos * PICTEL_STEP);
    return TSLR_OK;
}

int OnHScroll(TslWindow*, int, int pos, int)
{
    if (!g_bFollowing)
        SetHPos_View(pane_window(), pos * PICTEL_STEP);
    return TSLR_OK;
}
