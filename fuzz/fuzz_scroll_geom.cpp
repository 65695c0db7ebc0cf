// Fuzz target for the scroll-bar arithmetic: any bar length, range, step,
// position and pointer, as the scroll bar's record and events can hold
// them.  Positions must stay in range and the thumb inside its minimum.
#include <initializer_list>

#include "controls/scroll_geom.h"
#include "fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    int length = take(data, size) & 0xFFFF;  // a window's 16-bit size
    int max = take(data, size), min = take(data, size), pos = take(data, size);
    int along = (int16_t)take(data, size), across = (int16_t)take(data, size);  // event coordinates
    int button = take(data, size) & 0xFF, rightHand = take(data, size) & 1;
    int buttons = take(data, size) & 7, part = take(data, size) % 20;
    // The record keeps max >= 0, min >= 1 and pos >= 0.
    max = max < 0 ? 0 : max;
    min = min < 1 ? 1 : min;
    pos = pos < 0 ? 0 : pos;
    for (bool hit : {false, true}) {
        ScrollGeom g = scroll_geometry(length, max, min, pos, hit);
        check(g.thumb >= SCROLL_MIN_THUMB && g.trough >= 0 && g.trough <= 0xFFFF);
        int top = g.limit < 0 ? 0 : g.limit;
        int clamped = scroll_clamp(g, pos);
        check(clamped >= 0 && clamped <= top);
        int stepped = scroll_step(g, part, clamped);
        check(stepped >= 0 && stepped <= top);
        int offset = 0;
        int pressed = scroll_press(g, along, across, button, scroll_buttons(rightHand, buttons), &offset);
        check(pressed == -1 || (pressed % SCROLL_SECONDARY >= SCROLL_START_ARROW &&
                                pressed % SCROLL_SECONDARY <= SCROLL_AFTER_THUMB));
        int dragged = scroll_drag(g, along, offset);
        check(dragged >= 0 && dragged <= top);
        check(scroll_region(g, along, across) >= SCROLL_NONE);
    }
    return 0;
}
