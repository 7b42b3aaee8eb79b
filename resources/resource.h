#pragma once
// Resource, command and control ids, shared by the .rc files (windres, rc) and the C++ code.
// Plain numeric #defines only: the resource compilers understand nothing else.

// Menus
#define IDM_MAIN_MENU 5
#define IDM_HELP_MENU 186

// Main menu commands
#define IDM_ABOUT 40007
#define IDM_START_STOP 40008
#define IDM_SETTINGS 40009
#define IDM_SWITCH_LANGUAGE 40017
#define IDM_HELP 40021
#define IDM_NEW_USER 40029
#define IDM_PROGRESS 40031
#define IDM_CHART 40032
#define IDM_ALPHABET 40033
#define IDM_KEYBOARD 40042
// Switches the interface to the next language of the text tables; its text names that language.
#define IDM_INTERFACE_LANGUAGE 40043
#define IDM_COURSE 40040
#define IDM_WEAK_KEYS 40041
#define IDM_COURSE_WINDOW 40047
// The separator closing the user items; user n has the command IDM_USER_BASE + n.
#define IDM_USER_SEPARATOR 40200
#define IDM_USER_BASE 40200

// Help dialog menu: each command shows one page. The settings page shares its number with
// the main menu's settings command; inside the help dialog it only switches the page.
#define IDM_HELP_PAGE_MAIN 40034
#define IDM_HELP_PAGE_SETTINGS 40009
#define IDM_HELP_PAGE_HOT_KEYS 40035
#define IDM_HELP_PAGE_MISC 40036

// Dialogs
#define IDD_ABOUT 105
#define IDD_SETTINGS 110
#define IDD_HELP 149
#define IDD_SETTINGS_GENERAL 153
#define IDD_SETTINGS_TEXT 154
#define IDD_NEW_USER 159
#define IDD_IMPORT 185

// Help pages: resources of the custom type "TEXT", NUL-terminated CP1251 with CR LF.
#define IDR_HELP_PAGE_MAIN 184
#define IDR_HELP_PAGE_SETTINGS 187
#define IDR_HELP_PAGE_HOT_KEYS 188
#define IDR_HELP_PAGE_MISC 189

// Bitmaps. The background shown for the picture option p is bitmap IDB_PICTURE_BASE + p.
#define IDB_ABOUT_PORTRAIT 114
#define IDB_ABOUT_KEYBOARD 137
#define IDB_PICTURE_BASE 139
#define IDB_BACKGROUND 140

// Icons
#define IDI_HAND_ON_KEY 123
#define IDI_OPEN_BOOK 125
#define IDI_WOMAN 126
#define IDI_MAN 127
// The same four drawn at 40, 48 and 64 pixels, for dialogs on screens scaled to 125 % and more.
#define IDI_HAND_ON_KEY_LARGE 223
#define IDI_OPEN_BOOK_LARGE 225
#define IDI_WOMAN_LARGE 226
#define IDI_MAN_LARGE 227

// String table
#define IDS_LANGUAGE_LOCKED 5

// Controls of the help, about and new-user dialogs
#define IDC_HELP_TEXT 9000
#define IDC_ABOUT_TOTALS 1106
#define IDC_NEW_USER_NAME 1090

// Controls of the settings dialog: the frame (110), page "Общие" (153), page "Текст" (154)
#define IDC_SETTINGS_APPLY 3
#define IDC_SETTINGS_TABS 1083
#define IDC_PICTURE_DESKTOP 3000
#define IDC_PICTURE_MOUNTAINS 3001
#define IDC_PICTURE_GRASS 3002
#define IDC_TIMER_MINUTES 8000
#define IDC_TIMER_SECONDS 8001
#define IDC_BACKGROUND_SOUND 1084
#define IDC_TIMER_ENABLED 1089
#define IDC_ALLOW_CAPITALS 1103
#define IDC_UNIFORM_LETTERS 1104
#define IDC_ALPHABET 1105
#define IDC_LANGUAGE_ENGLISH 2000
#define IDC_LANGUAGE_RUSSIAN 2001
#define IDC_IMPORT_SENTENCES 1100
#define IDC_MIN_LENGTH 1000
#define IDC_MAX_LENGTH 1001
#define IDC_SENTENCE_COUNT 1002
#define IDC_SENTENCE_POSITION 1003

// Controls of the sentence import dialog (185). Its language static shares 1100 with the
// import button of page "Текст"; they never stand in one dialog.
#define IDC_IMPORT_ADD 1091
#define IDC_IMPORT_BROWSE 1092
#define IDC_IMPORT_PATH 1093
#define IDC_IMPORT_PROGRESS 1094
#define IDC_IMPORT_MAX_LENGTH 1095
#define IDC_IMPORT_MIN_LENGTH 1096
#define IDC_IMPORT_FOUND 1097
#define IDC_IMPORT_TOTAL 1098
#define IDC_IMPORT_ENCODING 1099
#define IDC_IMPORT_LANGUAGE 1100
#define IDC_IMPORT_CAPITAL_RUN 1101

// Controls no code addresses
#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif
