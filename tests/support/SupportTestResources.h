// Resource ids of the UI-driver test dialog.
#pragma once

#define IDD_DRIVER_TEST 201
#define IDC_DRIVER_EDIT 2001
#define IDC_DRIVER_ASK 2002
