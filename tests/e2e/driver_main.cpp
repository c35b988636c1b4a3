// Runs the end-to-end tests. Started through `explorer /desktop=...`, whose
// exit code is not the driver's, so the result is also written to the file
// named by KT_EXIT_FILE for the wrapper script to return.
#include <windows.h>

#include <cstdio>

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    const int result = RUN_ALL_TESTS();
    char path[MAX_PATH];
    if (GetEnvironmentVariableA("KT_EXIT_FILE", path, MAX_PATH)) {
        if (FILE* f = std::fopen(path, "w")) {
            std::fprintf(f, "%d\n", result);
            std::fclose(f);
        }
    }
    return result;
}
