#pragma once

#include <exception>

namespace zelvora {

// The program from entry to exit: paths, command line, single instance, main window, message
// loop, and the exit code.
int RunProgram(int argc, char* argv[]);

// Ends the program with a message box naming the exception that reached the program body.
int ReportFatalException(const std::exception& exception, int argc, char* argv[]);

}  // namespace zelvora
