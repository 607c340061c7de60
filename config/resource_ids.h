/* Every id that the resource scripts (res/) and the code share: the tray
   icon, the menu commands, the page templates and their controls. Plain
   macros, so that the resource compiler reads them too; change an id here
   and both sides follow. */
#ifndef QUELLPAD_RESOURCE_IDS_H
#define QUELLPAD_RESOURCE_IDS_H

/* The icon group: one 32 x 32 and one 16 x 16 image, 16 colours each. */
#define IDI_QUELLPAD 1000

/* The tray icon's id, as the shell tells it apart from other icons. */
#define TRAY_ICON_ID 2000

/* Menu commands: About.../Exit on the right button, Load .../Save as .../
   Config ... on the left. */
#define IDM_EXIT 100
#define IDM_ABOUT 101
#define IDM_CONFIG 102
#define IDM_STARTWITHWINDOWS 103
#define IDM_LOAD 1000
#define IDM_SAVEAS 1001

/* The editor's page templates, by name. */
#define IDD_COMMON_PAGE "CONFIG1"
#define IDD_ACTION_PAGE "CONFIG2"
#define IDD_INFO_PAGE "CONFIG3"
#define IDD_CONTROLLERS_PAGE "CONFIG4"
/* The dialog an action page opens for its slot's layer key and turbo. */
#define IDD_BEHAVIOUR "BEHAVIOUR"

/* Controls of the common page. */
#define IDC_XSTEP_SPIN 100
#define IDC_YSTEP_SPIN 101
#define IDC_XSTEP_VALUE 102
#define IDC_YSTEP_VALUE 103
#define IDC_CONTINUOUS 104
#define IDC_SENSITIVITY_SPIN 105
#define IDC_DELAY_SPIN 106
#define IDC_DELAY_VALUE 107
#define IDC_SENSITIVITY_VALUE 110
#define IDC_DYNAMIC 111
#define IDC_TOGGLE_LOCK 112
#define IDC_DIGITAL 113
#define IDC_DOS_MODE 114

/* Controls of an action page. */
#define IDC_ON 200
#define IDC_PORT1 201
#define IDC_PORT2 202
#define IDC_SHIFT 203
#define IDC_CONTROL 204
#define IDC_ALT 205
#define IDC_SEND_KEY 206
#define IDC_KEY_LIST 207
#define IDC_SEND_TEXT 208
#define IDC_TEXT 209
#define IDC_SEND_MOUSE 210
#define IDC_MOUSE_LIST 211
#define IDC_LAYER 212      /* which layer's binding the pages show */
#define IDC_BEHAVIOUR 213  /* opens the layer and turbo dialog */

/* Controls of the layer and turbo dialog. */
#define IDC_LAYER_NONE 220
#define IDC_LAYER_WHILE_HELD 221
#define IDC_LAYER_TOGGLE 222
#define IDC_LAYER_TARGET 223
#define IDC_TURBO 224

/* Controls of the Controllers page. */
#define IDC_PORT1_SOURCE 300
#define IDC_PORT2_SOURCE 301
#define IDC_XINPUT_NOTE 302

#endif
