// FILETIME and the program's WallTime (Windows backend only). FILETIME counts
// 100-ns ticks since 1601-01-01 UTC; WallTime counts from 1970-01-01 UTC.
#pragma once

#include "platform/clock.h"
#include "platform/windows/unique_handle.h"

namespace tavlix::platform {

WallTime FromFileTime(const FILETIME& time);
FILETIME ToFileTime(WallTime time);
// The creation time, or the last write where the file system records no
// creation (it reports zero then).
WallTime CreationOrWriteTime(const FILETIME& created, const FILETIME& written);

}  // namespace tavlix::platform
