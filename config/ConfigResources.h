// Resource and control identifiers of the configuration program, shared by the resource script
// and the dialogs.
#pragma once

#define IDI_PROGRAM 1

#define IDD_CONFIG 9
#define IDD_EXTENSION 109
#define IDD_ABOUT 110

// Main dialog (9).
#define IDC_EXTENSION_LIST 1002
#define IDC_ADD_EXTENSION 1003
#define IDC_EDIT_EXTENSION 1004
#define IDC_REMOVE_EXTENSION 1005
#define IDC_ABOUT 1006
#define IDC_LANGUAGE_LABEL 1007
#define IDC_LANGUAGE_LIST 1008

// Extension edit dialog (109).
#define IDC_ADD_DIRECTORY 1003
#define IDC_REMOVE_DIRECTORY 1004
#define IDC_EXTENSION_EDIT 1005
#define IDC_DIRECTORY_LIST 1007
#define IDC_FILE_TYPE_GROUP 1008
#define IDC_FILE_TYPE_ICON 1009
#define IDC_DIRECTORIES_LABEL 1010
