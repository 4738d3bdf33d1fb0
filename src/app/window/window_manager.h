#pragma once
// Whether something besides the program places its windows and can give one
// the whole screen: a Wayland compositor always does; on X11 a window
// manager does when it says so (EWMH: a live _NET_SUPPORTING_WM_CHECK window,
// and _NET_WM_STATE_FULLSCREEN among what it supports). Without one (a bare X
// server, as in the tests' Xvfb) the program places the window itself.
namespace app::window {

bool windowManagerDoesFullScreen();

}  // namespace app::window
