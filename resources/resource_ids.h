/* Identifiers shared by the resource script and the code. Plain #defines,
 * because windres reads this file too. */
#ifndef GW_RESOURCE_IDS_H
#define GW_RESOURCE_IDS_H

#define IDD_MAIN 1000

#define IDC_BUILD 1
#define IDC_CANCEL 2
#define IDC_HELP_BUTTON 9
#define IDC_TEST 24

/* Main dialog controls the build reads. */
#define IDC_TRUE_COLOUR 10
#define IDC_PALETTE 13
#define IDC_CUSTOM_PALETTE 14
#define IDC_DITHER 15
#define IDC_SUPERCOMPRESS 19
#define IDC_ADD_COMMENT 20
#define IDC_MASK_BACKGROUND 21
#define IDC_TRANSPARENT 35
#define IDC_EFFECT 58
#define IDC_ALPHA_TRANSPARENCY 62
#define IDC_ALPHA_BACKGROUND 63

#define IDC_MESSAGE_TEXT 101
#define IDC_YES 6
#define IDC_NO 7

#define IDS_PALETTE_FIRST 1600
#define IDS_PALETTE_LAST 1608

#endif
