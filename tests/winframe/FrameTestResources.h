// Resource ids of the window-framework test dialogs.
#pragma once

#define IDD_FRAME_TEST 101
#define IDC_FIRST_EDIT 1001
#define IDC_SECOND_EDIT 1002
