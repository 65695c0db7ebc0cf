// Band-wise pixmap upload.  One put per band of rows instead of a request
// per pixel; the bands are small, so a picture never needs a second
// full-size copy on the client.  A local server reads the bands from two
// shared segments in turn, so the pixels never cross the socket.  A program
// may look at each band as it arrives, to show a picture while it loads.
#include "image/image_upload.h"

#include <poll.h>
#include <sys/ipc.h>
#include <sys/shm.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "core/xerror.h"

// Below the socket's send buffer, so a band is written without waiting and
// the next one is decoded while the server stores this one.
static const size_t BAND_BYTES = 128u << 10;
// Shared bands: large enough that the wait per band is lost in the copy,
// small enough to stay in cache until the server reads it.
static const size_t SHM_BAND_BYTES = 1u << 20;
// Pictures of fewer pixels go over the socket: making, attaching and
// detaching the shared segments costs more than it saves on a copy this
// small (a 640x480 photo loads in 1.1 ms that way against 2.7 ms shared).
static const uint64_t SHM_MIN_PIXELS = 1u << 20;
// How long to wait for a put's completion before falling back to a sync.
static const int SHM_WAIT_MS = 250;

static bool s_forceSocket = false;

void image_upload_force_socket(bool on)
{
    s_forceSocket = on;
}

static TslLoadingCallback s_loading = nullptr;

int tslSetLoadingCallback(TslLoadingCallback fn)
{
    s_loading = fn;
    return 1;
}

static int host_byte_order()
{
    const uint16_t one = 1;
    uint8_t first;
    memcpy(&first, &one, 1);
    return first ? LSBFirst : MSBFirst;
}

int image_upload_pixel_bits(Display* display)
{
    int depth = DefaultDepth(display, 0), count = 0, bits = 0;
    XPixmapFormatValues* formats = XListPixmapFormats(display, &count);
    for (int i = 0; formats && i < count; i++)
        if (formats[i].depth == depth)
            bits = formats[i].bits_per_pixel;
    if (formats)
        XFree(formats);
    return bits;
}

static bool create_pixmap(ImageUpload* up)
{
    Display* d = up->display;
    Window root = RootWindow(d, 0);
    xerr_trap_begin(d);
    up->pixmap = XCreatePixmap(d, root, (unsigned)up->width, (unsigned)up->height,
                               (unsigned)DefaultDepth(d, 0));
    XGCValues values;
    values.function = GXcopy;
    values.foreground = g_tessel.backPixel;
    values.background = g_tessel.backPixel;
    up->gc = XCreateGC(d, root, GCFunction | GCForeground | GCBackground, &values);
    if (xerr_trap_end(d) == 0)
        return true;
    image_upload_end(up, false);
    return false;
}

static size_t rows_for(size_t bytes, size_t line, int height)
{
    size_t rows = line ? bytes / line : 1;
    if (rows < 1)
        rows = 1;
    if (rows > (size_t)height)
        rows = (size_t)height;
    return rows;
}

// Packs the row layout the fill code relies on once the band exists.
static void adopt_band(ImageUpload* up, XImage* img, size_t rows)
{
    up->direct = img->bits_per_pixel == 32;
    if (!up->direct)
        up->scratch.assign((size_t)up->width, 0);
    up->band = img;
    up->bandRows = (int)rows;
}

static void release_shm_band(ImageShmBand* b)
{
    if (b->segment.shmaddr && b->segment.shmaddr != (char*)-1)
        shmdt(b->segment.shmaddr);
    if (b->image) {
        b->image->data = nullptr;  // the segment, not malloc memory
        XDestroyImage(b->image);
    }
    *b = ImageShmBand();
}

// A shared band of rows x width; false (nothing left behind) when the
// kernel or the server refuses the segment.
static bool create_shm_band(ImageUpload* up, ImageShmBand* b, size_t rows)
{
    Display* d = up->display;
    b->image = XShmCreateImage(d, DefaultVisual(d, 0), (unsigned)DefaultDepth(d, 0), ZPixmap, nullptr,
                               &b->segment, (unsigned)up->width, (unsigned)rows);
    if (!b->image)
        return false;
    uint64_t bytes = (uint64_t)b->image->bytes_per_line * (uint64_t)rows;
    b->segment.shmid = shmget(IPC_PRIVATE, (size_t)bytes, IPC_CREAT | 0600);
    if (b->segment.shmid < 0) {
        release_shm_band(b);
        return false;
    }
    b->segment.shmaddr = static_cast<char*>(shmat(b->segment.shmid, nullptr, 0));
    if (b->segment.shmaddr == (char*)-1) {
        shmctl(b->segment.shmid, IPC_RMID, nullptr);
        release_shm_band(b);
        return false;
    }
    b->image->data = b->segment.shmaddr;
    b->segment.readOnly = True;
    // A remote server cannot reach the segment and answers with an error.
    xerr_trap_begin(d);
    Status sent = XShmAttach(d, &b->segment);
    int error = xerr_trap_end(d);
    // Gone as soon as both sides detach, even if the process dies first.
    shmctl(b->segment.shmid, IPC_RMID, nullptr);
    if (!sent || error) {
        release_shm_band(b);
        return false;
    }
    b->attached = true;
    return true;
}

