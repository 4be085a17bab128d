// What a stand-in program was started with, written where the test that started it can read
// it back.
#pragma once

// Names the file that receives the records; stand-ins started without it record nothing.
#define KAVREL_LAUNCH_LOG_VARIABLE L"KAVREL_LAUNCH_LOG"
// A decimal exit code the stand-in ends with (0 without it).
#define KAVREL_STANDIN_EXIT_VARIABLE L"KAVREL_STANDIN_EXIT"

// Appends one record to the log file: this program's file name, its command line as
// GetCommandLineW gives it and its working folder, each on its own line (UTF-16LE, CR LF,
// no byte-order mark). One write per record, so records of parallel launches never mix.
// Answers the exit code the stand-in should end with.
int RecordLaunch();
