#pragma once

// AddressSanitizer reads these options when a test runs in an address-sanitized build; include
// this header in exactly one source file of a test that connects through unixODBC. Its driver
// manager (2.3.11) copies the connection string that Qt passes SQLDriverConnectW, with its
// length, into a buffer without the terminating zero and runs strlen over it: a read past its
// own allocation that no caller can avoid. The suppressions file lets through only the checks of
// functions that libodbc itself calls; our code, Qt's and the driver's stay checked.
extern "C" const char* __asan_default_options();
extern "C" const char* __asan_default_options() {
    return "suppressions=" TAMU_ODBC_ASAN_SUPPRESSIONS;
}
