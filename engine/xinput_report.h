// An Xbox controller read through XInput, seen as the joystick driver would
// report such a pad: the same buttons and axes, but each trigger on an axis
// of its own, so both can be held at once, and the guide button.
#pragma once

#include "platform/joystick.h"
#include "platform/xinput.h"

// Buttons A, B, X, Y, LB, RB, Back, Start, left stick, right stick, guide as
// 1 to 11; the left stick on X and Y (Y's minimum up), the right stick on U
// and R; the left trigger on Z and the right one on V, each resting at the
// centre and reaching the maximum when fully pulled; the d-pad as the hat.
void XInputReport(const XInputPad& pad, JoyInfoEx& info);

// The capabilities of such a pad: six axes of 0..65535, 11 buttons, a hat.
void XInputCaps(uint32_t userIndex, JoyCaps& caps);
