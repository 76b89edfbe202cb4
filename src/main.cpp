#include "gui/shell/Application.h"

int main(int argc, char **argv)
{
    return runVellorin(argc, argv);
}
