// The PNG and GIF readers: decode (png_decode, gif_decode), map to pixel
// values (pixel_map), build the transparency mask (image_mask) and send in
// bands (image_upload).
#include <vector>

#include "image/gif_decode.h"
#include "image/image_load.h"
#include "image/image_read.h"
#include "image/pixel_map.h"
#include "image/png_decode.h"

static TslImage* upload_png(PngStream* stream, PixelMap* map, ImageUpload* up, const char* path)
{
    const int w = up->width;
    bool alpha = png_stream_has_alpha(stream);
    // Opaque pictures on a 24-bit screen are written by libpng straight into the band.
    bool native = !alpha && up->direct && pixel_map_is_xrgb8888(map);
    int bpp = png_stream_set_layout(stream, native ? PNG_LAYOUT_NATIVE32 : alpha ? PNG_LAYOUT_RGBA : PNG_LAYOUT_RGB);
    ImageMask mask(w, up->height);
    uint8_t back[3];
    pixel_map_back_rgb(up->display, back);
    std::vector<uint8_t> blended(alpha ? (size_t)w * 3 : 0);
    int last = -1;
    if (bpp && native) {
        last = image_read_rows32(up, [&](uint32_t* row) { return png_stream_read(stream, (uint8_t*)row, 1); });
    } else if (bpp) {
        last = image_read_bands(
            up, (size_t)w * (size_t)bpp, [&](uint8_t* band, int rows) { return png_stream_read(stream, band, rows); },
            [&](const uint8_t* row, int y, uint32_t* out) {
                if (alpha) {
                    image_compose_rgba(row, w, back, blended.data(), &mask, y);
                    row = blended.data();
                }
                pixel_map_rgb(map, row, w, false, out);
            });
    }
    return image_read_finish(up, last, TSL_IMAGE_PNG, &mask, "PNG", path);
}

TslImage* ReadFileToPngImage(Display* display, const char* path, Colormap cmap)
{
    int width = 0, height = 0;
    PngStream* stream = png_stream_open_file(path, &width, &height);
    if (!stream)
        return nullptr;
    PixelMap map;
    pixel_map_begin(&map, display, cmap, true);
    ImageUpload up;
    TslImage* img = image_upload_begin(&up, display, width, height) ? upload_png(stream, &map, &up, path) : nullptr;
    pixel_map_end(&map);
    png_stream_close(stream);
    return img;
}

static TslImage* upload_gif(GifStream* stream, PixelMap* map, ImageUpload* up, const char* path)
{
    const int w = up->width;
    int transparent = gif_stream_transparent(stream);
    ImageMask mask(w, up->height);
    int last = image_read_bands(
        up, (size_t)w, [&](uint8_t* band, int rows) { return gif_stream_read(stream, band, rows); },
        [&](const uint8_t* row, int y, uint32_t* out) {
            pixel_map_indices(map, row, w, out);
            if (transparent >= 0)
                image_mask_index_row(&mask, row, w, y, transparent);
        });
    return image_read_finish(up, last, TSL_IMAGE_GIF, &mask, "GIF", path);
}

TslImage* ReadFileToGifImage(Display* display, const char* path, Colormap cmap)
{
    int width = 0, height = 0;
    GifStream* stream = gif_stream_open_file(path, &width, &height);
    if (!stream)
        return nullptr;
    PixelMap map;
    pixel_map_begin(&map, display, cmap, false);
    uint8_t rgb[256 * 3];
    int colours = gif_stream_palette(stream, rgb);
    int transparent = gif_stream_transparent(stream);
    // Pixels under the mask show the background where the mask is ignored.
    if (transparent >= 0 && transparent < colours)
        pixel_map_back_rgb(display, rgb + transparent * 3);
    GetColorTable(&map, rgb, colours);
    ImageUpload up;
    TslImage* img = image_upload_begin(&up, display, width, height) ? upload_gif(stream, &map, &up, path) : nullptr;
    pixel_map_end(&map);
    gif_stream_close(stream);
    return img;
}
