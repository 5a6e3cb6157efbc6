// Resource and control identifiers of brisvale.exe: the one list, used by the dialog template,
// the message map, the hint table and the layout. Plain defines, so the resource compiler and
// the platform-free code read it alike.
#pragma once

#define IDD_ABOUTBOX 100
#define IDS_ABOUTBOX 101
#define IDD_MAIN_DIALOG 102
#define IDP_SOCKETS_INIT_FAILED 103
#define IDR_MAINFRAME 128
#define IDB_LED_BLUE 130
#define IDB_LED_GREEN 131
#define IDB_LED_OFF 132
#define IDB_LED_AMBER 133
#define IDB_LED_RED 134
#define IDB_LED_YELLOW 135
#define IDB_BANNER 136

#define IDC_LIST_ETHERNET_NETWORK_ADAPTERS 1000
#define IDC_LIST_QEL_CONFIGURATION_DATA 1001
#define IDC_BUTTON_FIND_ETHERNET_NETWORK_ADAPTERS 1002
#define IDC_BUTTON_FIND_AND_CONFIGURE_QEL_DEVICES 1003
// The instance LEDs: IDC_STATIC_QEL1 + k is the LED of instance k + 1.
#define IDC_STATIC_QEL1 1004
#define IDC_STATIC_QEL2 1005
#define IDC_STATIC_QEL3 1006
#define IDC_STATIC_QEL4 1007
#define IDC_STATIC_QEL5 1008
#define IDC_STATIC_QEL6 1009
#define IDC_STATIC_QEL7 1010
#define IDC_STATIC_QEL8 1011
#define IDC_STATIC_QEL9 1012
#define IDC_STATIC_QEL10 1013
#define IDC_STATIC_SEARCH_LED 1014
#define IDC_COMBO_BROWSER 1015
#define IDC_BUTTON_CLOSE_SELECTED_ETHERNET_NETWORK_ADAPTER 1016
#define IDC_COMBO_CHOICE 1018

#define IDM_ABOUTBOX 0x0010
