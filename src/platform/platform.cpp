#include "platform/platform.h"

// The seams are interfaces only; this unit anchors their vtables.
