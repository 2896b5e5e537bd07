// Resource numbers of the image button's state pictures.  Plain #defines so
// that the resource script can include this header too.
#pragma once

#define MIRANE_BMP_NORMAL 101
#define MIRANE_BMP_HIGHLIGHT 102
#define MIRANE_BMP_PRESSED 103
#define MIRANE_BMP_SELECTED 104
#define MIRANE_BMP_HIGHLIGHTSELECT 105
#define MIRANE_BMP_DISABLE 106
