#include "platform/system/single_instance.h"
#include "tests/test_support.h"

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

using namespace platform;

TEST(SingleInstance, SecondHolderIsRefusedUntilTheFirstGoes)
{
    testsupport::TempDir dir;
    SingleInstanceLock first(dir.path());
    ASSERT_EQ(first.acquire("tavrin"), SingleInstanceLock::Result::Acquired);
    {
        SingleInstanceLock second(dir.path());
        EXPECT_EQ(second.acquire("tavrin"), SingleInstanceLock::Result::AlreadyRunning);
        SingleInstanceLock other(dir.path());
        EXPECT_EQ(other.acquire("another-program"), SingleInstanceLock::Result::Acquired);
    }
    first.release();
    SingleInstanceLock third(dir.path());
    EXPECT_EQ(third.acquire("tavrin"), SingleInstanceLock::Result::Acquired);
}

TEST(SingleInstance, LockHeldByAnotherProcessAndFreedWhenItDies)
{
    testsupport::TempDir dir;
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        SingleInstanceLock lock(dir.path());
        char ok = lock.acquire("tavrin") == SingleInstanceLock::Result::Acquired ? 'y' : 'n';
        (void)!::write(ready[1], &ok, 1);
        ::pause(); // killed by the parent; the lock dies with us
        ::_exit(0);
    }
    char ok = 0;
    ASSERT_EQ(::read(ready[0], &ok, 1), 1);
    ASSERT_EQ(ok, 'y');
    SingleInstanceLock mine(dir.path());
    EXPECT_EQ(mine.acquire("tavrin"), SingleInstanceLock::Result::AlreadyRunning);
    ::kill(child, SIGKILL);
    ::waitpid(child, nullptr, 0);
    EXPECT_EQ(mine.acquire("tavrin"), SingleInstanceLock::Result::Acquired);
    ::close(ready[0]);
    ::close(ready[1]);
}

TEST(SingleInstance, UnusableFolderFails)
{
    SingleInstanceLock lock("/nonexistent-folder-for-test/");
    EXPECT_EQ(lock.acquire("tavrin"), SingleInstanceLock::Result::Failed);
}
