#pragma once

// Icons 100-199, bitmaps 200-299. The tiles' icons and the tool buttons' glyphs go by name
// (resources/Facts.txt).
#define IDI_APPLICATION_ICON 100
#define IDB_BANNER 200
#define IDB_BANNER_2X 201
