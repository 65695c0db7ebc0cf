// Scroll-bar arithmetic: numbers in, numbers out.  Products are taken in
// 64 bits, since a long trough times a far position passes 2^31.
#include "controls/scroll_geom.h"

#include <algorithm>

// Keeps a thumb start far enough from the int limits that the offsets added
// to it later cannot overflow; a start out there is off the bar anyway.
static int coordinate(long long v)
{
    const long long far = 1LL << 30;
    return (int)std::min(std::max(v, -far), far);
}

static int thumb_start(const ScrollGeom& g, int pos)
{
    long long room = (long long)g.trough - g.thumb;
    long long offset = g.visible < g.total ? room * pos / ((long long)g.total - g.visible)
                                           : room * pos;
    return coordinate(SCROLL_TROUGH_START + offset);
}

ScrollGeom scroll_geometry(int length, int max, int min, int pos, bool forHit)
{
    ScrollGeom g;
    if (min < 1)
        min = 1;
    g.length = length;
    g.total = max / min;
    g.visible = length / min;
    g.limit = g.total - g.visible;
    // The trough's frame between the arrows (a frame covers one pixel more).
    g.trough = (length - 2 * SCROLL_THICKNESS - 1) & 0xFFFF;
    long long shown = std::max(g.visible, g.total);
    // A step longer than the bar over empty content shows nothing of
    // nothing: the thumb then fills the trough instead of dividing by 0.
    g.thumb = shown > 0 ? (int)((long long)g.trough * g.visible / shown) : g.trough;
    g.start = thumb_start(g, pos);
    if (g.thumb < SCROLL_MIN_THUMB) {
        g.thumb = SCROLL_MIN_THUMB;
        g.start = thumb_start(g, pos);
        if (forHit)
            g.start += 2;
    }
    return g;
}

// Strictly inside a span of the bar, the full thickness across.
static bool inside(long long along, int across, long long start, long long length)
{
    return start < along && along < start + length && 0 < across && across < SCROLL_ARROW;
}

int scroll_region(const ScrollGeom& g, int along, int across)
{
    if (inside(along, across, 0, SCROLL_ARROW))
        return SCROLL_START_ARROW;
    if (inside(along, across, g.length - SCROLL_THICKNESS, SCROLL_ARROW))
        return SCROLL_END_ARROW;
    if (!inside(along, across, SCROLL_TROUGH_START, g.trough))
        return SCROLL_NONE;
    long long thumbEnd = (long long)g.start + g.thumb;
    if (along < g.start)
        return SCROLL_BEFORE_THUMB;
    if (along > g.start && along < thumbEnd)
        return SCROLL_THUMB;
    if (along > thumbEnd)
        return SCROLL_AFTER_THUMB;
    return SCROLL_NONE;
}

ScrollButtons scroll_buttons(int mouseRightHand, int mouseButton)
{
    ScrollButtons b;
    bool right = mouseRightHand == 1;
    if (right || mouseButton == 1)
        b.primary = 1;
    else
        b.primary = mouseButton == 2 ? 2 : 3;
    if (right && mouseButton != 1)
        b.secondary = mouseButton == 2 ? 2 : 3;
    else
        b.secondary = 1;
    if (right)
        b.ignored = mouseButton == 1 ? 1 : 2;
    else
        b.ignored = mouseButton == 3 ? 2 : 1;
    // One button is all a one-button mouse has: it is never also the
    // secondary one, nor ignored, or the thumb could not be dragged.
    if (b.secondary == b.primary)
        b.secondary = 0;
    if (b.ignored == b.primary)
        b.ignored = 0;
    return b;
}

int scroll_press(const ScrollGeom& g, int along, int across, int button,
                 const ScrollButtons& buttons, int* dragOffset)
{
    int region = scroll_region(g, along, across);
    if (region == SCROLL_NONE)
        return -1;
    if (region != SCROLL_START_ARROW && region != SCROLL_END_ARROW) {
        if (button == buttons.ignored)
            return -1;
        if (region == SCROLL_THUMB) {
            *dragOffset = along - g.start;
            return SCROLL_THUMB;
        }
        *dragOffset = 0;
    }
    if (button == buttons.primary)
        return region;
    if (button == buttons.secondary)
        return region + SCROLL_SECONDARY;
    return -1;
}

bool scroll_repeats(int part)
{
    int region = part % SCROLL_SECONDARY;
    return region == SCROLL_START_ARROW || region == SCROLL_END_ARROW ||
           region == SCROLL_BEFORE_THUMB || region == SCROLL_AFTER_THUMB;
}

int scroll_step(const ScrollGeom& g, int part, int pos)
{
    switch (part) {
    case SCROLL_START_ARROW:
    case SCROLL_END_ARROW + SCROLL_SECONDARY:
        return pos > 0 ? pos - 1 : pos;
    case SCROLL_END_ARROW:
    case SCROLL_START_ARROW + SCROLL_SECONDARY:
        return pos < g.limit ? pos + 1 : pos;
    case SCROLL_BEFORE_THUMB:
    case SCROLL_AFTER_THUMB + SCROLL_SECONDARY:
        return std::max(pos - g.visible, 0);
    case SCROLL_AFTER_THUMB:
    case SCROLL_BEFORE_THUMB + SCROLL_SECONDARY:
        return g.visible < g.total ? (int)std::min((long long)pos + g.visible, (long long)g.limit) : 0;
    default:
        return pos;
    }
}

int scroll_drag(const ScrollGeom& g, int along, int dragOffset)
{
    long long d = (long long)along - dragOffset;
    long long room = (long long)g.trough - g.thumb;
    if (d <= SCROLL_TROUGH_START)
        return 0;
    // Here d lies past the trough's start and short of its end by more than
    // the thumb, so 0 <= d - 17 < room: the result stays below the limit.
    if (d + g.thumb < (long long)SCROLL_TROUGH_START + g.trough)
        return (int)(g.visible < g.total ? (d - SCROLL_TROUGH_START) * (g.total - g.visible) / room
                                         : (d - SCROLL_TROUGH_START) / room);
    return g.total >= g.visible ? g.limit : 0;
}

int scroll_clamp(const ScrollGeom& g, int pos)
{
    if (g.limit < 0)
        return 0;
    return std::min(std::max(pos, 0), g.limit);
}
