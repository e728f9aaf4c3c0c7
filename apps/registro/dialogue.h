#ifndef REGISTRO_DIALOGUE_H
#define REGISTRO_DIALOGUE_H

#include "registerFile.h"

// The register at the console: the main menu and its actions (Alta, Modificar, Baja, Informar,
// Salir) over reg, each change saved to reg.path before the next question. Runs until Salir or
// the end of standard input. The exit status: EXIT_OK, or EXIT_FAILED when a change that could
// not be saved during the session cannot be saved at its end either (or the output was lost).
int runDialogue(Register& reg);

#endif
