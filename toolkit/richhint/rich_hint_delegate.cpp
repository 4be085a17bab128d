#include "toolkit/richhint/rich_hint_delegate.h"

t_wndRichHintDelegate::~t_wndRichHintDelegate() = default;
