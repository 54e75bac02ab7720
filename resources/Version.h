#pragma once

// The one place the product version is written; the version resource is built from it.
#define KELVANE_VERSION_MAJOR 2
#define KELVANE_VERSION_MINOR 6
#define KELVANE_VERSION_NUMBERS 2, 6, 0, 0
#define KELVANE_VERSION_TEXT "2.6.0.0"
