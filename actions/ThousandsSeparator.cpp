#include "actions/ThousandsSeparator.h"

#include <windows.h>

char RefreshThousandsSeparator(Machine& machine)
{
    ::SetThreadLocale(LOCALE_USER_DEFAULT);
    return machine.QueryThousandsSeparator();
}
