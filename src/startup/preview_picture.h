// The resource id of the preview picture (assets/preview.jpg, stored as raw
// data).  Plain preprocessor text: the resource script includes it too.
#pragma once

#define MIRANE_PREVIEW_PICTURE 201
