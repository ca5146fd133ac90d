// Options of the address and leak checker for this test program.
//
// The leak checker of the toolchain records the thread-local storage that
// libraries loaded at run time reach through __tls_get_addr; in some link
// layouts of this program it records a bogus block for the JPEG library (which
// the main window loads its pictures with) and then stops with a fatal error
// while scanning at exit, failing every test that makes a window. Not
// following those calls avoids it; the storage of the program and of the
// libraries it links is still scanned.
extern "C" const char* __asan_default_options()
{
    return "intercept_tls_get_addr=0";
}
