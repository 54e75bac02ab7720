#pragma once

// Icons 100-199, bitmaps 200-299. The tiles' icons go by name (TileIcons.rc).
#define IDI_APPLICATION_ICON 100
#define IDI_TOOL_MAIL 120
#define IDI_TOOL_HELP 121
#define IDI_TOOL_EXIT 122
#define IDB_BANNER 200
#define IDB_BANNER_2X 201
