// What the shipped programs do when the C++ runtime must terminate them (an exception that no
// handler takes, a noexcept function that throws): end at once, as std::abort does.
//
// The runtime's own handler would first write the exception's demangled type name to the
// standard error stream, which a GUI program does not have, and for that one message it links
// the demangler and the C runtime's formatted printing: some 65 KB of every program. Defining
// the handler here keeps the runtime's version, and all it needs, out of the link.
#include <cstdlib>

namespace __gnu_cxx {

void __verbose_terminate_handler()
{
    std::abort();
}

}  // namespace __gnu_cxx