static bool create_shm_bands(ImageUpload* up)
{
    Display* d = up->display;
    int opcode, event, error, major, minor;
    Bool pixmaps;
    // Asked by name first: the XShm query itself complains on stderr when
    // the server lacks the extension.
    if (s_forceSocket || (uint64_t)up->width * (uint64_t)up->height < SHM_MIN_PIXELS ||
        !XQueryExtension(d, "MIT-SHM", &opcode, &event, &error) ||
        !XShmQueryVersion(d, &major, &minor, &pixmaps))
        return false;
    if (ImageByteOrder(d) != host_byte_order())
        return false;  // the fill code writes native values the server reads as they are
    XImage* probe = XCreateImage(d, DefaultVisual(d, 0), (unsigned)DefaultDepth(d, 0), ZPixmap, 0,
                                 nullptr, (unsigned)up->width, 1, 32, 0);
    if (!probe)
        return false;
    size_t rows = rows_for(SHM_BAND_BYTES, (size_t)probe->bytes_per_line, up->height);
    XDestroyImage(probe);
    for (ImageShmBand& b : up->shmBands) {
        if (!create_shm_band(up, &b, rows)) {
            image_upload_end(up, true);
            return false;
        }
    }
    up->shm = true;
    up->shmEventBase = XShmGetEventBase(d);
    up->shmCurrent = 0;
    adopt_band(up, up->shmBands[0].image, rows);
    return true;
}

static bool create_socket_band(ImageUpload* up)
{
    Display* d = up->display;
    int depth = DefaultDepth(d, 0);
    XImage* img = XCreateImage(d, DefaultVisual(d, 0), (unsigned)depth, ZPixmap, 0, nullptr,
                               (unsigned)up->width, 1, 32, 0);
    if (!img)
        return false;
    size_t line = (size_t)img->bytes_per_line;
    size_t rows = rows_for(BAND_BYTES, line, up->height);
    img->height = (int)rows;
    img->data = static_cast<char*>(calloc(rows, line));
    if (!img->data) {
        XDestroyImage(img);
        return false;
    }
    int bpp = img->bits_per_pixel;
    if (bpp == 8 || bpp == 16 || bpp == 32) {
        // Written with native stores; Xlib swaps for a server of the other order.
        img->byte_order = host_byte_order();
    }
    adopt_band(up, img, rows);
    return true;
}

int image_upload_begin(ImageUpload* up, Display* display, int width, int height)
{
    up->display = display;
    up->width = width;
    up->height = height;
    if (width <= 0 || height <= 0 || !create_pixmap(up)) {
        fprintf(stderr, "Error: Load Image - Can't create pixmap.\n");
        return 0;
    }
    if (!create_shm_bands(up) && !create_socket_band(up)) {
        fprintf(stderr, "Error: Can't allocate memory.\n");
        image_upload_end(up, false);
        return 0;
    }
    up->partial.pixmap = up->pixmap;
    up->partial.gc = up->gc;
    up->partial.width = width;
    up->partial.height = height;
    return 1;
}

static char* band_line(ImageUpload* up, int row)
{
    return up->band->data + (size_t)row * (size_t)up->band->bytes_per_line;
}

// Band line of the row being filled; a bottom-up band fills from its end.
static int current_line(const ImageUpload* up)
{
    return up->bottomUp ? up->bandRows - 1 - up->filled : up->filled;
}

uint32_t* image_upload_row(ImageUpload* up)
{
    if (up->direct)
        return reinterpret_cast<uint32_t*>(band_line(up, current_line(up)));
    return up->scratch.data();
}

// Narrows pixel values to the band's 16- or 8-bit units; the fixed inner
// count lets the compiler turn each block into a few vector instructions.
template <typename Unit>
static void narrow(const uint32_t* src, int w, Unit* dst)
{
    int x = 0;
    for (; x + 16 <= w; x += 16)
        for (int k = 0; k < 16; k++)
            dst[x + k] = (Unit)src[x + k];
    for (; x < w; x++)
        dst[x] = (Unit)src[x];
}

static void store_scratch(ImageUpload* up)
{
    XImage* img = up->band;
    int y = current_line(up);
    char* line = band_line(up, y);
    const uint32_t* src = up->scratch.data();
    int w = up->width;
    switch (img->bits_per_pixel) {
    case 16:
        narrow(src, w, reinterpret_cast<uint16_t*>(line));
        break;
    case 8:
        narrow(src, w, reinterpret_cast<uint8_t*>(line));
        break;
    default:
        for (int x = 0; x < w; x++)
            XPutPixel(img, x, y, src[x]);
        break;
    }
}

