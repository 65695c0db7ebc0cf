// Zoom and pan arithmetic of the picture pane: a power-of-two ladder of
// levels, fitting, placement and the offsets that keep a point in place.
#include "zoom_geom.h"

#include <climits>
#include <cmath>

static int clamp_size(long long n)
{
    return n < 1 ? 1 : n > INT_MAX ? INT_MAX : (int)n;
}

// One side at a level, halves rounded up.
static int level_length(int length, int level)
{
    if (level >= 0)
        return clamp_size((long long)length << level);
    long long half = 1LL << (-level - 1);
    return clamp_size(((long long)length + half) >> -level);
}

ZoomSize zoom_level_size(int w, int h, int level)
{
    return ZoomSize{level_length(w, level), level_length(h, level)};
}

// The other side of a picture whose side `side` becomes `to`, rounded.
static int scaled(int other, int side, int to)
{
    return clamp_size(std::llround((double)other * to / side));
}

ZoomSize zoom_fit_size(int w, int h, int paneW, int paneH)
{
    if (w <= paneW && h <= paneH)
        return ZoomSize{w, h};
    paneW = paneW < 1 ? 1 : paneW;
    paneH = paneH < 1 ? 1 : paneH;
    if ((long long)w * paneH >= (long long)h * paneW)
        return ZoomSize{paneW, scaled(h, w, paneW)};
    return ZoomSize{scaled(w, h, paneH), paneH};
}

bool zoom_next_level(int w, int h, ZoomSize shown, int direction, int* level)
{
    int length = w >= h ? w : h;
    int now = w >= h ? shown.width : shown.height;
    for (int i = 0; i <= ZOOM_MAX_LEVEL - ZOOM_MIN_LEVEL; i++) {
        int n = direction > 0 ? ZOOM_MIN_LEVEL + i : ZOOM_MAX_LEVEL - i;
        int there = level_length(length, n);
        if (direction > 0 ? there > now : there < now) {
            *level = n;
            return true;
        }
    }
    return false;
}

void zoom_place(int paneSize, int shownSize, int offset, int* dest, int* src)
{
    if (paneSize >= shownSize) {
        *dest = (paneSize - shownSize) / 2;
        *src = 0;
        return;
    }
    *dest = 0;
    int last = shownSize - paneSize;
    *src = offset < last ? offset : last;
}

int zoom_clamp_offset(int paneSize, int shownSize, int offset)
{
    int last = shownSize - paneSize;
    if (offset > last)
        offset = last;
    return offset < 0 ? 0 : offset;
}

// The pixel under the anchor is measured at its centre, so that zooming
// in and out again comes back to the same place.
int zoom_anchor_offset(int paneSize, int from, int to, int offset, int anchor)
{
    int dest, src;
    zoom_place(paneSize, from, offset, &dest, &src);
    double point = ((double)src + anchor - dest + 0.5) * to / (from > 0 ? from : 1) - 0.5;
    double next = std::floor(point + 0.5) - anchor;
    int wanted = next < INT_MIN ? INT_MIN : next > INT_MAX ? INT_MAX : (int)next;
    return zoom_clamp_offset(paneSize, to, wanted);
}

int zoom_bar_pos(int paneSize, int shownSize, int offset, int step)
{
    int last = shownSize - paneSize;
    offset = zoom_clamp_offset(paneSize, shownSize, offset);
    if (last > 0 && offset == last)
        return (int)(((long long)last + step - 1) / step);
    return offset / step;
}
