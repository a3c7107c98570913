// ThreadSanitizer reads these when the test runs in a thread-sanitized build. Qt is not
// instrumented, so the hand-shake between QtTest and its watchdog thread (a QWaitCondition and
// the watchdog's deletion at exit) is invisible to the sanitizer and would be reported as races.
// The timer's own synchronisation is std::mutex and std::condition_variable in our code, which
// stays fully checked.
extern "C" const char* __tsan_default_suppressions();
extern "C" const char* __tsan_default_suppressions() {
    return "race:QWaitCondition\n"
           "called_from_lib:libQt6Test.so.6\n";
}
