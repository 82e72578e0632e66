// Keeps the C++ run time's name demangler out of Setup.exe.
//
// Should an exception ever escape, libstdc++'s terminate handler writes the
// exception's type name to stderr before it aborts, and demangles that name
// first with abi::__cxa_demangle. The demangler and the printf engine it
// brings along make up over a third of Setup.exe (some 67 KB of 177 KB) for a
// line that a GUI program, which has no console, never shows. This
// definition takes the place of the library's in Setup.exe only: it declines
// every name, so the handler writes the type's mangled name instead
// ("St9bad_alloc" for "std::bad_alloc") and aborts as before.
#include <cxxabi.h>

#include <cstddef>

char* abi::__cxa_demangle(const char* /*mangledName*/, char* /*buffer*/, std::size_t* /*length*/, int* status)
{
    // -2: not a name under the C++ ABI's mangling rules.
    if (status != nullptr) {
        *status = -2;
    }
    return nullptr;
}
