// The saved state's write in awkward places, on real files in a fresh working folder: a folder that takes
// no new file (made immutable with chattr as root, read-only otherwise), a directory where the temporary
// file goes, a symbolic link at the state's name, the old file's permissions, a temporary file left by a
// crash or planted as a link, and saves that cannot happen at all, which must say so in one line on
// standard output and leave the old text whole.
#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <climits>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>

#include "host/game.h"
#include "tests/common/scratch.h"

namespace {

int Mode(const std::string& path) {
    struct stat st;
    return stat(path.c_str(), &st) == 0 ? int(st.st_mode & 07777) : -1;
}

bool IsLink(const std::string& path) {
    struct stat st;
    return lstat(path.c_str(), &st) == 0 && S_ISLNK(st.st_mode);
}

bool IsFile(const std::string& path) {
    struct stat st;
    return lstat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

const char* const kFailLine = "Saved state not written";

class StateWrite : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        gc_init1();
        if (!game) game = new ZKGlfwGame();
    }
    void SetUp() override {
        char tmpl[] = "/tmp/zk_state_XXXXXX";
        ASSERT_NE(mkdtemp(tmpl), nullptr);
        dir = tmpl;
        ASSERT_EQ(getcwd(cwd, sizeof cwd), cwd);
        ASSERT_EQ(chdir(dir.c_str()), 0);
        zk_test::WriteFile(".zanthstate", "old state");
    }
    void TearDown() override {
        Shell("chattr -i . .zanthstate 2>/dev/null; chmod -R u+w .");
        ASSERT_EQ(chdir(cwd), 0);
        Shell("rm -rf '" + dir + "'");
    }
    static void Shell(const std::string& cmd) {
        if (std::system(cmd.c_str()) != 0) {}
    }

    // Makes `path` refuse new entries (a folder) or any write (a file): chattr +i as root, whom permissions
    // do not stop; the write bits otherwise. False when neither can be had here.
    static bool Lock(const std::string& path) {
        if (geteuid() == 0) return std::system(("chattr +i '" + path + "' 2>/dev/null").c_str()) == 0;
        return chmod(path.c_str(), Mode(path) & ~0222) == 0;
    }

    // Saves `text` with standard output caught; returns the result and sets `printed` to what was printed.
    int Save(const std::string& text, std::string* printed = nullptr) {
        std::fflush(stdout);
        const int saved = dup(1);
        FILE* out = std::tmpfile();
        dup2(fileno(out), 1);
        const int result = game->SaveState(String(text.c_str()));
        std::fflush(stdout);
        dup2(saved, 1);
        close(saved);
        std::rewind(out);
        std::string lines;
        for (int c; (c = std::fgetc(out)) != EOF;) lines += char(c);
        std::fclose(out);
        if (printed) *printed = lines;
        else EXPECT_EQ(lines, "") << "a save that works prints nothing";
        return result;
    }

    static ZKGlfwGame* game;
    std::string dir;
    char cwd[PATH_MAX];
};

ZKGlfwGame* StateWrite::game = nullptr;

// Every way into a save that must still happen, and what it must leave beside the new text.
TEST_F(StateWrite, SavesWhereTheTemporaryFileCannotGoThroughLinksAndKeepingPermissions) {
    struct Case {
        const char* what;
        std::function<bool()> setup;        // false: the case cannot be made here
        std::string file;                   // where the new text must land
        std::function<void()> check;        // what else must hold afterwards
    } const cases[] = {
        {"a folder that takes no new file", [] { return Lock("."); }, ".zanthstate", [] {}},
        {"a directory in the way of the temporary file",
         [] { return mkdir(".zanthstate.tmp", 0755) == 0 && (zk_test::WriteFile(".zanthstate.tmp/keep", "k"), true); },
         ".zanthstate", [] { EXPECT_EQ(zk_test::ReadFile(".zanthstate.tmp/keep"), "k"); }},
        {"a link to a file in another folder",
         [] {
             return mkdir("sub", 0755) == 0 && rename(".zanthstate", "sub/real") == 0 &&
                    symlink("sub/real", ".zanthstate") == 0;
         },
         "sub/real", [] {
             char target[64] = {};
             EXPECT_EQ(readlink(".zanthstate", target, sizeof target - 1), 8);
             EXPECT_STREQ(target, "sub/real");
         }},
        {"a link whose target is missing",
         [] { return unlink(".zanthstate") == 0 && symlink("elsewhere", ".zanthstate") == 0; }, "elsewhere", [] { EXPECT_TRUE(IsLink(".zanthstate")); }},
        {"a file only its owner may read", [] { return chmod(".zanthstate", 0600) == 0; }, ".zanthstate",
         [] { EXPECT_EQ(Mode(".zanthstate"), 0600); }},
        {"a file readable by everyone", [] { return chmod(".zanthstate", 0644) == 0; }, ".zanthstate",
         [] { EXPECT_EQ(Mode(".zanthstate"), 0644); }},
        {"a temporary file planted as a link",
         [] { return (zk_test::WriteFile("victim", "v"), symlink("victim", ".zanthstate.tmp") == 0); }, ".zanthstate", [] { EXPECT_EQ(zk_test::ReadFile("victim"), "v"); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TearDown();
        SetUp();
        if (!c.setup()) {
            ADD_FAILURE() << "could not be set up here (chattr needs an ext4-like file system as root)";
            continue;
        }
        // A longer text, then a shorter one: the in-place write must not keep the longer text's tail.
        for (const std::string text : {"a new state much longer than the old one", "short"}) {
            EXPECT_EQ(Save(text), 0) << text;
            EXPECT_EQ(zk_test::ReadFile(c.file), text);
        }
        EXPECT_FALSE(IsFile(c.file + ".tmp") || IsLink(c.file + ".tmp")) << "no temporary file left";
        c.check();
    }
}

TEST_F(StateWrite, ATemporaryFileLeftByACrashIsRemovedOnLoading) {
    zk_test::WriteFile(".zanthstate.tmp", "half a sta");
    EXPECT_EQ(game->LoadState(), String("old state"));
    EXPECT_EQ(Mode(".zanthstate.tmp"), -1);
}

// A save that cannot happen prints one line saying so and leaves the old text as it was: nothing may be
// written at all, or the disk is full (a file-size limit) where only an in-place write was possible.
TEST_F(StateWrite, ASaveThatFailsSaysSoInOneLineAndKeepsTheOldText) {
    ASSERT_TRUE(Lock(".") && Lock(".zanthstate")) << "could not make the folder and the file unwritable here";
    std::string printed;
    EXPECT_EQ(Save("new state", &printed), -1);
    EXPECT_EQ(printed.find(kFailLine), 0u) << printed;
    EXPECT_EQ(printed.find('\n'), printed.size() - 1) << "one line: " << printed;
    EXPECT_EQ(zk_test::ReadFile(".zanthstate"), "old state");

    Shell("chattr -i .zanthstate 2>/dev/null; chmod u+w .zanthstate");
    std::fflush(stdout);
    const pid_t child = fork();
    if (child == 0) {
        signal(SIGXFSZ, SIG_IGN);
        struct rlimit limit = {100, 100};   // room for the printed line, not for the text
        setrlimit(RLIMIT_FSIZE, &limit);
        std::string out;
        const int result = Save(std::string(200, '7'), &out);
        _exit(result == -2 && out.find(kFailLine) == 0 ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "a full disk reports -2 and says so";
    EXPECT_EQ(zk_test::ReadFile(".zanthstate"), "old state");
}

}  // namespace
