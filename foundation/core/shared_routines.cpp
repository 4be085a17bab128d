#include "foundation/core/shared_routines.h"

bool ReturnTrue() { return true; }

void t_hintLine::Init(int kindValue, const wchar_t* textValue, bool linkValue, int start, int length)
{
    kind = kindValue;
    text = textValue;
    link = linkValue;
    linkStart = start;
    linkLength = length;
}
