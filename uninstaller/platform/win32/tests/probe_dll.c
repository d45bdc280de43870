/* A module for the tests to load: Windows refuses to delete the file of a
   module that is mapped into a process. */
__declspec(dllexport) int SwProbe(void) { return 42; }
