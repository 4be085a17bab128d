// Resource ids of the owner-drawn button fixtures (a dialog and its pictures).
#pragma once

#define IDB_STRIP3 101
#define IDB_BACK 102
#define IDD_BUTTONS 200
#define IDC_FACE 1001
#define IDC_HOVER 1002
#define IDC_RADIO_A 1003
#define IDC_RADIO_B 1004
#define IDC_RADIO_C 1005
#define IDC_HOVER4 1006
#define IDC_PLAIN 1010
#define IDC_PLAIN2 1011
