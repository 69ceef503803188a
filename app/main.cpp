// SPDX-License-Identifier: MIT
#include "app/Startup.h"

int main(int argc, char **argv)
{
    return runPicora3(argc, argv);
}
