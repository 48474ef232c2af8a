#include "ui/shell/printing.h"

// Printing is not there yet: the command does nothing and says so to no one.
int PrintGame(HWND owner)
{
    (void)owner;
    return 0;
}
