// The build under test comes as --target=linux|win64 and --build=<directory>, the release packages
// as --packages=<directory>; the tests read them, and the programs they start inherit them, through
// the environment.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <cstring>

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  for (int i = 1; i < argc; ++i) {
    if (strncmp(argv[i], "--target=", 9) == 0) setenv("KESTROVA_TARGET", argv[i] + 9, 1);
    if (strncmp(argv[i], "--build=", 8) == 0) setenv("KESTROVA_BUILD", argv[i] + 8, 1);
    if (strncmp(argv[i], "--packages=", 11) == 0) setenv("KESTROVA_PACKAGES", argv[i] + 11, 1);
  }
  return RUN_ALL_TESTS();
}
