// A stand-in for one of the maker's helper programs: it records how it was started and ends.
#include <windows.h>

#include "launch_recorder.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) { return RecordLaunch(); }
