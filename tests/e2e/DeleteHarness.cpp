// SPDX-License-Identifier: MIT
// The program itself, with the deletion window opened at start: its menu item stays disabled
// in picora3, so the end-to-end test reaches the window this way.
#include "forms/Module1.h"
#include "forms/Startup.h"

int main(int argc, char **argv)
{
    return runPicora3(argc, argv, Module1::ShowDelete);
}
