// Dactyla.exe: a touch-typing trainer. The program reads no command line.
#include "app/main_window.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) {
    return dactyla::app::runProgram(instance, showCommand);
}
