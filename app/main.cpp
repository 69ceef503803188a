// SPDX-License-Identifier: MIT
#include "forms/Startup.h"

int main(int argc, char **argv)
{
    return runPicora3(argc, argv);
}
