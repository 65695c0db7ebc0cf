// Picture orientation: the EXIF orientation tag of a JPEG's APP1 segment,
// read with a bounds-checked TIFF walk, and the rows of a picture turned
// upright by it.  No display involved.
#ifndef TSL_IMAGE_IMAGE_ORIENT_H
#define TSL_IMAGE_IMAGE_ORIENT_H

#include <cstddef>
#include <cstdint>

// The orientation (1..8) stored in an APP1 segment's data ("Exif\0\0" and
// a TIFF structure); 1 when the segment has none, or one out of range.
int exif_orientation(const uint8_t* data, size_t size);

// The upright size of a stored w x h picture: orientations 5 to 8 swap the sides.
void orient_size(int orientation, int w, int h, int* uprightW, int* uprightH);

// Writes row y of the upright picture (RGB triples) from a stored picture
// of w x h packed RGB triples.
void orient_row(const uint8_t* rgb, int w, int h, int orientation, int y, uint8_t* out);

#endif
