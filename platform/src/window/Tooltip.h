// The tool-tip window class "tooltips_class32".
#pragma once

namespace platform::window {

// Registers the built-in window classes once.
void RegisterSystemClasses();

}  // namespace platform::window
