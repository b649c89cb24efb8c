// Resource ids of the window-framework test dialogs.
#pragma once

#define IDD_FRAME_TEST 101
#define IDC_FIRST_EDIT 1001
#define IDC_SECOND_EDIT 1002

#define IDD_FIT_TEST 102
#define IDC_FIT_LABEL 1003
#define IDC_FIT_GROUP 1004
#define IDC_FIT_ONE 1005
#define IDC_FIT_TWO 1006
