// What the leak checker of a sanitized build is told to let pass: memory the
// system libraries keep for the life of the process, out of our reach.
//  - fontconfig 2.14 loses a few hundred bytes while parsing the system's
//    configuration, once per process;
//  - SDL keeps its D-Bus connection until the process ends (it never shuts
//    D-Bus down).
// One definition for the whole program: the hooks may exist only once.

#if defined(__SANITIZE_ADDRESS__)
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig.so\n"
           "leak:libdbus-1.so\n";
}
extern "C" const char* __lsan_default_options() { return "print_suppressions=0"; }
#endif
