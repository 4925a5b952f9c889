#pragma once

// Command-line modes that need no window:
//   stepsmith --check [--catalogue FILE] SCRIPT...
//   stepsmith --format [--catalogue FILE] IN OUT
// Returns the exit status (0 success, 1 a script failed, 2 wrong usage) when the arguments ask
// for one of them, or -1 when they do not (the program then starts its window). Creates its own
// QCoreApplication.
int RunCommandLine(int argc, char *argv[]);
