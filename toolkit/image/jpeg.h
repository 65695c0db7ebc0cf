// The bridge to libjpeg: whole-picture decoding and encoding of packed RGB
// buffers, buffer reshaping, and the error and colour handling that the
// streaming decoder shares.
#ifndef TSL_IMAGE_JPEG_H
#define TSL_IMAGE_JPEG_H

#include <csetjmp>
#include <cstdio>

#include <jpeglib.h>

// libjpeg's error record followed by the caller's jump target.
struct JpegErrorMgr {
    jpeg_error_mgr pub;
    jmp_buf jump;
};

// Prints "Error: JPEG - Fatal (...)" and jumps back to the caller's setjmp.
void my_error_exit(j_common_ptr cinfo);

// Fills err with libjpeg's standard handling and our exit; returns the part
// to store in cinfo.err.
jpeg_error_mgr* jpeg_bridge_error_init(JpegErrorMgr* err);

// After jpeg_read_header: asks for RGB, greyscale or CMYK output (never an
// unknown layout) and guards against files with endless progressive scans.
// progress must live as long as cinfo.
void jpeg_bridge_prepare(j_decompress_ptr cinfo, jpeg_progress_mgr* progress);

// Converts one decoded scan line (1, 3 or 4 components) to packed RGB.
void jpeg_bridge_row_to_rgb(j_decompress_ptr cinfo, const JSAMPLE* row, unsigned char* rgb);

// CMYK to RGB.  Adobe (Photoshop) files store the inks inverted.
void jpeg_bridge_cmyk_to_rgb(const unsigned char* cmyk, size_t count, int inverted,
                             unsigned char* rgb);

unsigned char* JpegFileToRGB(const char* path, unsigned short* width, unsigned short* height);
int GetJPGDimensions(const char* path, unsigned short* width, unsigned short* height);
int RGBToJpegFile(const char* path, const unsigned char* rgb, unsigned short width,
                  unsigned short height, int color, int quality);
unsigned char* MakeDwordAlignedBuf(const unsigned char* rgb, unsigned short width,
                                   unsigned short height, unsigned short* rowBytes);
unsigned char* RGBFromDWORDAligned(const unsigned char* aligned, unsigned short width,
                                   unsigned short rowBytes, unsigned short height);
int VertFlipBuf(unsigned char* buf, unsigned short rowBytes, unsigned short height);
int BGRFromRGB(unsigned char* buf, unsigned short width, unsigned short rowBytes,
               unsigned short height);
int MakeGrayScale(unsigned char* rgb, unsigned short width, unsigned short height);

#endif
