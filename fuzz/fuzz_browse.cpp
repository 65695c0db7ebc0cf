// Fuzz target for the viewer's browsing arithmetic: the zoom and pan
// geometry for any picture, pane, level, offset and anchor, and the walk's
// natural order over any names.  Sizes stay in range, offsets fill the
// pane, and the order is a total one that the moves agree with.
#include <algorithm>
#include <string>
#include <vector>

#include "dirwalk.h"
#include "fuzz_input.h"
#include "zoom_geom.h"

// Picture sides as the loaders give them, panes as X windows can be.
static void zoom(const uint8_t*& data, size_t& size)
{
    int w = (take(data, size) & 0xFFFFF) + 1, h = (take(data, size) & 0xFFFFF) + 1;
    int paneW = (take(data, size) & 0xFFFF) + 1, paneH = (take(data, size) & 0xFFFF) + 1;
    int level = take(data, size) % 4, offset = take(data, size) & 0x7FFFFFFF;
    int anchor = (take(data, size) & 0xFFFF) % paneW;
    ZoomSize at = zoom_level_size(w, h, level), fit = zoom_fit_size(w, h, paneW, paneH);
    check(at.width >= 1 && at.height >= 1);
    check(fit.width >= 1 && fit.height >= 1 && fit.width <= w && fit.height <= h);
    check((fit.width <= paneW || fit.width == 1) && (fit.height <= paneH || fit.height == 1));
    int next;
    for (int direction : {1, -1})
        if (zoom_next_level(w, h, fit, direction, &next))
            check(next >= ZOOM_MIN_LEVEL && next <= ZOOM_MAX_LEVEL);
    int moved = zoom_anchor_offset(paneW, fit.width, at.width, offset, anchor);
    int last = at.width - paneW;
    check(moved >= 0 && moved <= (last > 0 ? last : 0));
    int dest, src;
    zoom_place(paneW, at.width, offset, &dest, &src);
    check(dest >= 0 && src >= 0 && src <= (last > 0 ? last : 0));
    // The bar's position is one the scroll keys can reach.
    int pos = zoom_bar_pos(paneW, at.width, offset, 32);
    check(pos >= 0 && (long long)pos * 32 <= (long long)(last > 0 ? last : 0) + 31);
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    zoom(data, size);
    std::vector<std::string> names(1);
    for (size_t i = 0; i < size && names.size() < 64; i++)
        if (data[i] == '\n')
            names.emplace_back();
        else
            names.back().push_back((char)data[i]);
    for (const std::string& a : names)
        for (const std::string& b : names) {
            int ab = dirwalk_compare(a, b);
            check(ab == -dirwalk_compare(b, a) && (ab == 0) == (a == b));
            for (const std::string& c : names)
                check(!(ab < 0 && dirwalk_compare(b, c) < 0) || dirwalk_compare(a, c) < 0);
        }
    std::vector<std::string> list = names;
    std::sort(list.begin(), list.end(),
              [](const std::string& a, const std::string& b) { return dirwalk_compare(a, b) < 0; });
    for (const std::string& name : names) {
        int next = dirwalk_target(list, name, WALK_NEXT);
        int previous = dirwalk_target(list, name, WALK_PREVIOUS);
        check(next < 0 || dirwalk_compare(list[(size_t)next], name) > 0);
        check(previous < 0 || dirwalk_compare(list[(size_t)previous], name) < 0);
        dirwalk_is_picture(name);
    }
    return 0;
}
