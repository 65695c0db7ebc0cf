// Zoom and pan arithmetic of the picture pane, without a display: the
// ladder of zoom levels, the size a picture is shown at, fitting it into
// the pane, where it lies there, and the offsets that keep a point of it
// in place while the zoom changes.  Sizes and offsets are in pixels of the
// picture as shown; one axis at a time where an axis is enough.
#ifndef PICTEL_ZOOM_GEOM_H
#define PICTEL_ZOOM_GEOM_H

// Level n shows the picture at 2^n: 1/8 up to 8 times.
enum { ZOOM_MIN_LEVEL = -3, ZOOM_MAX_LEVEL = 3 };

struct ZoomSize {
    int width;
    int height;
};

// A w x h picture at a level, rounded, never below one pixel.
ZoomSize zoom_level_size(int w, int h, int level);

// A w x h picture scaled down, keeping its proportions, until it fits a
// pane of paneW x paneH; a picture that fits already keeps its size.
ZoomSize zoom_fit_size(int w, int h, int paneW, int paneH);

// The level next above (direction 1) or below (-1) the size a w x h
// picture is shown at, judged on its longer side; false when the ladder
// ends there.
bool zoom_next_level(int w, int h, ZoomSize shown, int direction, int* level);

// Destination and source start on one axis: centred when the picture
// fits, else from the offset but never past the picture's far edge.
void zoom_place(int paneSize, int shownSize, int offset, int* dest, int* src);

// An offset brought inside 0 .. the last one that still fills the pane.
int zoom_clamp_offset(int paneSize, int shownSize, int offset);

// The offset that keeps the picture's point under pane position anchor
// there when its shown length changes from `from` to `to`.
int zoom_anchor_offset(int paneSize, int from, int to, int offset, int anchor);

// The scroll-bar position of an offset: whole steps, except that the last
// offset is reached by the step past it, as the scroll keys reach it.
int zoom_bar_pos(int paneSize, int shownSize, int offset, int step);

#endif
