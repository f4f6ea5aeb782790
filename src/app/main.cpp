#include "window/application.h"

int main(int argc, char *argv[])
{
    return runQuillmark(argc, argv);
}
