#pragma once
// Names of the product that more than one of its programs must agree on.

// The class of the guard's main window. A second start of the guard finds the first through it,
// and a setup or an uninstaller recognises the running guard by it where the system names the
// guard's process by its file name alone.
inline constexpr char kGuardMainWindowClass[] = "TLinewardenForm";
