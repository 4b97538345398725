#include "page_rect.h"

#include "platform/numeric.h"

TRect TRect::scaled(float zoom) const
{
    const double z = zoom;
    return TRect(truncToInt(Left * z), truncToInt(Top * z), truncToInt(Right * z), truncToInt(Bottom * z));
}
