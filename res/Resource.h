// Resource identifiers of the tool. Dialogs are separate windows, so a control
// id may repeat between them (1004, 1014).
#ifndef VANTREL_RES_RESOURCE_H
#define VANTREL_RES_RESOURCE_H

#define IDD_ABOUTBOX 100
#define IDS_ABOUTBOX 101
#define IDD_CONFIGTOOL_DIALOG 102
#define IDD_ETHERNET_CONFIG 103
#define IDR_MAINFRAME 128
#define IDD_ADVANCED_SETTINGS 134

#define IDM_ABOUTBOX 0x0010

// Main dialog (102)
#define IDC_SCAN 1000
#define IDC_ADVANCED 1001
#define IDC_DEVICE_LIST 1002
#define IDC_WINK 1003
#define IDC_FILE 1004

// Configure dialog (103)
#define IDC_IP_ADDRESS 1004
#define IDC_SUBNET_MASK 1005
#define IDC_GATEWAY 1006
#define IDC_PRIMARY_DNS 1007
#define IDC_DHCP_ON 1008
#define IDC_DHCP_OFF 1009
#define IDC_PASSWORD 1010
#define IDC_NEW_PASSWORD 1011
#define IDC_DHCP_GROUP 1012
#define IDC_CHANGE_PASSWORD 1013
#define IDC_SECONDARY_DNS 1014
#define IDC_HOSTNAME 1015

// About box (100)
#define IDC_VERSION_TEXT 1014
#define IDC_LEGAL_TEXT 1023

// Advanced Settings (134)
#define IDC_ENABLE_DHCP_SERVER 1019

#endif  // VANTREL_RES_RESOURCE_H
