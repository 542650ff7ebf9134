#include <exception>

#include "gui/shell/ProgramBody.h"

int main(int argc, char* argv[]) {
  try {
    return zelvora::RunProgram(argc, argv);
  } catch (const std::exception& exception) {
    return zelvora::ReportFatalException(exception, argc, argv);
  }
}
