// A program killed while it runs (SIGKILL, a crash) leaves its lock file and, on Linux, its
// socket file behind; the next start in the folder takes both over.
#include "instance/single_instance.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <csignal>
#include <future>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

TEST(SingleInstanceKilled, NextStartTakesTheFolderOver)
{
    QTemporaryDir dir;
    int pipeFds[2];
    ASSERT_EQ(::pipe(pipeFds), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        ::close(pipeFds[0]);
        SingleInstance killed(dir.path());
        const char claimed = killed.claim() ? 'y' : 'n';
        if (::write(pipeFds[1], &claimed, 1) != 1)
            ::_exit(1);
        for (;;)
            ::pause();
    }
    ::close(pipeFds[1]);
    char claimed = 0;
    ASSERT_EQ(::read(pipeFds[0], &claimed, 1), 1);
    ::close(pipeFds[0]);
    EXPECT_EQ(claimed, 'y');
    {
        // While it runs (here: busy, never answering) a later start is told to end.
        SingleInstance whileRunning(dir.path());
        EXPECT_FALSE(whileRunning.claim());
    }
    ::kill(child, SIGKILL);
    int status = 0;
    ::waitpid(child, &status, 0);
    ASSERT_TRUE(WIFSIGNALED(status));

    SingleInstance next(dir.path());
    QSignalSpy asked(&next, &SingleInstance::activationRequested);
    ASSERT_TRUE(next.claim()) << "the killed program's lock blocks the next start";
    // It listens in place of the killed one: a start after it reaches it.
    std::future<bool> later = std::async(std::launch::async, [&dir] {
        SingleInstance third(dir.path());
        return third.claim();
    });
    EXPECT_TRUE(asked.wait(5000));
    EXPECT_FALSE(later.get());
}
