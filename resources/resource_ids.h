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

/* The rest of the main dialog. */
#define IDC_DELAY 11
#define IDC_SAMPLE 16
#define IDC_SAMPLE_SIZE 17
#define IDC_ANIMATED 22
#define IDC_PAUSE 23
#define IDC_OPEN_SAVE 25
/* The "Open/Save" pop-up menu's commands */
#define IDM_DOCUMENT_OPEN 40001
#define IDM_DOCUMENT_SAVE 40002
#define IDM_DOCUMENT_SAVE_AS 40003
#define IDC_ANTIALIAS 51
#define IDC_TEXT 52
#define IDC_FONT 53
#define IDC_BOLD 54
#define IDC_ITALIC 55
#define IDC_FONT_SIZE 57
#define IDC_PAD 59
#define IDC_CHARACTER_SPACE 61
#define IDC_FIT_SAMPLE 64
#define IDC_SPIN_PARTNER 10000 /* a spin field's up-down is its id + this */

/* Effect parameter pages: 7400 + the effect's key number. */
#define IDD_EFFECT_PAGE_FIRST 7400
#define IDD_EFFECT_PAGE_LAST 7420

#define IDC_MESSAGE_TEXT 101
#define IDC_ANSWER_YES 6
#define IDC_ANSWER_NO 7

/* The "Gradient Library" dialog (template "FountainLibrary") and its cursor. */
#define IDC_FOUNTAIN_LIBRARY_LIST 101
#define IDC_FOUNTAIN_LIBRARY_DELETE 102
#define IDC_FOUNTAIN_DRAG_CURSOR 9001

#define IDS_PALETTE_FIRST 1600
#define IDS_PALETTE_LAST 1608

/* The "Texture" dialog. Parameter fields are 502..532; each field's label
 * is its id + 100, the layer grid's row labels 650..654. */
#define IDD_TEXTURE 7430
#define IDC_TEXTURE_PREVIEW 101
#define IDC_TEXTURE_ITEMS 102
#define IDC_TEXTURE_GROUPS 103
#define IDC_TEXTURE_ADD 104
#define IDC_TEXTURE_REMOVE 105
#define IDC_TEXTURE_GENERATOR 106
#define IDC_TEXTURE_FIELD_FIRST 502
#define IDC_TEXTURE_FIELD_LAST 532
#define IDC_TEXTURE_LABEL_OFFSET 100
#define IDC_TEXTURE_ROW_LABEL 650

/* The "Matrix" (tile) dialog. */
#define IDD_MATRIX 7431
#define IDC_MATRIX_PREVIEW 101
#define IDC_MATRIX_TILES 102
#define IDC_MATRIX_ADD 103
#define IDC_MATRIX_REMOVE 104
#define IDC_MATRIX_SIZE 105
#define IDC_MATRIX_GROUPS 108
#define IDM_MATRIX_DELETE 40101 /* the tile menu's "&Delete" */

/* A one-line name asked for by the group dialogs. */
#define IDD_NAME_BOX 7432
#define IDC_NAME_TEXT 101

#endif
