// Cursors from a module's resources: loading one and making it the current cursor.
#pragma once

#include "platform/ui/ui_resources.h"

// Makes the image of resource id the current cursor (hot spot at its centre); false, with
// the current cursor left as it was, when the resource or the user interface is missing.
bool SetCursorFromResource(const ResourceTable* table, int id);
// Resource id of the cursor set last through SetCursorFromResource in this module (0: none),
// and how many times one was set.
int CurrentResourceCursor();
int ResourceCursorChanges();
