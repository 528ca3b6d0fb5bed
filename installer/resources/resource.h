// Resource and control ids of WENDSET.EXE, in blocks that follow the templates.
#pragma once

// Templates, icons and pictures
#define IDD_WELCOME 102
#define IDI_WENDSET 128
#define IDB_WELCOME 129
#define IDD_DESTINATION 130
#define IDD_COPY_PROGRESS 131
#define IDD_FINISH 132
#define IDB_FINISH 133
#define IDI_WENDSET_SMALL 134

// Template 102
#define IDC_WELCOME_PICTURE 1000

// Template 130
#define IDC_DESTINATION 1001
#define IDC_DESKTOP_SHORTCUT 1004
#define IDC_START_AT_BOOT 1005

// Template 131
#define IDC_SHOWN_SOURCE 1003
#define IDC_SHOWN_DESTINATION 1004
