#pragma once

typedef struct _RsvgHandle RsvgHandle;

// librsvg as the yardstick: draws the document fitted into a transparent image of size × size pixels through its
// C API, then lets go of the handle. False for a null handle or a failed drawing.
bool drawLibrsvgHandle(RsvgHandle* handle, int size);
