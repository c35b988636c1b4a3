// Runs the end-to-end tests. Started through `explorer /desktop=...`, whose
// exit code is not the driver's, so the result is also written to the file
// named by KT_EXIT_FILE for the wrapper script to return.
#include <gtest/gtest.h>

#include "harness.h"

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    return kt::ReportExitCode(RUN_ALL_TESTS());
}
