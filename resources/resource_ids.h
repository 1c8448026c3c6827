/* Identifiers shared by the resource script and the code. Plain #defines,
 * because windres reads this file too. */
#ifndef GW_RESOURCE_IDS_H
#define GW_RESOURCE_IDS_H

#define IDD_MAIN 1000

#define IDC_BUILD 1
#define IDC_CANCEL 2
#define IDC_HELP_BUTTON 9
#define IDC_TEST 24

#define IDC_MESSAGE_TEXT 101
#define IDC_YES 6
#define IDC_NO 7

#define IDS_PALETTE_FIRST 1600
#define IDS_PALETTE_LAST 1608

#endif
