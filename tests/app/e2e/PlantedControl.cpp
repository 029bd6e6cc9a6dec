// The planted libraries' control: a program that loads each library named
// on its command line by its bare name, as a program that leaves the search
// order as it is would. Beside planted copies it takes them, and each
// records it: the override and the record work, so an empty record of the
// real programs means something.
#include <windows.h>

#include <string>

int wmain(int argc, wchar_t** argv) {
    for (int i = 1; i < argc; ++i) {
        const HMODULE m = ::LoadLibraryW((std::wstring(argv[i]) + L".dll").c_str());
        if (m != nullptr) ::FreeLibrary(m);
    }
    return 0;
}
