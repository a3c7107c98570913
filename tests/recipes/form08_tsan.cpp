// The search window test's sanitizer suppressions (Qt's own hand-overs only): the search's worker
// thread and its hand-over stay checked.
#include "support/TsanSuppressions.h"
