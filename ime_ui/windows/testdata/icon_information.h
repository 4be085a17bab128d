#pragma once

#define IDD_ICON_INFO 101
#define IDC_ICON_INFO 1001
