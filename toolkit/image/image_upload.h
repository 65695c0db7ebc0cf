// Sends pixel rows to a new pixmap in bands of rows, through shared memory
// when the server offers it and over the socket with XPutImage otherwise,
// letting pending events through between bands.
#ifndef TSL_IMAGE_IMAGE_UPLOAD_H
#define TSL_IMAGE_IMAGE_UPLOAD_H

#include <cstdint>
#include <vector>

#include "tessel.h"

#include <X11/extensions/XShm.h>

// One shared band: the server copies it while the client fills the other.
struct ImageShmBand {
    XImage* image = nullptr;
    XShmSegmentInfo segment = {};
    bool attached = false;       // the server has the segment
    bool busy = false;           // a put from it may still be running
    unsigned long putSerial = 0; // request number of that put
};

struct ImageUpload {
    Display* display = nullptr;
    Pixmap pixmap = 0;
    GC gc = nullptr;
    XImage* band = nullptr;     // band being filled (a shared one in shm mode)
    int width = 0;
    int height = 0;
    int bandRows = 0;   // rows per band
    int filled = 0;     // rows of the current band written
    int sent = 0;       // pixmap rows already sent
    bool direct = false;              // rows are written straight into the band
    bool bottomUp = false;            // rows arrive from the bottom row upward
    std::vector<uint32_t> scratch;    // row for bands of other pixel sizes
    bool shm = false;                 // bands go through shared memory
    int shmEventBase = 0;
    int shmCurrent = 0;               // index of the band being filled
    ImageShmBand shmBands[2];
    TslImage partial = {};            // what the loading callback is shown
};

// Creates the pixmap (default depth of screen 0), the image GC (GXcopy,
// foreground and background backPixel) and a band.  On failure prints
// "Error: Load Image - Can't create pixmap." and returns 0.
int image_upload_begin(ImageUpload* up, Display* display, int width, int height);

// Bits per pixel of the display's pixmaps at its default depth.
int image_upload_pixel_bits(Display* display);

// Row of width pixel values to fill for the next pixmap row: top-down, or
// bottom-up once bottomUp is set (before the first row).
uint32_t* image_upload_row(ImageUpload* up);

// Keeps the row just filled; sends the band when it is full.
void image_upload_commit(ImageUpload* up);

// Sends what is left.  Returns 1 when every row was committed, else 0.
int image_upload_finish(ImageUpload* up);

// Frees the bands (detaching shared segments), and the pixmap and GC unless
// keep (then the caller owns them).
void image_upload_end(ImageUpload* up, bool keep);

// When set, later uploads use the socket even where shared memory works
// (as on a remote display).
void image_upload_force_socket(bool on);

#endif
