#pragma once

// ThreadSanitizer reads these when a test runs in a thread-sanitized build; include this header in
// exactly one source file of the test. Qt is not instrumented, so its own hand-overs are invisible
// to the sanitizer and would be reported as races: QtTest and its watchdog thread (a
// QWaitCondition and the watchdog's deletion at exit), and the tasks of Qt's own thread pool that
// Qt Gui's painting starts and a pooled thread frees.
// Our own synchronisation is std::mutex, std::condition_variable and std::thread in our code,
// which stays fully checked.
extern "C" const char* __tsan_default_suppressions();
extern "C" const char* __tsan_default_suppressions() {
    return "race:QWaitCondition\n"
           "called_from_lib:libQt6Test.so.6\n"
           "called_from_lib:libQt6Gui.so.6\n"
           "called_from_lib:libQt6Core.so.6\n";
}
