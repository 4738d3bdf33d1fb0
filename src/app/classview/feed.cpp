// The Feed's signals (the meta-object code is generated for this file's header).
#include "app/classview/feed.h"
