// Scroll-bar arithmetic over one axis, without a display: the derived
// lengths, the thumb, what a point hits, the steps a part takes, the drag
// mapping and which mouse buttons do what.  "Along" runs the bar's length
// (y of a vertical bar, x of a horizontal one), "across" its thickness.
#ifndef TSL_CONTROLS_SCROLL_GEOM_H
#define TSL_CONTROLS_SCROLL_GEOM_H

enum {
    SCROLL_THICKNESS = 17,  // every bar, across
    SCROLL_MIN_LENGTH = 51,  // two arrows and the smallest thumb
    SCROLL_ARROW = 16,  // arrow buttons are 16 x 16 from their start
    SCROLL_TROUGH_START = 17,
    SCROLL_MIN_THUMB = 16,
    SCROLL_REPEAT_DELAY = 500,  // ms of held ticks before auto-repeat
    SCROLL_MOTION_GAP = 30  // ms between motion events acted on
};

// What a point is over; also the units digit of a pressed-part code, whose
// tens digit (SCROLL_SECONDARY) marks the secondary button.
enum {
    SCROLL_NONE = 0,
    SCROLL_START_ARROW = 1,
    SCROLL_END_ARROW = 2,
    SCROLL_THUMB = 3,
    SCROLL_BEFORE_THUMB = 4,
    SCROLL_AFTER_THUMB = 5,
    SCROLL_SECONDARY = 10
};

struct ScrollGeom {
    int length;  // of the bar, along
    int total;  // content length in steps
    int visible;  // steps the bar's own length shows
    int limit;  // last position; negative when everything is visible
    int trough;  // trough length, an unsigned 16-bit value
    int thumb;  // thumb length, at least SCROLL_MIN_THUMB
    int start;  // thumb start, along
};

// Mouse buttons by their X numbers; 0 where there is none.
struct ScrollButtons {
    int primary;
    int secondary;
    int ignored;  // a press with it in the trough does nothing
};

// The geometry of a bar of the given length over max pixels of content in
// steps of min pixels (min at least 1) at position pos.  Hit testing sees a
// thumb that was raised to its minimum length 2 pixels further along than
// it is painted.
ScrollGeom scroll_geometry(int length, int max, int min, int pos, bool forHit);

// The region under a point (SCROLL_NONE .. SCROLL_AFTER_THUMB).  Every edge
// is outside: a point on the thumb's start or end hits nothing.
int scroll_region(const ScrollGeom& g, int along, int across);

ScrollButtons scroll_buttons(int mouseRightHand, int mouseButton);

// The pressed-part code of a press, or -1 when it presses nothing.  A press
// on the thumb stores in *dragOffset the distance from the thumb's start.
int scroll_press(const ScrollGeom& g, int along, int across, int button,
                 const ScrollButtons& buttons, int* dragOffset);

// Whether a held part auto-repeats (arrows and trough, not the thumb).
bool scroll_repeats(int part);

// The position after one step of a pressed part.
int scroll_step(const ScrollGeom& g, int part, int pos);

// The position for a dragged thumb whose grab point is at along.
int scroll_drag(const ScrollGeom& g, int along, int dragOffset);

// A position brought inside 0 .. limit, or 0 when the content fits.
int scroll_clamp(const ScrollGeom& g, int pos);

#endif
