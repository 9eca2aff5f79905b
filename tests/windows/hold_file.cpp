// Holds a file open the way a Windows program that locks it would: no sharing
// at all, so that no other process may read, write, rename or delete it.
//
//   hold_file FILE      prints "holding" once the file is open, then keeps it
//                       open until its standard input ends.
#include <windows.h>

#include <cstdio>

int wmain(int argc, wchar_t** argv) {
    if (argc != 2) {
        std::fputs("usage: hold_file FILE\n", stderr);
        return 2;
    }
    HANDLE file = ::CreateFileW(argv[1], GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        std::fprintf(stderr, "hold_file: cannot open (error %lu)\n", ::GetLastError());
        return 1;
    }
    std::puts("holding");
    std::fflush(stdout);
    while (std::getchar() != EOF) {
    }
    ::CloseHandle(file);
    return 0;
}
