// A test program that leaves in the middle of its run with exit status 0, as code under test
// calling ExitProcess(0) would: the Wine test runner must report it as a failure.
#include <windows.h>

#include <gtest/gtest.h>

TEST(EarlyExit, LeavesWithStatusZero)
{
  ExitProcess(0);
}

TEST(EarlyExit, NeverReached)
{
  SUCCEED();
}

// Matched by a filter, listed in the report, and never run.
TEST(EarlyExit, DISABLED_NeverRuns)
{
  SUCCEED();
}