struct CompletionMatch {
    int type;
    Pixmap pixmap;
};

static Bool is_completion(Display*, XEvent* event, XPointer arg)
{
    const CompletionMatch* m = reinterpret_cast<const CompletionMatch*>(arg);
    return event->type == m->type &&
           reinterpret_cast<XShmCompletionEvent*>(event)->drawable == m->pixmap;
}

// Takes this upload's completion notices off the queue; they mean nothing
// to any window.
static void drop_completions(ImageUpload* up)
{
    CompletionMatch m = {up->shmEventBase + ShmCompletion, up->pixmap};
    XEvent event;
    while (XCheckIfEvent(up->display, &event, is_completion, reinterpret_cast<XPointer>(&m))) {
    }
}

// Returns once the server has read the band's segment.  Any event, reply or
// error for a later request proves it, so a completion notice taken by the
// event hook still counts; a server that says nothing gets a sync.
static void wait_band(ImageUpload* up, ImageShmBand* b)
{
    Display* d = up->display;
    while (b->busy && LastKnownRequestProcessed(d) < b->putSerial) {
        drop_completions(up);
        if (LastKnownRequestProcessed(d) >= b->putSerial)
            break;
        pollfd p = {ConnectionNumber(d), POLLIN, 0};
        if (poll(&p, 1, SHM_WAIT_MS) <= 0) {
            XSync(d, False);
            break;
        }
    }
    b->busy = false;
}

static void put_band(ImageUpload* up, int srcY, int dstY)
{
    Display* d = up->display;
    if (!up->shm) {
        XPutImage(d, up->pixmap, up->gc, up->band, 0, srcY, 0, dstY, (unsigned)up->width,
                  (unsigned)up->filled);
        return;
    }
    ImageShmBand* b = &up->shmBands[up->shmCurrent];
    b->putSerial = NextRequest(d);
    XShmPutImage(d, up->pixmap, up->gc, up->band, 0, srcY, 0, dstY, (unsigned)up->width,
                 (unsigned)up->filled, True);
    b->busy = true;
    XFlush(d);
    // Fill the other band while the server copies this one.
    up->shmCurrent ^= 1;
    ImageShmBand* next = &up->shmBands[up->shmCurrent];
    wait_band(up, next);
    up->band = next->image;
}

static void send_band(ImageUpload* up)
{
    if (up->filled == 0)
        return;
    int srcY = up->bottomUp ? up->bandRows - up->filled : 0;
    int dstY = up->bottomUp ? up->height - up->sent - up->filled : up->sent;
    put_band(up, srcY, dstY);
    up->sent += up->filled;
    up->filled = 0;
    // Rows sent from the bottom make no top to show until the last band.
    int fromTop = !up->bottomUp ? up->sent : up->sent == up->height ? up->height : 0;
    if (s_loading && fromTop > 0)
        s_loading(&up->partial, fromTop);
    // Keep the application answering events during long loads.
    if (up->sent < up->height)
        tslHookEvent(up->display, nullptr);
}

void image_upload_commit(ImageUpload* up)
{
    if (up->sent + up->filled >= up->height)
        return;
    if (!up->direct)
        store_scratch(up);
    up->filled++;
    if (up->filled == up->bandRows || up->sent + up->filled == up->height)
        send_band(up);
}

int image_upload_finish(ImageUpload* up)
{
    send_band(up);
    return up->sent == up->height ? 1 : 0;
}

// Detaches and frees the shared bands once the server is done with them.
static void end_shm(ImageUpload* up)
{
    Display* d = up->display;
    bool any = false;
    for (ImageShmBand& b : up->shmBands)
        any = any || b.attached;
    if (any && d) {
        xerr_trap_begin(d);
        for (ImageShmBand& b : up->shmBands)
            if (b.attached)
                XShmDetach(d, &b.segment);
        xerr_trap_end(d);  // syncs: every put and detach has been handled
        if (up->pixmap)
            drop_completions(up);
    }
    for (ImageShmBand& b : up->shmBands)
        release_shm_band(&b);
}

void image_upload_end(ImageUpload* up, bool keep)
{
    if (up->band && !up->shm)
        XDestroyImage(up->band);  // frees the band's data too
    end_shm(up);
    up->shm = false;
    up->band = nullptr;
    up->scratch.clear();
    if (keep || !up->display)
        return;
    xerr_trap_begin(up->display);
    if (up->pixmap)
        XFreePixmap(up->display, up->pixmap);
    if (up->gc)
        XFreeGC(up->display, up->gc);
    xerr_trap_end(up->display);
    up->pixmap = 0;
    up->gc = nullptr;
}
