// The X server going away (killed, or the connection cut) ends the process
// from inside Xlib, which by default says nothing of ours. The viewer stops
// a running recording first, so that its file is finished, and says what
// happened before it exits 1.
#pragma once

#include <functional>
#include <string>

namespace viewer {

// Replaces GDK's handler of a lost X connection. `stop` runs without touching
// a window (there is no display left) and returns what to add to the message
// ("" for nothing); an empty function just says what happened.
void whenDisplayLost(std::function<std::string()> stop);

}  // namespace viewer
