#pragma once

namespace velorun::test {

// Keeps every shared library loaded now mapped until the process exits.
//
// GLX loads the GL driver when a context is made and unloads it again when the
// display closes, before LeakSanitizer looks for leaks at exit. A block the
// driver leaked then has no module to name in its stack, and no suppression can
// match it, except one that names the allocation function and so hides our own
// leaks too. Tests call this while their context still exists, so that the
// suppressions can name the driver's libraries instead.
void keepLoadedLibrariesUntilExit();

} // namespace velorun::test
