// Rectangle helpers: building, moving, hit-testing and intersecting the
// toolkit's 16-bit rectangles.  Arithmetic is done in int and stored back
// into the 16-bit fields, which wraps like the record itself.
#include "tessel.h"

int tslSetRectangle(TslRect* r, int x, int y, int width, int height)
{
    if (!r) return 0;
    *r = tslSetRect(x, y, width, height);
    return 1;
}

TslRect tslSetRect(int x, int y, int width, int height)
{
    TslRect r;
    r.x = (short)x;
    r.y = (short)y;
    r.width = (unsigned short)width;
    r.height = (unsigned short)height;
    return r;
}

TslRect tslSetOffsetRect(TslRect r, int dx, int dy)
{
    r.x = (short)(r.x + dx);
    r.y = (short)(r.y + dy);
    return r;
}

int tslIsEmptyRect(TslRect r)
{
    return (r.width == 0 || r.height == 0) ? 1 : 0;
}

// Points on the edge lines count as outside.
int tslPointInRect(int px, int py, TslRect r)
{
    int right = r.x + r.width;
    int bottom = r.y + r.height;
    return (r.x < px && px < right && r.y < py && py < bottom) ? 1 : 0;
}

// Rectangles that only touch yield a zero-width or zero-height result, except
// when the shared edge lies on coordinate 0, which reads as no overlap.
TslRect tslGetInRect(TslRect a, TslRect b)
{
    int left = a.x > b.x ? a.x : b.x;
    int top = a.y > b.y ? a.y : b.y;
    int ar = a.x + a.width, br = b.x + b.width;
    int ab = a.y + a.height, bb = b.y + b.height;
    int right = ar < br ? ar : br;
    int bottom = ab < bb ? ab : bb;
    if (right < 0) right = 0;
    if (bottom < 0) bottom = 0;
    if (right >= left && bottom >= top && right != 0 && bottom != 0)
        return tslSetRect(left, top, right - left, bottom - top);
    return tslSetRect(0, 0, 0, 0);
}
