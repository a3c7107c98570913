// The ranking test's sanitizer suppressions (Qt's own hand-overs only): the ranking's worker thread
// and its hand-over stay checked.
#include "support/TsanSuppressions.h"
