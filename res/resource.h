// Resource ids shared by the resource scripts and the code.
#pragma once

// The application icon: the lowest id, so the shell shows it for the program file.
#define IDI_APPLICATION_ICON 1
// The tray icon shown while files are converted.
#define IDI_BUSY 130

// The settings dialog and its controls.
#define IDD_SETTINGS 127
#define IDC_OUTPUT_PATH 1000
#define IDC_OUTPUT_TO_FOLDER 1001
#define IDC_OUTPUT_IN_PLACE 1002
#define IDC_BROWSE 1003
#define IDC_SHOW_AT_STARTUP 1024
#define IDC_FOLDER_WARNING 1028
#define IDC_OUTPUT_GROUP 1030
#define IDC_KEEP_IN_RECYCLE_BIN 1031
#define IDC_CONVERT_BOTH_WAYS 1032
#define IDC_CONVERT_TO_SJIS 1033
#define IDC_CONVERT_TO_EUC 1034
#define IDC_CONVERSION_GROUP 1035
#define IDC_OTHER_GROUP 1036
#define IDC_CONVERT_TO_UTF8 1037
#define IDC_UTF8_BYTE_ORDER_MARK 1038

// The undetermined-files dialog, its list and counter, its menu bar and the
// rows' context menu.
#define IDD_UNDETERMINED_FILES 129
#define IDC_FILE_LIST 1025
#define IDC_FILE_COUNT 1026
#define IDR_LIST_MENU 125
#define IDR_ROW_MENU 126
// Commands of those menus. The four actions share their ids between the two.
#define IDM_MARK_EUC_JP 40003
#define IDM_MARK_SHIFT_JIS 40004
#define IDM_MARK_COPY 40005
#define IDM_ABOUT 40006
#define IDM_MARK_IGNORE 40009
#define IDM_OPEN 40011
#define IDM_OPEN_FOLDER 40012

// The list of files that could not be written, its retry button and the
// rows' context menu (open and open-folder only). The list and counter share
// their ids with the review's, so the two dialogs share their list code.
#define IDD_FAILED_FILES 131
#define IDR_FAILED_ROW_MENU 132
#define IDC_RETRY 1040
