// The clock face test's sanitizer suppressions (Qt's own hand-overs only): the face's threads, its
// stop flag and its hand-over of the finished pictures stay checked.
#include "support/TsanSuppressions.h"
