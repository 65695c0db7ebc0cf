// Steps the file readers share: rows decoded a band at a time, converted to
// pixel values and sent; then the upload and its mask become the record.
#ifndef TSL_IMAGE_IMAGE_READ_H
#define TSL_IMAGE_IMAGE_READ_H

#include <cstdint>
#include <vector>

#include "image/image_mask.h"
#include "image/image_upload.h"

// Reads bands with read(band, rows), which returns the rows written, 0 at
// the end or -1 after an error, and has convert(row, y, out) turn each row
// of rowBytes bytes into the pixel values of pixmap row y.  Returns the last
// result of read.
template <class Read, class Convert>
int image_read_bands(ImageUpload* up, size_t rowBytes, Read read, Convert convert)
{
    std::vector<uint8_t> band((size_t)up->bandRows * rowBytes);
    int done = 0, n = 1;
    while (done < up->height && (n = read(band.data(), up->bandRows)) > 0) {
        for (int i = 0; i < n; i++) {
            convert(band.data() + (size_t)i * rowBytes, done + i, image_upload_row(up));
            image_upload_commit(up);
        }
        done += n;
    }
    return n;
}

// Sends rows that read(row) writes straight into the band as 32-bit pixel
// values; read returns 1 a row, 0 at the end or -1 after an error.
template <class Read>
int image_read_rows32(ImageUpload* up, Read read)
{
    int r = 1;
    for (int y = 0; y < up->height && (r = read(image_upload_row(up))) == 1; y++)
        image_upload_commit(up);
    return r;
}

// Completes an upload whose reader returned last (0 at the end, -1 after a
// reported error) into a record of the given format with the mask (null
// for none).  A picture cut short prints "Error: <kind> - Picture data
// ended early (<path>)."; every failure frees all and returns null.
TslImage* image_read_finish(ImageUpload* up, int last, int format, const ImageMask* mask, const char* kind,
                            const char* path);

#endif
