#include "toolkit/controls/wnd_delay_draw.h"

t_wndDelayDraw::~t_wndDelayDraw()
{
    m_drawPending = false;
    m_drawRunning = false;
}
