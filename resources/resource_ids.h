// Resource and control ids of every dialog of the program.
#pragma once

// Program icon and logo.
#define IDI_KAVLO 500
#define IDR_LOGO_JPEG 600

// Dialogs.
#define IDD_MAIN 101
#define IDD_PROGRESS 102
#define IDD_ABOUT 103
#define IDD_SALES_INFO 105
#define IDD_WELCOME 106

// Progress dialog.
#define IDC_PROGRESS_TESTS 1000
#define IDC_PROGRESS_TEST_LABEL 1001
#define IDC_PROGRESS_CHECK_BAR 1002
#define IDC_PROGRESS_CHECK_LABEL 1003

// About box.
#define IDC_ABOUT_VERSION 1006
#define IDC_ABOUT_LEGAL 1007
#define IDC_ABOUT_PRODUCT 1008

// Main window.
#define IDC_MAIN_TITLE 1009
#define IDC_MAIN_ABOUT 1010
#define IDC_MAIN_EMAIL 1011
#define IDC_MAIN_PRINT 1012
#define IDC_MAIN_DETAILS 1013
#define IDC_MAIN_RESULTS 1014

// Sales Information dialog.
#define IDC_SALES_AGENT_NAME 1015
#define IDC_PROSPECT_NAME 1016

// Welcome dialog.
#define IDC_WELCOME_TEXT 1017
