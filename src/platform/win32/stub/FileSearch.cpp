// Stand-in until the Windows file search exists: the portable search is the
// same on Windows' file systems, whose names are already matched without
// regard to case.
#include "../../FileSearch.cpp"
