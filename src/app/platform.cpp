#include "app/platform.h"

// The seams are interfaces only; this unit anchors their vtables.
