// A stage for the controls' tests: a top-level window to put a control on,
// a user who plays a script of pointer actions on it while the toolkit's
// loop runs, and a log of what the owner's callback received.
#ifndef TSL_TEST_XCONTROL_H
#define TSL_TEST_XCONTROL_H

#include <string>

#include "xfixture.h"

class ControlTest : public XDepthTest {
protected:
    TslWindow* stage = nullptr;
    // One "code/arg" per callback, tagged with the event the control was
    // handling: p press, r release, m motion, R repeat, c configure, - none.
    static std::string notices;
    static int note(TslWindow* control, int code, int arg1, int arg2);
    // Wraps the control's procedure so that notices know their event.
    static void trace(TslWindow* control);

    void SetUp() override;
    // Plays a script in tslMainLoop on the stage, then closes the stage's
    // loop.  Tokens: "x,y" moves the pointer there on the control (given
    // as y,x when transposed) and "x,y!" without a pause after it; "p",
    // "p3" press and "r", "r3" release a mouse button; "w500" waits 500 ms.
    void play(TslWindow* control, const char* script, bool transpose = false);
    unsigned long screen(TslWindow* w, int x, int y);
};

#endif
